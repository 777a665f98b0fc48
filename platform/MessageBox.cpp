#include "platform/MessageBox.h"

#include "platform/ScopedMessageBoxAnswerer.h"
#include "platform/ShellOpen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QHash>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace tessera {

namespace {

struct ButtonSpec {
    QMessageBox::StandardButton button;
    qint32 result;
};

// The platform's button sets, in its order; empty for a set it rejects.
QList<ButtonSpec> buttonSet(qint32 style)
{
    switch (style & MessageBox::ButtonsMask) {
    case MessageBox::OkOnly:
        return {{QMessageBox::Ok, MessageBox::Ok}};
    case MessageBox::OkCancel:
        return {{QMessageBox::Ok, MessageBox::Ok}, {QMessageBox::Cancel, MessageBox::Cancel}};
    case MessageBox::AbortRetryIgnore:
        return {{QMessageBox::Abort, MessageBox::Abort},
                {QMessageBox::Retry, MessageBox::Retry},
                {QMessageBox::Ignore, MessageBox::Ignore}};
    case MessageBox::YesNoCancel:
        return {{QMessageBox::Yes, MessageBox::Yes},
                {QMessageBox::No, MessageBox::No},
                {QMessageBox::Cancel, MessageBox::Cancel}};
    case MessageBox::YesNo:
        return {{QMessageBox::Yes, MessageBox::Yes}, {QMessageBox::No, MessageBox::No}};
    case MessageBox::RetryCancel:
        return {{QMessageBox::Retry, MessageBox::Retry}, {QMessageBox::Cancel, MessageBox::Cancel}};
    default:
        return {};
    }
}

QMessageBox::Icon iconFor(qint32 style)
{
    switch (style & MessageBox::IconMask) {
    case MessageBox::Critical:
        return QMessageBox::Critical;
    case MessageBox::Question:
        return QMessageBox::Question;
    case MessageBox::Exclamation:
        return QMessageBox::Warning;
    case MessageBox::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The answer to Escape and to the window's close command: Cancel where
// there is one, OK in an OK-only box, nothing otherwise.
qint32 escapeResult(const QList<ButtonSpec> &buttons)
{
    for (const ButtonSpec &spec : buttons) {
        if (spec.result == MessageBox::Cancel)
            return MessageBox::Cancel;
    }
    return buttons.size() == 1 ? buttons.first().result : MessageBox::Failed;
}

// The answer when the program ends under an open box: the escape answer,
// else the one that stops what the box asked about (Abort, No).
qint32 dismissResult(const QList<ButtonSpec> &buttons)
{
    const qint32 escape = escapeResult(buttons);
    if (escape != MessageBox::Failed)
        return escape;
    for (const ButtonSpec &spec : buttons) {
        if (spec.result == MessageBox::Abort || spec.result == MessageBox::No)
            return spec.result;
    }
    return buttons.first().result;
}

QString plainLines(const QString &text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

// QMessageBox picks an escape button of its own (No, Abort) where the
// platform has none; this box refuses Escape and closing instead.
class PlatformMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;
    bool escapable = true;
    bool dismissed = false;
    qint32 dismissAnswer = MessageBox::Failed;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!escapable && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override
    {
        if (!escapable) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

// The boxes this thread shows, innermost last.
thread_local QList<QPointer<PlatformMessageBox>> t_openBoxes;

} // namespace

void MessageBox::dismissAll()
{
    // Innermost first: an outer box's loop ends only after the inner ones.
    const QList<QPointer<PlatformMessageBox>> boxes = t_openBoxes;
    for (auto it = boxes.crbegin(); it != boxes.crend(); ++it) {
        if (PlatformMessageBox *box = *it; box && !box->dismissed) {
            box->dismissed = true;
            box->done(0);
        }
    }
}

qint32 MessageBox::show(const QString &text, qint32 style, const QString &title, QWidget *owner,
                        const QString &helpFile, qint32 helpContext)
{
    const QList<ButtonSpec> buttons = buttonSet(style);
    if (buttons.isEmpty())
        return Failed;
    const QString shownTitle = title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;

    if (ScopedMessageBoxAnswerer *answerer = ScopedMessageBoxAnswerer::active())
        return answerer->answer({text, style, shownTitle, owner, helpFile, helpContext});

    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        qWarning("%s: %s", qUtf8Printable(shownTitle), qUtf8Printable(text));
        return Failed;
    }

    // On the heap: an owner closed while the box is up takes the box with it.
    QPointer<PlatformMessageBox> box = new PlatformMessageBox(owner);
    box->setWindowTitle(shownTitle);
    box->setTextFormat(Qt::PlainText);
    box->setText(plainLines(text));
    box->setIcon(iconFor(style));

    QList<QPushButton *> ordered;
    QHash<QAbstractButton *, qint32> results;
    const qint32 escape = escapeResult(buttons);
    for (const ButtonSpec &spec : buttons) {
        QPushButton *button = box->addButton(spec.button);
        ordered.append(button);
        results.insert(button, spec.result);
        if (spec.result == escape)
            box->setEscapeButton(button);
    }
    box->escapable = escape != Failed;
    box->dismissAnswer = dismissResult(buttons);

    if (style & HelpButton) {
        QPushButton *help = box->addButton(QMessageBox::Help);
        // The button box would close the box on every button; Help must
        // leave it open, so it reports to nobody but us.
        if (auto *buttonBox = box->findChild<QDialogButtonBox *>())
            QObject::disconnect(help, &QAbstractButton::clicked, buttonBox, nullptr);
        QObject::connect(help, &QAbstractButton::clicked, box.data(), [helpFile] {
            if (!helpFile.isEmpty())
                ShellOpen(helpFile);
        });
        ordered.append(help);
    }

    const qsizetype defaultIndex = (style & DefaultButtonMask) >> 8;
    box->setDefaultButton(ordered.at(defaultIndex < ordered.size() ? defaultIndex : 0));

    t_openBoxes.append(box);
    box->exec();
    t_openBoxes.removeAll(box);
    t_openBoxes.removeAll(nullptr);
    if (!box)
        return Failed;
    const qint32 result = box->dismissed ? box->dismissAnswer : results.value(box->clickedButton(), Failed);
    delete box;
    return result;
}

} // namespace tessera
