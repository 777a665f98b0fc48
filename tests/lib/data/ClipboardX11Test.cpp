// crvClipboard against a real X server: our clipboard peer
// (tessera_clipboard_peer, on Qt's xcb platform) and xclip, another program,
// exchange text, HTML and file lists through an Xvfb server that this test
// starts on a free display and stops again.
#include "tests/common/TestSandbox.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

#include <functional>
#include <gtest/gtest.h>

namespace {

bool readLine(QProcess &process, QByteArray *line)
{
    QDeadlineTimer deadline(15000);
    while (!process.canReadLine()) {
        if (deadline.hasExpired() || !process.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    *line = process.readLine().chopped(1);
    return true;
}

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

class XServer
{
public:
    ~XServer() { stop(m_xvfb); }

    // Xvfb chooses a free display number itself and writes it to -displayfd.
    bool start()
    {
        m_xvfb.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                      QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                      QStringLiteral("640x480x24")});
        QByteArray number;
        if (!m_xvfb.waitForStarted(10000) || !readLine(m_xvfb, &number) || number.isEmpty())
            return false;
        m_display = QStringLiteral(":") + QString::fromLatin1(number);
        return true;
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        return env;
    }

    // xclip -o: what another program reads from the clipboard as \a target.
    QByteArray paste(const QString &target) const
    {
        QProcess xclip;
        xclip.setProcessEnvironment(environment());
        xclip.start(QStringLiteral("xclip"),
                    {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o"),
                     QStringLiteral("-t"), target});
        xclip.waitForFinished(10000);
        return xclip.readAllStandardOutput();
    }

    // xclip -i: another program takes the clipboard with \a data as \a target
    // and keeps serving it in the background until it loses the clipboard or
    // the server goes.
    void copy(const QString &target, const QByteArray &data) const
    {
        QProcess xclip;
        xclip.setProcessEnvironment(environment());
        xclip.setStandardOutputFile(QProcess::nullDevice());
        xclip.setStandardErrorFile(QProcess::nullDevice());
        xclip.start(QStringLiteral("xclip"),
                    {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i"),
                     QStringLiteral("-t"), target});
        xclip.write(data);
        xclip.closeWriteChannel();
        xclip.waitForFinished(10000);
    }

private:
    QProcess m_xvfb;
    QString m_display;
};

class Peer
{
public:
    ~Peer()
    {
        if (m_process.state() == QProcess::Running) {
            m_process.write("quit\n");
            if (!m_process.waitForFinished(5000))
                stop(m_process);
        }
    }

    bool start(const QProcessEnvironment &env)
    {
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(corvid::test::builtProgram(QStringLiteral("tessera_clipboard_peer")), {});
        QByteArray line;
        return m_process.waitForStarted(10000) && readLine(m_process, &line) && line == "ready";
    }

    QString ask(const QByteArray &command, const QStringList &arguments = {})
    {
        QByteArray line = command;
        for (const QString &argument : arguments)
            line += ' ' + argument.toUtf8().toPercentEncoding();
        m_process.write(line + '\n');
        QByteArray reply;
        if (!readLine(m_process, &reply))
            return QStringLiteral("<no answer>");
        return QString::fromUtf8(QByteArray::fromPercentEncoding(reply));
    }

private:
    QProcess m_process;
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
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
        GTEST_SKIP() << "needs Xvfb and xclip (.ci/install-deps installs them)";
    XServer x;
    ASSERT_TRUE(x.start()) << "Xvfb did not start";
    Peer peer;
    ASSERT_TRUE(peer.start(x.environment())) << "the clipboard peer did not start on the X server";

    const QString text = QStringLiteral("Привет, xclip");
    ASSERT_EQ(peer.ask("settext", {text}), QStringLiteral("ok"));
    EXPECT_EQ(eventually([&] { return QString::fromUtf8(x.paste(QStringLiteral("UTF8_STRING"))); }, text), text);

    ASSERT_EQ(peer.ask("sethtml", {QStringLiteral("<b>Жир</b>")}), QStringLiteral("ok"));
    EXPECT_EQ(QString::fromUtf8(x.paste(QStringLiteral("text/html"))), QStringLiteral("<b>Жир</b>"));
    EXPECT_TRUE(x.paste(QStringLiteral("application/x-qt-windows-mime;value=\"HTML Format\""))
                    .startsWith("Version:1.0\r\nStartHTML:0000000105\r\nEndHTML:0000000183\r\n"));
    EXPECT_EQ(QString::fromUtf8(x.paste(QStringLiteral("UTF8_STRING"))), text) << "the text stays beside the HTML";

    const QStringList files {QStringLiteral("/tmp/a b.txt"), QStringLiteral("/tmp/Жук")};
    ASSERT_EQ(peer.ask("setfiles", files), QStringLiteral("ok"));
    EXPECT_EQ(localFiles(x.paste(QStringLiteral("text/uri-list"))), files);

    x.copy(QStringLiteral("UTF8_STRING"), QStringLiteral("Их текст").toUtf8());
    EXPECT_EQ(eventually([&] { return peer.ask("gettext"); }, QStringLiteral("Их текст")), QStringLiteral("Их текст"));

    x.copy(QStringLiteral("text/html"), QStringLiteral("<i>их</i>").toUtf8());
    EXPECT_EQ(eventually([&] { return peer.ask("gethtml", {QStringLiteral("4")}); }, QStringLiteral("<i>их</i>")),
              QStringLiteral("<i>их</i>"));

    x.copy(QStringLiteral("text/uri-list"), "file:///srv/x%20y\r\nfile:///srv/%D0%96\r\n");
    const QString theirFiles = QStringLiteral("/srv/x y /srv/Ж");
    EXPECT_EQ(eventually([&] { return peer.ask("getfiles"); }, theirFiles), theirFiles);

    // Our text replaces their offer whole: their HTML no longer serves their
    // old content beside it.
    x.copy(QStringLiteral("text/html"), QStringLiteral("<i>их</i>").toUtf8());
    ASSERT_EQ(eventually([&] { return peer.ask("gethtml", {QStringLiteral("4")}); }, QStringLiteral("<i>их</i>")),
              QStringLiteral("<i>их</i>"));
    ASSERT_EQ(peer.ask("settext", {QStringLiteral("наш")}), QStringLiteral("ok"));
    EXPECT_EQ(
        eventually([&] { return QString::fromUtf8(x.paste(QStringLiteral("UTF8_STRING"))); }, QStringLiteral("наш")),
        QStringLiteral("наш"));
    EXPECT_EQ(x.paste(QStringLiteral("text/html")), QByteArray());
    EXPECT_EQ(x.paste(QStringLiteral("text/uri-list")), QByteArray());
    EXPECT_EQ(x.paste(QStringLiteral("application/x-tessera-clipboard-format;code=16")).size(), 4)
        << "the text's locale";
}
