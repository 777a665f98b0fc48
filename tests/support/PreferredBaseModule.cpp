// A shared object that asks to be loaded at 0x10000000 (linked with
// -Ttext-segment), for the tests of preferred addresses and of calls through
// a resolved symbol.
extern "C" __attribute__((visibility("default"))) int corvid_sum4(int a, int b, int c, int d)
{
    return a + b * 10 + c * 100 + d * 1000;
}
