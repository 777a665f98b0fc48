#include "platform/RuntimeError.h"
#include "support/csWindows.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace cs {

namespace {

struct SystemColour {
    bool known;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr SystemColour active(QPalette::ColorRole role)
{
    return {true, QPalette::Active, role};
}

// The platform's system colour indexes (COLOR_SCROLLBAR 0 .. COLOR_MENUBAR 30)
// and the palette role that plays the same part in Qt. Index 25 was never
// assigned.
constexpr std::array<SystemColour, 31> systemColours = {{
    active(QPalette::Midlight), // 0 scroll bar
    active(QPalette::Dark), // 1 desktop
    active(QPalette::Highlight), // 2 active caption
    active(QPalette::Mid), // 3 inactive caption
    active(QPalette::Window), // 4 menu
    active(QPalette::Base), // 5 window
    active(QPalette::Shadow), // 6 window frame
    active(QPalette::WindowText), // 7 menu text
    active(QPalette::Text), // 8 window text
    active(QPalette::HighlightedText), // 9 caption text
    active(QPalette::Button), // 10 active border
    active(QPalette::Button), // 11 inactive border
    active(QPalette::Mid), // 12 application workspace
    active(QPalette::Highlight), // 13 highlight
    active(QPalette::HighlightedText), // 14 highlighted text
    active(QPalette::Button), // 15 button face
    active(QPalette::Dark), // 16 button shadow
    {true, QPalette::Disabled, QPalette::Text}, // 17 grey text
    active(QPalette::ButtonText), // 18 button text
    {true, QPalette::Disabled, QPalette::WindowText}, // 19 inactive caption text
    active(QPalette::Light), // 20 button highlight
    active(QPalette::Shadow), // 21 3-D dark shadow
    active(QPalette::Midlight), // 22 3-D light
    active(QPalette::ToolTipText), // 23 info text
    active(QPalette::ToolTipBase), // 24 info background
    {false, QPalette::Active, QPalette::NoRole}, // 25
    active(QPalette::Link), // 26 hot-tracked item
    active(QPalette::Highlight), // 27 active caption gradient
    active(QPalette::Mid), // 28 inactive caption gradient
    active(QPalette::Highlight), // 29 menu highlight
    active(QPalette::Window), // 30 menu bar
}};

// The application's palette. QGuiApplication::palette() crashes in a console
// program (a QCoreApplication exists, no QGuiApplication); such a host gets
// the palette Qt derives from its standard light button colour.
QPalette applicationPalette()
{
    const QCoreApplication *app = QCoreApplication::instance();
    if (app && !qobject_cast<const QGuiApplication *>(app))
        return QPalette(QColor(0xEF, 0xEF, 0xEF));
    return QGuiApplication::palette();
}

} // namespace

QColor csTranslateColor(quint32 oleColor)
{
    const quint32 kind = oleColor >> 24;
    if (kind == 0x00 || kind == 0x02)
        return QColor(int(oleColor & 0xFF), int((oleColor >> 8) & 0xFF), int((oleColor >> 16) & 0xFF));
    if (kind == 0x80) {
        const quint32 index = oleColor & 0xFF;
        if (index < systemColours.size() && systemColours[index].known) {
            const SystemColour &c = systemColours[index];
            return applicationPalette().color(c.group, c.role);
        }
    }
    throw tessera::RuntimeError(tessera::RuntimeError::InvalidProcedureCall);
}

} // namespace cs
