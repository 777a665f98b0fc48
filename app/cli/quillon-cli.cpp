// quillon-cli: Quillon's Create without a window. Writes one post mail
// (.EML) per picture with the same composer, prints the path of each file
// written, reports each failure on standard error and exits with 1 when
// any picture failed (2 for a wrong command line). With --folder it takes
// the pictures batch mode would list in that folder, in the same order. With
// --send it hands each message it wrote to the mail transfer agent and
// exits with 3 when a hand-over failed (the message stays on disk). It
// keeps no history and changes no setting.
#include "app/batch/modPictureFiles.h"
#include "app/cli/MailTransferAgent.h"
#include "app/cli/StreamFailureReporter.h"
#include "app/common/ProgramInfo.h"
#include "app/common/StringTextHolder.h"
#include "app/mail/modMail.h"
#include "platform/RuntimeError.h"
#include "support/csFiles.h"
#include "support/csText.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

constexpr int ExitPictureFailed = 1;
constexpr int ExitUsage = 2;
constexpr int ExitNotSent = 3;

struct Options {
    QString from;
    QString to;
    QString caption;
    QString out;
    QStringList pictures;
};

int usageError(const QCommandLineParser &parser, const QString &text)
{
    std::fprintf(stderr, "quillon-cli: %s\n\n%s", qPrintable(text), qPrintable(parser.helpText()));
    return ExitUsage;
}

void printPath(const QString &path)
{
    const QByteArray line = QFile::encodeName(path) + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillon-cli"));
    QCoreApplication::setApplicationVersion(
        cs::csFormatVersion(quillon::ProgramInfo::Major, quillon::ProgramInfo::Minor, quillon::ProgramInfo::Revision));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes one post mail (.EML) per picture for the Tumblr post-by-e-mail gateway."));
    // Not addHelpOption(): it also offers --help-all, for Qt options this
    // program does not have.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption from(QStringLiteral("from"), QStringLiteral("Sender address."), QStringLiteral("ADDRESS"));
    const QCommandLineOption to(QStringLiteral("to"), QStringLiteral("The blog's posting address."),
                                QStringLiteral("ADDRESS"));
    const QCommandLineOption caption(QStringLiteral("caption"), QStringLiteral("The post's caption (the subject)."),
                                     QStringLiteral("TEXT"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Folder the .EML files are written to."),
                                 QStringLiteral("FOLDER"));
    const QCommandLineOption folder(QStringLiteral("folder"),
                                    QStringLiteral("Post every picture of FOLDER, as batch mode lists them."),
                                    QStringLiteral("FOLDER"));
    const QCommandLineOption send(
        QStringLiteral("send"),
        QStringLiteral("Hand each message written to the mail transfer agent: $SENDMAIL, else sendmail on PATH, else "
                       "/usr/sbin/sendmail, run as \"sendmail -t -oi\" with the message on standard input. The "
                       ".EML file is kept either way; a failed hand-over is reported and gives exit status 3."));
    parser.addOptions({from, to, caption, out, folder, send});
    parser.addPositionalArgument(QStringLiteral("PICTURE"), QStringLiteral("Pictures to post, one message each."),
                                 QStringLiteral("PICTURE..."));

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser, parser.errorText());
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();

    Options options;
    for (const auto &[option, value] :
         {std::pair(&from, &options.from), std::pair(&to, &options.to), std::pair(&out, &options.out)}) {
        if (!parser.isSet(*option))
            return usageError(parser,
                              QLatin1String("--") + option->names().constFirst() + QLatin1String(" is missing."));
        *value = parser.value(*option);
    }
    options.caption = parser.value(caption);
    options.pictures = parser.positionalArguments();
    if (options.pictures.isEmpty() && !parser.isSet(folder))
        return usageError(parser, QStringLiteral("no picture given."));

    quillon::StreamFailureReporter reporter;
    if (parser.isSet(folder)) {
        const QString pictureFolder = cs::csTrimEx(parser.value(folder));
        try {
            const QStringList names = quillon::modPictureFiles::ListPictureFiles(pictureFolder);
            for (const QString &name : names)
                options.pictures << cs::csBuildFileName(pictureFolder, name);
        } catch (const tessera::RuntimeError &error) {
            reporter.showError(error, pictureFolder + QLatin1String("\r\n\r\nCat't get picture files list."));
            return ExitPictureFailed;
        }
    }

    quillon::StringTextHolder outFolder(options.out);
    bool anyFailed = false;
    bool anyNotSent = false;
    for (const QString &picture : std::as_const(options.pictures)) {
        QString written;
        if (!quillon::modMail::MakePostMail(outFolder, options.from, options.to, options.caption, picture, reporter,
                                            &written)) {
            anyFailed = true;
            continue;
        }
        printPath(written);
        if (parser.isSet(send)) {
            const QString reason = quillon::MailTransferAgent::HandOver(written);
            if (!reason.isEmpty()) {
                std::fprintf(stderr, "quillon-cli: %s: not sent: %s\n", qPrintable(written), qPrintable(reason));
                anyNotSent = true;
            }
        }
    }
    return anyFailed ? ExitPictureFailed : anyNotSent ? ExitNotSent : 0;
}
