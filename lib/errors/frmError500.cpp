#include "lib/errors/frmError500.h"

#include "support/csWindows.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTextLayout>
#include <QTimer>

#include <array>
#include <cmath>
#include <optional>

namespace tessera {

namespace {

// The window as designed, in twips. The design's width is the outer width;
// its fixed dialog frame is three pixels on each side.
constexpr double FormWidth = 6315;
constexpr int FramePx = 3;
constexpr double IconLeft = 300;
constexpr double IconTop = 360;
constexpr double IconSize = 480;
constexpr double MessageLeft = 1080;
constexpr double MessageTop = 180;
constexpr double MessageWidth = 4935;
constexpr std::array<double, 3> ButtonLefts = {1440, 3000, 4560};
constexpr double ButtonWidth = 1455;
constexpr double ButtonHeight = 435;

struct ButtonSpec {
    qint32 stringId; // in the system's string table
    const char *fallback;
    qint32 result;
};

struct ButtonSet {
    QList<ButtonSpec> buttons;
    int defaultIndex;
    int cancelIndex;
};

ButtonSet buttonSet(qint32 style)
{
    switch (style & 15) {
    case 0:
        return {{{800, "Ok", 1}}, 0, 0};
    case 1:
        return {{{800, "&Ok", 1}, {801, "&Cancel", 2}}, 0, 1};
    case 2:
        return {{{802, "&Abort", 3}, {803, "&Retry", 4}, {804, "&Ignore", 5}}, 1, 0};
    case 3:
        return {{{805, "&Yes", 6}, {806, "&No", 7}, {801, "&Cancel", 2}}, 0, 2};
    case 4:
        return {{{805, "&Yes", 6}, {806, "&No", 7}}, 0, 1};
    case 5:
        return {{{803, "&Retry", 4}, {801, "&Cancel", 2}}, 0, 1};
    default:
        // Not a button set of the platform: one button that shows only the
        // countdown; however the box closes, the result is 0.
        return {{{0, "", 0}}, 0, 0};
    }
}

// A string of the system module "User32", where the platform keeps its
// localised button captions. This platform has no such string table, so the
// fallback texts of the button sets are the captions.
std::optional<QString> systemString(qint32 /*stringId*/)
{
    return std::nullopt;
}

QString caption(const ButtonSpec &spec)
{
    return systemString(spec.stringId).value_or(QString::fromLatin1(spec.fallback));
}

std::optional<QStyle::StandardPixmap> iconOf(qint32 style)
{
    switch (style & 240) {
    case 16:
        return QStyle::SP_MessageBoxCritical;
    case 32:
        return QStyle::SP_MessageBoxQuestion;
    case 48:
        return QStyle::SP_MessageBoxWarning;
    case 64:
        return QStyle::SP_MessageBoxInformation;
    default:
        return std::nullopt;
    }
}

// Lays \a text out as the platform's DrawText does with word breaks, tab
// expansion and edit-control breaking of words longer than a line; CR LF,
// CR and LF break lines. Returns the size the text takes.
QSize layOut(QTextLayout &layout, const QString &text, const QFont &font, int maxWidth)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QChar(QChar::LineSeparator));
    lines.replace(QLatin1Char('\r'), QChar(QChar::LineSeparator));
    lines.replace(QLatin1Char('\n'), QChar(QChar::LineSeparator));
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(8 * QFontMetricsF(font).averageCharWidth());
    layout.setText(lines);
    layout.setFont(font);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    qreal width = 0;
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(maxWidth);
        line.setLeadingIncluded(true);
        line.setPosition(QPointF(0, height));
        height += line.height();
        width = std::max(width, line.naturalTextWidth());
    }
    layout.endLayout();
    return QSize(int(std::ceil(width)), int(std::ceil(height)));
}

} // namespace

class frmError500::Private
{
public:
    std::array<QPushButton *, 3> buttons {};
    QTimer *tmrTimeout = nullptr;
    QList<ButtonSpec> specs;
    QTextLayout layout;
    QPixmap icon;
    QRect messageRect;
    QRect iconRect;
    qint16 rc = 0;
    qint32 timeoutValue = 1;
    qint32 timeoutButtonIndex = 0;
    QString timeoutButtonCaption;
    qint32 cancelIndex = 0;
    qint32 ticks = 0;
};

