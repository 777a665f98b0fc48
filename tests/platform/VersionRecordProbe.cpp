// A program that carries a version record (corvid_version_record) and does
// nothing else: VersionRecordTest and the version check tests read its file.
int main()
{
    return 0;
}
