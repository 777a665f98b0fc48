#pragma once

#include "support/csText.h"

#include <QApplication>

#include <optional>

namespace tessera::dialogs {

// The default system beep that starts a measurement; nothing in a program
// without a GUI.
inline void benchMarkBeep()
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::beep();
}

// The text of a measurement of \a totalMs milliseconds, whose whole time
// reads \a totalText: per iteration, count and whole time, or the whole time.
inline QString benchMarkText(double totalMs, const QString &totalText, std::optional<qint32> iterations)
{
    if (iterations.value_or(0) > 0)
        return cs::csFormatDouble(totalMs / double(*iterations)) + QLatin1String(" ms. / ")
            + cs::csFormatLong(*iterations) + QLatin1String(" (") + totalText + QLatin1String(" ms.)");
    return totalText + QLatin1String(" ms.");
}

} // namespace tessera::dialogs
