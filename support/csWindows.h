#pragma once

#include "support/csExport.h"

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QRect>
#include <QString>

class QCursor;
class QWidget;

// Window, picture and screen helpers. Windows are QWidget pointers; a null
// pointer where a window is required raises RuntimeError 5 (invalid procedure
// call), as a null window handle failed on the original platform.
namespace cs {

/// Centres the top-level \a window over \a owner when one is given, otherwise
/// on the available area of the screen the window is on. The outer frame is
/// what gets centred; the result is then kept inside the available area of that
/// screen, so centring over an owner near a screen edge never pushes the window
/// off the screen. Raises 5 when \a window is null or not a top-level window.
CS_EXPORT void csCenterFormEx(QWidget *window, QWidget *owner = nullptr);

/// Selects the whole text of a text control: QLineEdit, QPlainTextEdit,
/// QTextEdit, an editable QComboBox or a spin box. Returns false, and does
/// nothing, for any other kind of widget. Raises 5 when \a widget is null.
CS_EXPORT bool csHighlightText(QWidget *widget);

/// Paints the background of \a window: a quiet vertical gradient around the
/// palette's window colour. Call it from the window's paintEvent() (it opens
/// its own QPainter on the window). Raises 5 when \a window is null.
CS_EXPORT void csPaintDesktop2(QWidget *window);

/// Closes \a window and deletes it once control returns to the event loop (so
/// a window may unload itself from its own event handler). Returns false, and
/// keeps the window, when its close event was refused. Raises 5 when null.
CS_EXPORT bool csUnloadForm(QWidget *window);

/// The application's owner window: a hidden top-level widget that the library
/// keeps for the whole run and that stands for the application itself, as the
/// original's hidden owner of all forms did. Its title is the application's
/// title, and an icon set on it with csSetWindowIconAll / csSetWindowResIconAll
/// becomes the application's icon (the icon of every window without one of
/// its own). Needs a QApplication.
CS_EXPORT QWidget *csGetThunderMainHandle();

/// The application's title: QGuiApplication::applicationDisplayName() (which
/// falls back to the application name, then to the executable's name).
CS_EXPORT QString csGetThunderMainTitle();

/// Sets the icon of \a window from the icon resource \a resourceName (see
/// csLoadResIcon below for the lookup). Returns false, and leaves the window
/// alone, when there is no such resource. Raises 5 when \a window is null.
CS_EXPORT bool csSetWindowResIconAll(QWidget *window, const QString &resourceName);

/// Sets the icon of \a window in all its sizes; a null \a icon removes the
/// window's own icon. Raises 5 when \a window is null.
CS_EXPORT void csSetWindowIconAll(QWidget *window, const QIcon &icon);

/// The window's icon at the large (csGetWindowIcon) or small
/// (csGetWindowIconSmall) icon size of the style; a window without an icon of
/// its own gives the application's icon, and a null pixmap when there is none
/// either. Raises 5 when \a window is null.
CS_EXPORT QPixmap csGetWindowIcon(QWidget *window);
CS_EXPORT QPixmap csGetWindowIconSmall(QWidget *window);

/// The icon resource \a resourceName as an icon. Resources are process-wide
/// Qt resource files: ":/icons/<name>.png" is the icon, and an optional
/// ":/icons/<name>-16.png" is its hand-drawn small form. Names are matched
/// exactly ("A_MAIN", "PROXY"). A null icon when there is no such resource.
CS_EXPORT QIcon csLoadResIcon(const QString &resourceName);

/// The icon resource \a resourceName as a picture at the large (Ex) or small
/// (SmallEx) icon size of the style; a null pixmap when there is none.
CS_EXPORT QPixmap csLoadResIconEx(const QString &resourceName);
CS_EXPORT QPixmap csLoadResIconSmallEx(const QString &resourceName);

/// An icon or a cursor as a picture: the icon at the large icon size, the
/// cursor's own pixmap. A null pixmap when there is no picture (a null icon,
/// or a cursor of a standard shape, whose look only the window system knows).
CS_EXPORT QPixmap csGetIconFromHandle(const QIcon &icon);
CS_EXPORT QPixmap csGetIconFromHandle(const QCursor &cursor);

/// Size of the primary screen in (device-independent) pixels; 0 without a
/// screen.
CS_EXPORT qint32 csScreenWidthPx();
CS_EXPORT qint32 csScreenHeightPx();

/// Twips (1/1440 inch) per pixel of the primary screen: 1440 / its logical
/// dots per inch, so 15 at 96 dpi and 12 at 120 dpi. Without a screen, 15.
CS_EXPORT double csScreenTwipsPerPixelX();
CS_EXPORT double csScreenTwipsPerPixelY();

/// An OLE colour value as a colour. 0x00BBGGRR (and the palette-relative
/// 0x02BBGGRR) are plain RGB; 0x800000ii is the system colour ii, taken from
/// the application palette (15 button face: Button, 5 window: Base, 8 window
/// text: Text, 13 highlight: Highlight, ...); a console program without a
/// QGuiApplication gets the palette of the light button colour #EFEFEF. Raises 5 for a system index
/// without a colour (25, above 30), for palette indexes (0x01...) and for any
/// other high byte, as the platform rejected them.
CS_EXPORT QColor csTranslateColor(quint32 oleColor);

/// Corrects \a rect in place so that it can be seen: reversed edges (negative
/// width or height) are turned around; a rectangle that does not lie wholly on
/// the screens is moved, and shrunk when it is larger, into the available area
/// of the screen it overlaps most (or the nearest screen when it overlaps
/// none). A rectangle already on the screens, such as a screen's own
/// rectangle, is left as it is.
CS_EXPORT void csNormalizeRect(QRect &rect);

} // namespace cs
