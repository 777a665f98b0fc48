#include "lib/system/crvMain.h"

#include "lib/data/CommandLineParser.h"
#include "lib/dialogs/CTextBoxInsertHook.h"
#include "lib/dialogs/frmAbout.h"
#include "lib/dialogs/modAutocomplete_p.h"
#include "platform/CallByName.h"
#include "platform/RuntimeError.h"
#include "platform/VariantCompare.h"
#include "platform/VariantConvert.h"
#include "support/csWindows.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QFont>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <limits>
#include <vector>

namespace tessera {

namespace {

// The library seeds the C run-time's generator once, when it is loaded.
void seedRandomGenerator()
{
    std::srand(unsigned(std::chrono::system_clock::now().time_since_epoch().count()));
}
Q_CONSTRUCTOR_FUNCTION(seedRandomGenerator)

template <typename T, typename Convert> BoundedArray<T> typedArray(const QVariantList &arguments, Convert convert)
{
    if (arguments.isEmpty())
        return {};
    BoundedArray<T> array(0, int(arguments.size()) - 1);
    for (int i = 0; i < arguments.size(); ++i) {
        try {
            array[i] = convert(arguments.at(i));
        } catch (const RuntimeError &) {
            // The element stays empty.
        }
    }
    return array;
}

// Scans first..last for the first index that matches; notFound otherwise.
qint32 search(qint64 first, qint64 last, qint64 notFound, bool *isFound, const std::function<bool(qint32)> &matches)
{
    if (isFound)
        *isFound = false;
    for (qint64 i = first; i <= last; ++i) {
        if (matches(qint32(i))) {
            if (isFound)
                *isFound = true;
            return qint32(i);
        }
    }
    if (notFound < std::numeric_limits<qint32>::min())
        throw RuntimeError(RuntimeError::Overflow);
    return qint32(notFound);
}

template <typename T>
qint32 searchArray(const BoundedArray<T> &array, std::optional<qint32> startAt, std::optional<qint32> endAt,
                   bool *isFound, const std::function<bool(const T &)> &equals)
{
    const qint32 lower = array.LBound();
    return search(startAt.value_or(lower), endAt.value_or(array.UBound()), qint64(lower) - 1, isFound,
                  [&](qint32 i) { return equals(array[i]); });
}

// The controls of a window: its widgets, without other windows inside it.
void collectControls(const QWidget *widget, QList<QWidget *> &controls)
{
    for (QObject *child : widget->children()) {
        auto *control = qobject_cast<QWidget *>(child);
        if (!control || control->isWindow())
            continue;
        controls.append(control);
        collectControls(control, controls);
    }
}

QList<QWidget *> controlsOf(const QWidget *form)
{
    QList<QWidget *> controls;
    if (form)
        collectControls(form, controls);
    return controls;
}

// Calls back when the watched window is hidden or closed (not minimised).
class HideWatcher : public QObject
{
public:
    HideWatcher(QWidget *window, std::function<void()> onHide)
        : m_window(window)
        , m_onHide(std::move(onHide))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Hide && !m_window->isVisible())
            m_onHide();
        return false;
    }

private:
    QWidget *m_window;
    std::function<void()> m_onHide;
};

// The title and version of an application-information object, read by name.
AboutBoxInfo aboutInfoOf(QObject *appObject)
{
    const auto get
        = [appObject](const char *name) { return CallByName(appObject, QLatin1String(name), CallType::Get); };
    AboutBoxInfo info;
    info.Title = variantToText(get("Title"));
    info.VerMajor = variantToLong(get("Major"));
    info.VerMinor = variantToLong(get("Minor"));
    info.VerRevision = variantToLong(get("Revision"));
    info.Author = AboutBoxInfo::DefaultAuthor();
    info.AuthorEMail = AboutBoxInfo::DefaultAuthorEMail();
    info.Devote = AboutBoxInfo::DefaultDevote();
    return info;
}

// Shows the about box for \a info with the description, picture and tool tip
// every entry takes, over the window of \a owner or over the active window.
void showAboutBox(AboutBoxInfo info, const QString &description, const QPixmap &picture, const QString &toolTip,
                  QWidget *owner = nullptr)
{
    info.Description = description;
    info.Picture = picture;
    info.PictureToolTipText = toolTip;
    frmAbout box(info, AboutBoxFacts::ofThisProcess(), owner ? owner->window() : QApplication::activeWindow());
    box.RealShowAboutBox();
}

