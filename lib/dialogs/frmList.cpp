#include "lib/dialogs/frmList.h"

#include "support/csWindows.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

namespace tessera {

namespace {

constexpr double MarginTwips = 60;

int twipsToPixelsX(double twips)
{
    return qRound(twips / cs::csScreenTwipsPerPixelX());
}

int twipsToPixelsY(double twips)
{
    return qRound(twips / cs::csScreenTwipsPerPixelY());
}

} // namespace

frmList::frmList(QWidget *parent)
    : QDialog(parent)
    , m_lstList(new QListWidget(this))
    , m_lblTag(new QLabel(this))
{
    setObjectName(QStringLiteral("frmList"));
    m_lstList->setObjectName(QStringLiteral("lstList"));
    m_lblTag->setObjectName(QStringLiteral("lblTag"));
    m_lblTag->setTextFormat(Qt::PlainText);
    resize(360, 300);
    connect(m_lstList, &QListWidget::currentRowChanged, this, [this](int row) {
        const QListWidgetItem *item = m_lstList->item(row);
        if (!item)
            return;
        const QString line = item->text();
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        m_lblTag->setText(tab < 0 ? line : line.mid(tab + 1));
    });
}

frmList::~frmList() = default;

void frmList::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void frmList::showEvent(QShowEvent *event)
{
    cs::csCenterFormEx(this);
    QDialog::showEvent(event);
}

void frmList::resizeEvent(QResizeEvent *event)
{
    arrange();
    QDialog::resizeEvent(event);
}

void frmList::arrange()
{
    const int marginX = twipsToPixelsX(MarginTwips);
    const int marginY = twipsToPixelsY(MarginTwips);
    const int labelHeight = m_lblTag->sizeHint().height();
    setMinimumHeight(2 * labelHeight + 2 * marginY);
    const int listHeight = qMax(0, height() - 3 * marginY - labelHeight);
    m_lstList->setGeometry(marginX, marginY, qMax(0, width() - 2 * marginX), listHeight);
    m_lblTag->setGeometry(marginX, marginY + listHeight + marginY, qMax(0, width() - 2 * marginX), labelHeight);
}

} // namespace tessera
