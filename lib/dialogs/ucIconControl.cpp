#include "lib/dialogs/ucIconControl.h"

#include "platform/RuntimeError.h"
#include "support/csWindows.h"

#include <QMouseEvent>
#include <QPainter>

#include <array>

namespace tessera {

namespace {

const QString PictureName = QStringLiteral("Picture");
const QString BackColorName = QStringLiteral("BackColor");
const QString MouseIconName = QStringLiteral("MouseIcon");
const QString MousePointerName = QStringLiteral("MousePointer");

// The platform's pointer numbers 0 to 15 as Qt's cursor shapes; 0 leaves the
// pointer of the window underneath.
constexpr std::array<Qt::CursorShape, 16> PointerShapes = {
    Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
    Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
    Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
    Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor,
};

qint16 buttonsOf(Qt::MouseButtons buttons)
{
    return qint16((buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
                  | (buttons & Qt::MiddleButton ? 4 : 0));
}

qint16 shiftOf(Qt::KeyboardModifiers modifiers)
{
    return qint16((modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
                  | (modifiers & Qt::AltModifier ? 4 : 0));
}

QColor colourOf(qint32 oleColor)
{
    try {
        return cs::csTranslateColor(quint32(oleColor));
    } catch (const RuntimeError &) {
        throw RuntimeError(RuntimeError::InvalidPropertyValue);
    }
}

} // namespace

ucIconControl::ucIconControl(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ucIconControl"));
}

ucIconControl::~ucIconControl() = default;

QPixmap ucIconControl::Picture() const
{
    return m_picture;
}

void ucIconControl::setPicture(const QPixmap &Picture)
{
    m_picture = Picture;
    update();
    emit PropertyChanged(PictureName);
}

qint32 ucIconControl::BackColor() const
{
    return m_backColor;
}

void ucIconControl::setBackColor(qint32 BackColor)
{
    colourOf(BackColor);
    m_backColor = BackColor;
    update();
    emit PropertyChanged(BackColorName);
}

QPixmap ucIconControl::MouseIcon() const
{
    return m_mouseIcon;
}

void ucIconControl::setMouseIcon(const QPixmap &MouseIcon)
{
    m_mouseIcon = MouseIcon;
    updateCursor();
    emit PropertyChanged(MouseIconName);
}

qint16 ucIconControl::MousePointer() const
{
    return m_mousePointer;
}

void ucIconControl::setMousePointer(qint16 MousePointer)
{
    if ((MousePointer < 0 || MousePointer >= qint16(PointerShapes.size())) && MousePointer != vbCustom)
        throw RuntimeError(RuntimeError::InvalidPropertyValue);
    m_mousePointer = MousePointer;
    updateCursor();
    emit PropertyChanged(MousePointerName);
}

void ucIconControl::updateCursor()
{
    if (m_mousePointer == vbDefault || (m_mousePointer == vbCustom && m_mouseIcon.isNull()))
        unsetCursor();
    else if (m_mousePointer == vbCustom)
        setCursor(QCursor(m_mouseIcon));
    else
        setCursor(PointerShapes[size_t(m_mousePointer)]);
}

void ucIconControl::ReadProperties(const QVariantMap &PropBag)
{
    // Each value on its own: one that does not read leaves the others.
    const auto read = [&](const QString &name, const QVariant &fallback, const auto &apply) {
        const QVariant value = PropBag.value(name, fallback);
        try {
            apply(value);
        } catch (const RuntimeError &) { }
    };
    read(PictureName, QPixmap(), [this](const QVariant &v) {
        if (v.canConvert<QPixmap>())
            setPicture(v.value<QPixmap>());
    });
    read(BackColorName, ButtonFace, [this](const QVariant &v) {
        bool ok = false;
        const qint32 colour = v.toInt(&ok);
        if (ok)
            setBackColor(colour);
    });
    read(MouseIconName, QPixmap(), [this](const QVariant &v) {
        if (v.canConvert<QPixmap>())
            setMouseIcon(v.value<QPixmap>());
    });
    read(MousePointerName, 0, [this](const QVariant &v) {
        bool ok = false;
        const int pointer = v.toInt(&ok);
        if (ok && pointer >= 0 && pointer <= vbCustom)
            setMousePointer(qint16(pointer));
    });
}

void ucIconControl::WriteProperties(QVariantMap &PropBag) const
{
    PropBag.insert(PictureName, m_picture);
    PropBag.insert(BackColorName, m_backColor);
    PropBag.insert(MouseIconName, m_mouseIcon);
    PropBag.insert(MousePointerName, m_mousePointer);
}

QSize ucIconControl::sizeHint() const
{
    return m_picture.isNull() ? QSize(32, 32) : m_picture.deviceIndependentSize().toSize();
}

void ucIconControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), colourOf(m_backColor));
    if (!m_picture.isNull())
        painter.drawPixmap(0, 0, m_picture);
}

void ucIconControl::mousePressEvent(QMouseEvent *event)
{
    m_afterDoubleClick = false;
    emit MouseDown(buttonsOf(event->button()), shiftOf(event->modifiers()), float(event->position().x()),
                   float(event->position().y()));
}

void ucIconControl::mouseMoveEvent(QMouseEvent *event)
{
    emit MouseMove(buttonsOf(event->buttons()), shiftOf(event->modifiers()), float(event->position().x()),
                   float(event->position().y()));
}

void ucIconControl::mouseReleaseEvent(QMouseEvent *event)
{
    emit MouseUp(buttonsOf(event->button()), shiftOf(event->modifiers()), float(event->position().x()),
                 float(event->position().y()));
    // The release that ends a double click is no click of its own.
    if (!m_afterDoubleClick && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
    m_afterDoubleClick = false;
}

void ucIconControl::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_afterDoubleClick = true;
    emit DblClick();
}

} // namespace tessera