void requireTextBox(const QWidget *widget)
{
    if (!CTextBoxInsertHook::isTextBox(widget))
        throw RuntimeError(RuntimeError::InvalidProcedureCall);
}

} // namespace

class crvMain::Private
{
public:
    std::unique_ptr<CommandLineParser> commandLine;
    std::vector<std::unique_ptr<CTextBoxInsertHook>> hooks;

    auto hookOf(const QWidget *textBox)
    {
        return std::find_if(hooks.begin(), hooks.end(),
                            [textBox](const auto &hook) { return hook->CurrentHook() == textBox; });
    }
};

crvMain::crvMain()
    : d(std::make_unique<Private>())
{ }

crvMain::~crvMain() = default;

crvMain &crvMain::global()
{
    thread_local crvMain instance;
    return instance;
}

CommandLineParser *crvMain::CommandLine()
{
    if (!d->commandLine)
        d->commandLine = std::make_unique<CommandLineParser>();
    return d->commandLine.get();
}

BoundedArray<QString> crvMain::ArrayBSTR(const QVariantList &Arguments) const
{
    return typedArray<QString>(Arguments, variantToText);
}

BoundedArray<qint32> crvMain::ArrayLong(const QVariantList &Arguments) const
{
    return typedArray<qint32>(Arguments, variantToLong);
}

void crvMain::ShowMSAboutBox(QWidget *MSControlObject)
{
    if (!MSControlObject)
        return;
    QWidget *parent = MSControlObject->parentWidget();
    QPointer<QWidget> window
        = MSControlObject->isWindow() ? (parent ? parent->window() : nullptr) : MSControlObject->window();
    if (window)
        window->setEnabled(false);
    try {
        if (MSControlObject->metaObject()->indexOfMethod("AboutBox()") >= 0)
            QMetaObject::invokeMethod(MSControlObject, "AboutBox");
    } catch (const std::exception &) {
        // Passed over: the window comes back whatever the box did.
    }
    if (window) {
        window->setEnabled(true);
        window->activateWindow();
        window->setFocus();
    }
}

void crvMain::ShowAboutBox(QWidget *Form, QObject *AppObject, const QString &Description, const QPixmap &Picture,
                           const QString &PictureToolTipText)
{
    AboutBoxInfo info = aboutInfoOf(AppObject);
    try {
        info.Icon = cs::csGetWindowIcon(Form);
        info.SmallIcon = cs::csGetWindowIconSmall(Form);
    } catch (const RuntimeError &) {
        // No window, no icons: the box shows its own.
    }
    showAboutBox(info, Description, Picture, PictureToolTipText, Form);
}

void crvMain::ShowAboutBox2(const QPixmap &Icon, const QPixmap &IconSmall, QObject *AppObject,
                            const QString &Description, const QPixmap &Picture, const QString &PictureToolTipText)
{
    AboutBoxInfo info = aboutInfoOf(AppObject);
    info.Icon = Icon;
    info.SmallIcon = IconSmall.isNull() ? Icon : IconSmall;
    showAboutBox(info, Description, Picture, PictureToolTipText);
}

void crvMain::ShowAboutBoxEx(const QString &Title, const QPixmap &Icon, const QPixmap &SmallIcon, qint32 VerMajor,
                             qint32 VerMinor, qint32 VerRevision, const QString &Author, const QString &AuthorEMail,
                             const QString &Devote, const QString &Description, const QPixmap &Picture,
                             const QString &PictureToolTipText)
{
    AboutBoxInfo info;
    info.Title = Title;
    info.Icon = Icon;
    info.SmallIcon = SmallIcon;
    info.VerMajor = VerMajor;
    info.VerMinor = VerMinor;
    info.VerRevision = VerRevision;
    info.Author = Author;
    info.AuthorEMail = AuthorEMail;
    info.Devote = Devote;
    showAboutBox(info, Description, Picture, PictureToolTipText);
}

