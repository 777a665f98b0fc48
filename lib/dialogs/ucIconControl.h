#pragma once

#include "lib/TesseraExport.h"

#include <QPixmap>
#include <QVariantMap>
#include <QWidget>

namespace tessera {

/// A small control that draws one icon at its top-left corner on a
/// background colour and passes its mouse events on to the window that holds
/// it (as signals). The about box shows the program's icon with one.
///
/// Persistence: WriteProperties saves Picture, BackColor, MouseIcon and
/// MousePointer under those names into a property bag; ReadProperties reads
/// them back in that order, passing over a value that does not read.
/// Every setter reports the property it changed with PropertyChanged, so a
/// host's designer knows what to save.
class TESSERA_EXPORT ucIconControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QPixmap Picture READ Picture WRITE setPicture)
    Q_PROPERTY(qint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(QPixmap MouseIcon READ MouseIcon WRITE setMouseIcon)
    Q_PROPERTY(qint16 MousePointer READ MousePointer WRITE setMousePointer)

public:
    /// The system colour "button face" as an OLE colour (0x8000000F).
    static constexpr qint32 ButtonFace = -2147483633;
    /// MousePointer: the window's own pointer, and the custom one (MouseIcon).
    static constexpr qint16 vbDefault = 0;
    static constexpr qint16 vbCustom = 99;

    explicit ucIconControl(QWidget *parent = nullptr);
    ~ucIconControl() override;

    /// The icon; an empty picture shows only the background.
    QPixmap Picture() const;
    void setPicture(const QPixmap &Picture);
    /// An OLE colour (tessera's csTranslateColor): 0x00BBGGRR or a system
    /// colour 0x800000ii. Raises 380 (invalid property value) for others.
    qint32 BackColor() const;
    void setBackColor(qint32 BackColor);
    /// The picture of the custom mouse pointer (MousePointer 99).
    QPixmap MouseIcon() const;
    void setMouseIcon(const QPixmap &MouseIcon);
    /// The platform's pointer numbers: 0 default, 1 arrow, 2 cross, 3 I-beam,
    /// 4 icon, 5 size, 6 size NE-SW, 7 size N-S, 8 size NW-SE, 9 size W-E,
    /// 10 up arrow, 11 hourglass, 12 no drop, 13 arrow and hourglass,
    /// 14 arrow and question mark, 15 size all, 99 custom. Raises 380 for
    /// any other.
    qint16 MousePointer() const;
    void setMousePointer(qint16 MousePointer);

    void ReadProperties(const QVariantMap &PropBag);
    void WriteProperties(QVariantMap &PropBag) const;

    QSize sizeHint() const override;

signals:
    void Click();
    void DblClick();
    /// Button: 1 left, 2 right, 4 middle (combined in MouseMove); Shift: 1
    /// Shift, 2 Ctrl, 4 Alt; X and Y in pixels from the control's corner.
    void MouseDown(qint16 Button, qint16 Shift, float X, float Y);
    void MouseMove(qint16 Button, qint16 Shift, float X, float Y);
    void MouseUp(qint16 Button, qint16 Shift, float X, float Y);
    void PropertyChanged(const QString &PropertyName);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void updateCursor();

    QPixmap m_picture;
    qint32 m_backColor = ButtonFace;
    QPixmap m_mouseIcon;
    qint16 m_mousePointer = vbDefault;
    bool m_afterDoubleClick = false;
};

} // namespace tessera
