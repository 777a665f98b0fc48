#include "app/main/CommandLineHelp.h"

#include "app/common/ProgramInfo.h"
#include "support/csFiles.h"
#include "support/csText.h"

namespace quillon {

namespace {

const char Usage[] = R"(Usage: quillon [PICTURE]

Writes photo posts for Tumblr's post-by-e-mail gateway as .EML files.

  PICTURE        the picture to start with: the whole command line, trimmed,
                 when it names an existing file
  -h, --help     show this help and exit
  -v, --version  show the version and exit

Qt's own options (-platform, -style, -display, ...) are taken as well.
)";

void write(std::FILE *out, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
}

} // namespace

std::optional<int> answerCommandLineRequest(const QStringList &arguments, std::FILE *out)
{
    if (arguments.size() != 1 || cs::csIsFileExist(arguments.first()))
        return std::nullopt;
    const QString &request = arguments.first();
    if (request == QLatin1String("--help") || request == QLatin1String("-h")) {
        write(out, QString::fromUtf8(Usage));
        return 0;
    }
    if (request == QLatin1String("--version") || request == QLatin1String("-v")) {
        write(out,
              QStringLiteral("quillon %1\n")
                  .arg(cs::csFormatVersion(ProgramInfo::Major, ProgramInfo::Minor, ProgramInfo::Revision)));
        return 0;
    }
    return std::nullopt;
}

} // namespace quillon
