// crvClipboard against a real X server: our clipboard peer
// (tessera_clipboard_peer, on Qt's xcb platform) and xclip, another program,
// exchange text, HTML and file lists through an Xvfb server that this test
// starts on a free display and stops again.
#include "tests/common/LineProcess.h"
#include "tests/common/TestSandbox.h"
#include "tests/common/XServer.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <QUrl>

#include <functional>
#include <gtest/gtest.h>

using corvid::test::LineProcess;
using corvid::test::XServer;

namespace {

// xclip -o: what another program reads from the clipboard as \a target.
QByteArray paste(const XServer &x, const QString &target)
{
    QByteArray data;
    x.run(
        QStringLiteral("xclip"),
        {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o"), QStringLiteral("-t"), target},
        &data);
    return data;
}

// xclip -i: another program takes the clipboard with \a data as \a target
// and keeps serving it in the background until it loses the clipboard or
// the server goes.
void copy(const XServer &x, const QString &target, const QByteArray &data)
{
    QProcess xclip;
    xclip.setProcessEnvironment(x.environment());
    xclip.setStandardOutputFile(QProcess::nullDevice());
    xclip.setStandardErrorFile(QProcess::nullDevice());
    xclip.start(QStringLiteral("xclip"),
                {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i"), QStringLiteral("-t"),
                 target});
    xclip.write(data);
    xclip.closeWriteChannel();
    xclip.waitForFinished(10000);
}

class Peer
{
public:
    bool start(const QProcessEnvironment &env)
    {
        return m_process.start(corvid::test::builtProgram(QStringLiteral("tessera_clipboard_peer")), {}, env)
            && m_process.readLine() == "ready";
    }

    QString ask(const QByteArray &command, const QStringList &arguments = {})
    {
        QByteArray line = command;
        for (const QString &argument : arguments)
            line += ' ' + argument.toUtf8().toPercentEncoding();
        const QByteArray reply = m_process.ask(line);
        if (reply.isNull())
            return QStringLiteral("<no answer>");
        return QString::fromUtf8(QByteArray::fromPercentEncoding(reply));
    }

private:
    LineProcess m_process;
};

// The clipboard changes hands asynchronously: ask again until the answer
// comes or five seconds pass, and return the last answer.
QString eventually(const std::function<QString()> &ask, const QString &expected)
{
    QDeadlineTimer deadline(5000);
    QString last = ask();
    while (last != expected && !deadline.hasExpired()) {
        QThread::msleep(50);
        last = ask();
    }
    return last;
}

QStringList localFiles(const QByteArray &uriList)
{
    QStringList files;
    for (const QByteArray &line : uriList.split('\n')) {
        if (!line.trimmed().isEmpty())
            files.append(QUrl(QString::fromUtf8(line.trimmed())).toLocalFile());
    }
    return files;
}

} // namespace

TEST(ClipboardX11, AnotherProgramReadsOursAndWeReadTheirs)
{
    if (!XServer::available({QStringLiteral("xclip")}))
        GTEST_SKIP() << "needs Xvfb and xclip (.ci/install-deps installs them)";
    XServer x;
    ASSERT_TRUE(x.start()) << "Xvfb did not start";
    Peer peer;
    ASSERT_TRUE(peer.start(x.environment())) << "the clipboard peer did not start on the X server";

    const QString text = QStringLiteral("Привет, xclip");
    ASSERT_EQ(peer.ask("settext", {text}), QStringLiteral("ok"));
    EXPECT_EQ(eventually([&] { return QString::fromUtf8(paste(x, QStringLiteral("UTF8_STRING"))); }, text), text);

    ASSERT_EQ(peer.ask("sethtml", {QStringLiteral("<b>Жир</b>")}), QStringLiteral("ok"));
    EXPECT_EQ(QString::fromUtf8(paste(x, QStringLiteral("text/html"))), QStringLiteral("<b>Жир</b>"));
    EXPECT_TRUE(paste(x, QStringLiteral("application/x-qt-windows-mime;value=\"HTML Format\""))
                    .startsWith("Version:1.0\r\nStartHTML:0000000105\r\nEndHTML:0000000183\r\n"));
    EXPECT_EQ(QString::fromUtf8(paste(x, QStringLiteral("UTF8_STRING"))), text) << "the text stays beside the HTML";

    const QStringList files {QStringLiteral("/tmp/a b.txt"), QStringLiteral("/tmp/Жук")};
    ASSERT_EQ(peer.ask("setfiles", files), QStringLiteral("ok"));
    EXPECT_EQ(localFiles(paste(x, QStringLiteral("text/uri-list"))), files);

    copy(x, QStringLiteral("UTF8_STRING"), QStringLiteral("Их текст").toUtf8());
    EXPECT_EQ(eventually([&] { return peer.ask("gettext"); }, QStringLiteral("Их текст")), QStringLiteral("Их текст"));

    copy(x, QStringLiteral("text/html"), QStringLiteral("<i>их</i>").toUtf8());
    EXPECT_EQ(eventually([&] { return peer.ask("gethtml", {QStringLiteral("4")}); }, QStringLiteral("<i>их</i>")),
              QStringLiteral("<i>их</i>"));

    copy(x, QStringLiteral("text/uri-list"), "file:///srv/x%20y\r\nfile:///srv/%D0%96\r\n");
    const QString theirFiles = QStringLiteral("/srv/x y /srv/Ж");
    EXPECT_EQ(eventually([&] { return peer.ask("getfiles"); }, theirFiles), theirFiles);

    // Our text replaces their offer whole: their HTML no longer serves their
    // old content beside it.
    copy(x, QStringLiteral("text/html"), QStringLiteral("<i>их</i>").toUtf8());
    ASSERT_EQ(eventually([&] { return peer.ask("gethtml", {QStringLiteral("4")}); }, QStringLiteral("<i>их</i>")),
              QStringLiteral("<i>их</i>"));
    ASSERT_EQ(peer.ask("settext", {QStringLiteral("наш")}), QStringLiteral("ok"));
    EXPECT_EQ(
        eventually([&] { return QString::fromUtf8(paste(x, QStringLiteral("UTF8_STRING"))); }, QStringLiteral("наш")),
        QStringLiteral("наш"));
    EXPECT_EQ(paste(x, QStringLiteral("text/html")), QByteArray());
    EXPECT_EQ(paste(x, QStringLiteral("text/uri-list")), QByteArray());
    EXPECT_EQ(paste(x, QStringLiteral("application/x-tessera-clipboard-format;code=16")).size(), 4)
        << "the text's locale";
}