bool crvMain::AddTextBoxInsertHook(QWidget *TextBoxControl)
{
    requireTextBox(TextBoxControl);
    std::erase_if(d->hooks, [](const auto &hook) { return !hook->CurrentHook(); });
    if (d->hookOf(TextBoxControl) != d->hooks.end())
        return false;
    auto hook = std::make_unique<CTextBoxInsertHook>();
    hook->setCurrentHook(TextBoxControl);
    d->hooks.push_back(std::move(hook));
    return true;
}

bool crvMain::RemoveTextBoxInsertHook(QWidget *TextBoxControl)
{
    requireTextBox(TextBoxControl);
    const auto hook = d->hookOf(TextBoxControl);
    if (hook == d->hooks.end())
        return false;
    d->hooks.erase(hook);
    if (d->hooks.empty())
        d->hooks.shrink_to_fit();
    return true;
}

void crvMain::ClearTextBoxInsertHooks()
{
    d->hooks.clear();
    d->hooks.shrink_to_fit();
}

void crvMain::ShowModalForm(QWidget *ParentForm, QWidget *ChildForm)
{
    if (!ChildForm)
        return;
    QPointer<QWidget> parent = ParentForm != ChildForm ? ParentForm : nullptr;
    QPointer<QWidget> child = ChildForm;
    if (!child->isWindow())
        child->setWindowFlag(Qt::Window, true);

    const bool stepAside = parent && parent->isWindow() && parent->isVisible();
    const QPoint place = stepAside ? parent->pos() : QPoint();
    bool away = false;
    // The parent comes back the moment the child goes, so the application
    // never has a moment without a visible window.
    const auto comeBack = [&] {
        if (away && parent) {
            parent->show();
            parent->move(place);
        }
        away = false;
    };
    if (stepAside) {
        parent->hide();
        away = true;
    }

    QEventLoop loop;
    const auto childGone = [&] {
        comeBack();
        loop.quit();
    };
    HideWatcher watcher(child, childGone);
    QObject::connect(child.data(), &QObject::destroyed, &loop, childGone);
    if (auto *dialog = qobject_cast<QDialog *>(child.data())) {
        dialog->exec();
    } else {
        const Qt::WindowModality modality = child->windowModality();
        child->setWindowModality(Qt::ApplicationModal);
        child->show();
        if (child && child->isVisible())
            loop.exec();
        if (child)
            child->setWindowModality(modality);
    }
    comeBack();
}

qint32 crvMain::InArray(const BoundedArray<qint32> &ArrayX, const QVariant &FindWhat, std::optional<qint32> StartAt,
                        std::optional<qint32> EndAt, bool *IsFound) const
{
    return searchArray<qint32>(ArrayX, StartAt, EndAt, IsFound, [&](const qint32 &element) {
        return compareVariantWithNumber(FindWhat, element) == std::partial_ordering::equivalent;
    });
}

bool crvMain::IsInArray(const BoundedArray<qint32> &ArrayX, const QVariant &FindWhat, std::optional<qint32> StartAt,
                        std::optional<qint32> EndAt) const
{
    bool found = false;
    InArray(ArrayX, FindWhat, StartAt, EndAt, &found);
    return found;
}

qint32 crvMain::InCollection(const Collection *SourceCollection, const QVariant &FindWhat,
                             std::optional<qint32> StartAt, std::optional<qint32> EndAt, bool *IsFound) const
{
    if (IsFound)
        *IsFound = false;
    if (!SourceCollection)
        throw RuntimeError(RuntimeError::ObjectVariableNotSet);
    return search(StartAt.value_or(1), EndAt.value_or(qint32(SourceCollection->Count())), 0, IsFound,
                  [&](qint32 i) { return compareVariants(SourceCollection->Item(i), FindWhat) == 0; });
}

bool crvMain::IsInCollection(const Collection *SourceCollection, const QVariant &FindWhat,
                             std::optional<qint32> StartAt, std::optional<qint32> EndAt) const
{
    bool found = false;
    InCollection(SourceCollection, FindWhat, StartAt, EndAt, &found);
    return found;
}

