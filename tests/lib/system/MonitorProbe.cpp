// Helper process of the crvMultiMonitor tests: runs on the Qt platform its
// environment names, answers one line per command read from its input, and
// ends with its input.
//
//   all                     every monitor, separated by " ; "
//   point X Y F             MonitorFromPoint
//   rect L T R B F          MonitorFromRect
//   newrect L T W H F       MonitorFromNewRect
//   window L T W H F        MonitorFromWindow of a shown top-level window
//   window none F           MonitorFromWindow without a window
//
// A monitor is written "name flags left,top,right,bottom
// workLeft,workTop,workRight,workBottom", no monitor as "none", a raised
// error as "error <number>". A monitor whose properties disagree with each
// other (sizes, primary flag) is written "inconsistent".
#include "lib/system/crvMultiMonitor.h"
#include "platform/RuntimeError.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

using namespace tessera;

namespace {

QString describe(const std::optional<Monitor> &m)
{
    if (!m)
        return QStringLiteral("none");
    const bool consistent = m->Primary() == ((m->Flags() & 1) != 0)
        && m->MonitorWidth() == m->MonitorRight() - m->MonitorLeft()
        && m->MonitorHeight() == m->MonitorBottom() - m->MonitorTop()
        && m->WorkAreaWidth() == m->WorkAreaRight() - m->WorkAreaLeft()
        && m->WorkAreaHeight() == m->WorkAreaBottom() - m->WorkAreaTop();
    if (!consistent)
        return QStringLiteral("inconsistent");
    return QStringLiteral("%1 %2 %3,%4,%5,%6 %7,%8,%9,%10")
        .arg(m->DeviceName())
        .arg(m->Flags())
        .arg(m->MonitorLeft())
        .arg(m->MonitorTop())
        .arg(m->MonitorRight())
        .arg(m->MonitorBottom())
        .arg(m->WorkAreaLeft())
        .arg(m->WorkAreaTop())
        .arg(m->WorkAreaRight())
        .arg(m->WorkAreaBottom());
}

QString answer(crvMultiMonitor &monitors, const QStringList &words)
{
    const auto n = [&](qsizetype i) { return words.value(i).toInt(); };
    const auto flags = [&](qsizetype i) { return MonitorFromFlags(words.value(i).toInt()); };
    const QString command = words.value(0);
    if (command == QLatin1String("all")) {
        QStringList all;
        for (const QVariant &item : monitors.GetAllMonitors().values())
            all << describe(item.value<Monitor>());
        return all.join(QStringLiteral(" ; "));
    }
    if (command == QLatin1String("point") && words.size() == 4)
        return describe(monitors.MonitorFromPoint(n(1), n(2), flags(3)));
    if (command == QLatin1String("rect") && words.size() == 6)
        return describe(monitors.MonitorFromRect(n(1), n(2), n(3), n(4), flags(5)));
    if (command == QLatin1String("newrect") && words.size() == 6)
        return describe(monitors.MonitorFromNewRect(n(1), n(2), n(3), n(4), flags(5)));
    if (command == QLatin1String("window") && words.size() == 3 && words.at(1) == QLatin1String("none"))
        return describe(monitors.MonitorFromWindow(nullptr, flags(2)));
    if (command == QLatin1String("window") && words.size() == 6) {
        QWidget window;
        window.setGeometry(n(1), n(2), n(3), n(4));
        window.show();
        QApplication::processEvents();
        return describe(monitors.MonitorFromWindow(&window, flags(5)));
    }
    return QStringLiteral("unknown");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    crvMultiMonitor monitors;
    std::printf("ready\n");
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
        QString reply;
        try {
            reply = answer(monitors, QString::fromStdString(line).split(QLatin1Char(' '), Qt::SkipEmptyParts));
        } catch (const RuntimeError &e) {
            reply = QStringLiteral("error %1").arg(e.Number());
        }
        std::printf("%s\n", reply.toUtf8().constData());
        std::fflush(stdout);
    }
    return 0;
}