frmError500::frmError500(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , d(std::make_unique<Private>())
{
    setObjectName(QStringLiteral("frmError500"));
    for (int i = 0; i < 3; ++i) {
        QPushButton *button = new QPushButton(this);
        button->setObjectName(QStringLiteral("cmdButton"));
        connect(button, &QPushButton::clicked, this, [this, i] {
            d->rc = qint16(i);
            d->tmrTimeout->stop();
            done(Accepted);
        });
        d->buttons[i] = button;
    }
    d->tmrTimeout = new QTimer(this);
    d->tmrTimeout->setObjectName(QStringLiteral("tmrTimeout"));
    d->tmrTimeout->setInterval(1000);
    connect(d->tmrTimeout, &QTimer::timeout, this, &frmError500::tmrTimeout_Timer);
}

frmError500::~frmError500() = default;

void frmError500::prepare(const QString &Text, qint32 Style, const QString &Title, qint32 DefaultButtonIndex,
                          qint32 CancelButtonIndex, qint32 TimeoutValue)
{
    const double tppX = cs::csScreenTwipsPerPixelX();
    const double tppY = cs::csScreenTwipsPerPixelY();
    const auto pxX = [tppX](double twips) { return qRound(twips / tppX); };
    const auto pxY = [tppY](double twips) { return qRound(twips / tppY); };

    // The system's message-box font, for the text and the buttons alike.
    setFont(QApplication::font("QMessageBoxLabel"));

    const QSize textSize = layOut(d->layout, Text, font(), std::max(1, cs::csScreenWidthPx() - 300));
    const int textHeight = std::min(textSize.height(), std::max(1, cs::csScreenHeightPx() - 200));
    double messageLeft = MessageLeft;
    const double messageWidth = textSize.width() * tppX;
    const double messageHeight = textHeight * tppY;

    setWindowTitle(Title);
    setAccessibleDescription(Text);

    const ButtonSet set = buttonSet(Style);
    d->specs = set.buttons;
    const int count = int(d->specs.size());
    std::array<double, 3> lefts = ButtonLefts;
    // Fewer buttons stay right-aligned.
    for (int i = 0; i < count; ++i)
        lefts[i] = ButtonLefts[3 - count + i];
    for (int i = 0; i < 3; ++i) {
        d->buttons[i]->setVisible(i < count);
        if (i < count)
            d->buttons[i]->setText(caption(d->specs.at(i)));
    }

    const int defaultIndex
        = DefaultButtonIndex >= 0 && DefaultButtonIndex < count ? DefaultButtonIndex : set.defaultIndex;
    d->cancelIndex = CancelButtonIndex >= 0 && CancelButtonIndex < count ? CancelButtonIndex : set.cancelIndex;
    d->buttons[defaultIndex]->setDefault(true);
    d->buttons[defaultIndex]->setFocus();
    d->timeoutButtonIndex = defaultIndex;
    d->timeoutButtonCaption = d->buttons[defaultIndex]->text();

    double formWidth = FormWidth;
    if (const std::optional<QStyle::StandardPixmap> icon = iconOf(Style)) {
        d->iconRect = QRect(pxX(IconLeft), pxY(IconTop), pxX(IconSize), pxY(IconSize));
        d->icon = style()->standardIcon(*icon, nullptr, this).pixmap(d->iconRect.size(), devicePixelRatioF());
    } else {
        // Without an icon the text and the buttons close the gap.
        const double shift = std::round(MessageLeft - MessageTop * 1.5);
        messageLeft -= shift;
        for (double &left : lefts)
            left -= shift;
        formWidth -= shift;
    }
    QApplication::beep();

    const double buttonTop = MessageTop + messageHeight + 2 * MessageTop;
    const double clientHeight = buttonTop + ButtonHeight + MessageTop;
    // A wider text widens the window. (Only when it needs more room than the
    // design gave: a window narrowed by a missing icon widens as well, or
    // the text would run past its edge.)
    const double delta = std::round(messageWidth - MessageWidth);
    if (delta > 0) {
        formWidth += delta;
        for (double &left : lefts)
            left += delta;
    }
    for (int i = 0; i < 3; ++i)
        d->buttons[i]->setGeometry(pxX(lefts[i]), pxY(buttonTop), pxX(ButtonWidth), pxY(ButtonHeight));
    d->messageRect = QRect(QPoint(pxX(messageLeft), pxY(MessageTop)), QSize(textSize.width(), textHeight));
    setFixedSize(pxX(formWidth) - 2 * FramePx, pxY(clientHeight));
    cs::csCenterFormEx(this);
    update();

    d->timeoutValue = TimeoutValue > 0 ? TimeoutValue : 1;
    d->ticks = 0;
    d->tmrTimeout->setInterval(1000);
    d->tmrTimeout->start();
    tmrTimeout_Timer();
}

qint32 frmError500::resultNumber() const
{
    return d->rc >= 0 && d->rc < d->specs.size() ? d->specs.at(d->rc).result : 0;
}

QPushButton *frmError500::cmdButton(int Index) const
{
    return d->buttons.at(size_t(Index));
}

QRect frmError500::messageRect() const
{
    return d->messageRect;
}

QRect frmError500::iconRect() const
{
    return d->iconRect;
}

qint16 frmError500::RC() const
{
    return d->rc;
}

qint32 frmError500::TimeoutValue() const
{
    return d->timeoutValue;
}

qint32 frmError500::TimeoutButtonIndex() const
{
    return d->timeoutButtonIndex;
}

QString frmError500::TimeoutButtonCaption() const
{
    return d->timeoutButtonCaption;
}

void frmError500::reject()
{
    d->rc = qint16(d->cancelIndex);
    d->tmrTimeout->stop();
    done(Rejected);
}

void frmError500::tmrTimeout_Timer()
{
    ++d->ticks;
    const qint64 last = qint64(d->timeoutValue) + 1;
    if (d->ticks > last) {
        d->rc = qint16(d->timeoutButtonIndex);
        d->tmrTimeout->stop();
        done(Accepted);
        return;
    }
    d->buttons[d->timeoutButtonIndex]->setText(d->timeoutButtonCaption + QLatin1String(" (")
                                               + QString::number(last - d->ticks) + QLatin1Char(')'));
    // The box closes a quarter second after showing 0.
    if (d->ticks == last)
        d->tmrTimeout->setInterval(250);
}

void frmError500::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    if (!d->icon.isNull())
        painter.drawPixmap(d->iconRect.topLeft(), d->icon);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setClipRect(d->messageRect);
    d->layout.draw(&painter, d->messageRect.topLeft());
}

} // namespace tessera