qint32 crvMain::GetSelectedOptionButtonIndex(const BoundedArray<QRadioButton *> &OptionButtonArray) const
{
    if (!OptionButtonArray.isDimensioned())
        return -1;
    for (qint64 i = OptionButtonArray.LBound(); i <= OptionButtonArray.UBound(); ++i) {
        const QRadioButton *button = OptionButtonArray[int(i)];
        if (button && button->isChecked())
            return qint32(i);
    }
    return -1;
}

void crvMain::SetSelectedOptionButtonIndex(const BoundedArray<QRadioButton *> &OptionButtonArray, qint32 Index) const
{
    if (!OptionButtonArray.isDimensioned())
        return;
    const auto check = [&](qint32 i) {
        if (i < OptionButtonArray.LBound() || i > OptionButtonArray.UBound() || !OptionButtonArray[i])
            return false;
        OptionButtonArray[i]->setChecked(true);
        return true;
    };
    if (!check(Index))
        check(OptionButtonArray.LBound());
}

bool crvMain::PressButton(QWidget *Button) const
{
    auto *button = qobject_cast<QPushButton *>(Button);
    if (!button || !button->isEnabled())
        return false;
    button->click();
    return true;
}

void crvMain::FixFonts(QWidget *Frm) const
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(10.5);
    font.setItalic(true);
    font.setBold(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    for (QWidget *control : controlsOf(Frm))
        control->setFont(font);
}

QString crvMain::JoinCollection(const Collection *SourceCollection, const QString &Delimiter, bool RaiseErrors) const
{
    if (!SourceCollection) {
        if (RaiseErrors)
            throw RuntimeError(RuntimeError::ObjectVariableNotSet);
        return {};
    }
    QString joined;
    bool first = true;
    for (qsizetype i = 1; i <= SourceCollection->Count(); ++i) {
        try {
            const QString item = variantToText(SourceCollection->Item(i));
            if (!first)
                joined += Delimiter;
            joined += item;
            first = false;
        } catch (const RuntimeError &) {
            if (RaiseErrors)
                throw;
        }
    }
    return joined;
}

void crvMain::FixCBCursors(QWidget *Frm) const
{
    for (QWidget *control : controlsOf(Frm)) {
        auto *combo = qobject_cast<QComboBox *>(control);
        if (combo && !combo->isEditable())
            combo->setCursor(Qt::PointingHandCursor);
    }
}

bool crvMain::AddAutoComplete(QWidget *CTL, qint32 Flags) const
{
    return attachAutoComplete(CTL, Flags);
}

qint32 crvMain::InArrayBSTR(const BoundedArray<QString> &ArrayX, const QString &FindWhat, std::optional<qint32> StartAt,
                            std::optional<qint32> EndAt, bool *IsFound) const
{
    return searchArray<QString>(ArrayX, StartAt, EndAt, IsFound,
                                [&](const QString &element) { return element == FindWhat; });
}

bool crvMain::IsInArrayBSTR(const BoundedArray<QString> &ArrayX, const QString &FindWhat, std::optional<qint32> StartAt,
                            std::optional<qint32> EndAt) const
{
    bool found = false;
    InArrayBSTR(ArrayX, FindWhat, StartAt, EndAt, &found);
    return found;
}

Collection crvMain::SplitCollection(const QString &Expression, const std::optional<QString> &Delimiter, qint32 Limit,
                                    qint32 Compare, bool RaiseErrors) const
{
    Collection pieces;
    if (Limit < -1 || (Compare != 0 && Compare != 1)) {
        if (RaiseErrors)
            throw RuntimeError(RuntimeError::InvalidProcedureCall);
        return pieces;
    }
    if (Expression.isEmpty() || Limit == 0)
        return pieces;
    const QString delimiter = Delimiter.value_or(QStringLiteral(" "));
    const Qt::CaseSensitivity cs = Compare == 1 ? Qt::CaseInsensitive : Qt::CaseSensitive;
    qsizetype from = 0;
    while (!delimiter.isEmpty() && (Limit == -1 || pieces.Count() < Limit - 1)) {
        const qsizetype at = Expression.indexOf(delimiter, from, cs);
        if (at < 0)
            break;
        pieces.Add(Expression.mid(from, at - from));
        from = at + delimiter.size();
    }
    pieces.Add(Expression.mid(from));
    return pieces;
}

} // namespace tessera
