// Started by ClipboardX11Test on a real X server: holds and reads the
// clipboard through crvClipboard on commands from its standard input, so that
// another program (xclip) can take part. One command per line, arguments and
// answers percent-encoded UTF-8:
//   settext T | sethtml F | setfiles N1 N2...  -> ok or failed
//   gettext | gethtml PART | getfiles           -> the text, the names
#include "lib/data/crvClipboard.h"

#include <QFile>
#include <QGuiApplication>
#include <QSocketNotifier>

#include <cstdio>

using tessera::crvClipboard;

namespace {

QString decoded(const QByteArray &word)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(word));
}

QByteArray encoded(const QString &text)
{
    return text.toUtf8().toPercentEncoding();
}

QByteArray answer(const QList<QByteArray> &words)
{
    crvClipboard &clip = crvClipboard::global();
    const QByteArray command = words.value(0);
    const auto done = [](bool ok) { return QByteArray(ok ? "ok" : "failed"); };
    if (command == "settext")
        return done(clip.SetText(decoded(words.value(1))));
    if (command == "sethtml")
        return done(clip.SetHTML(decoded(words.value(1))));
    if (command == "setfiles") {
        tessera::Collection names;
        for (const QByteArray &word : words.mid(1))
            names.Add(decoded(word));
        return done(clip.SetShellFiles(&names));
    }
    if (command == "gettext")
        return encoded(clip.GetText());
    if (command == "gethtml")
        return encoded(clip.GetHTML(words.value(1).toInt()));
    if (command == "getfiles") {
        QByteArrayList names;
        for (const QVariant &name : clip.GetShellFiles().value_or(tessera::Collection()).values())
            names.append(encoded(name.toString()));
        return names.join(' ');
    }
    return "unknown";
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly | QIODevice::Unbuffered))
        return 2;
    QSocketNotifier notifier(input.handle(), QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [&] {
        const QByteArray line = input.readLine().trimmed();
        if (line.isEmpty() || line == "quit") {
            app.quit();
            return;
        }
        std::printf("%s\n", answer(line.split(' ')).constData());
        std::fflush(stdout);
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
