#include "lib/net/frmProxyConfig.h"

#include "lib/net/ProxyRules_p.h"
#include "lib/net/ProxySettings.h"
#include "lib/net/SystemProxy_p.h"
#include "platform/MessageBox.h"
#include "support/csText.h"
#include "support/csWindows.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessera {

namespace {

constexpr quint32 SystemWindowColour = 0x80000005u;
constexpr quint32 SystemButtonFaceColour = 0x8000000Fu;
constexpr int OptionIndices[] = {psatPreconfigByIE, psatDirect, psatProxy};

QLabel *label(const QString &name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QLineEdit *textBox(const QString &name, QWidget *parent)
{
    auto *t = new QLineEdit(parent);
    t->setObjectName(name);
    return t;
}

} // namespace

class frmProxyConfig::Private
{
public:
    QPointer<ProxySettings> settings;
    QButtonGroup *options = nullptr;
    QRadioButton *opt[4] = {};
    QGroupBox *fraServer = nullptr;
    QGroupBox *fraBypass = nullptr;
    QLineEdit *txtAddress = nullptr;
    QLineEdit *txtUserName = nullptr;
    QLineEdit *txtPassword = nullptr;
    QLineEdit *txtBypassList = nullptr;
    QCheckBox *chkBypassLocal = nullptr;
    QLabel *img[2] = {};
    QList<QLabel *> labels;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdDetect = nullptr;
    bool centred = false;

    QLineEdit *boxes(int i) const
    {
        QLineEdit *all[] = {txtAddress, txtUserName, txtPassword, txtBypassList};
        return all[i];
    }
};

frmProxyConfig::frmProxyConfig(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , d(std::make_unique<Private>())
{
    setObjectName(QStringLiteral("frmProxyConfig"));
    setWindowTitle(QStringLiteral("Параметры прокси-сервера для "));

    d->options = new QButtonGroup(this);
    const QString optionTexts[]
        = {QStringLiteral("Использовать настройки Internet Explorer"), QStringLiteral("Не использовать прокси-сервер"),
           QStringLiteral("Использовать прокси-сервер")};
    auto *layout = new QVBoxLayout(this);
    for (int i = 0; i < 3; ++i) {
        auto *option = new QRadioButton(optionTexts[i], this);
        option->setObjectName(QStringLiteral("optAccessType"));
        option->setProperty("Index", OptionIndices[i]);
        d->options->addButton(option, OptionIndices[i]);
        d->opt[OptionIndices[i]] = option;
        layout->addWidget(option);
    }
    connect(d->options, &QButtonGroup::idClicked, this, &frmProxyConfig::optAccessType_Click);

    const QPixmap icon = cs::csLoadResIconEx(QStringLiteral("PROXY"));
    for (QLabel *&img : d->img) {
        img = label(QStringLiteral("imgIcon"), QString(), this);
        img->setPixmap(icon);
        img->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        img->setFixedWidth(icon.width() + 8);
    }
    d->img[0]->setProperty("Index", 0);
    d->img[1]->setProperty("Index", 1);

    d->fraServer = new QGroupBox(QStringLiteral("Сервер"), this);
    d->fraServer->setObjectName(QStringLiteral("fraServer"));
    d->txtAddress = textBox(QStringLiteral("txtAddress"), d->fraServer);
    d->txtUserName = textBox(QStringLiteral("txtUserName"), d->fraServer);
    d->txtPassword = textBox(QStringLiteral("txtPassword"), d->fraServer);
    d->txtPassword->setEchoMode(QLineEdit::Password);
    d->txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    auto *server = new QGridLayout(d->fraServer);
    server->addWidget(d->img[0], 0, 0, 3, 1);
    d->labels = {label(QStringLiteral("lblAddress"), QStringLiteral("Адрес прокси-сервера и порт:"), d->fraServer),
                 label(QStringLiteral("lblUserName"), QStringLiteral("Имя пользователя:"), d->fraServer),
                 label(QStringLiteral("lblPassword"), QStringLiteral("Пароль:"), d->fraServer)};
    for (int row = 0; row < 3; ++row) {
        server->addWidget(d->labels[row], row, 1);
        server->addWidget(d->boxes(row), row, 2);
    }
    server->setColumnStretch(2, 1);
    layout->addWidget(d->fraServer);

    d->fraBypass = new QGroupBox(QStringLiteral("Исключения"), this);
    d->fraBypass->setObjectName(QStringLiteral("fraBypass"));
    d->chkBypassLocal
        = new QCheckBox(QStringLiteral("Не использовать прокси-сервер для локальных адресов"), d->fraBypass);
    d->chkBypassLocal->setObjectName(QStringLiteral("chkBypassLocal"));
    d->txtBypassList = textBox(QStringLiteral("txtBypassList"), d->fraBypass);
    QLabel *listLabel
        = label(QStringLiteral("lblBypassList"),
                QStringLiteral("Не использовать прокси-сервер для адресов, приведённых здесь:"), d->fraBypass);
    QLabel *hint = label(
        QStringLiteral("lblBypassHint"),
        QStringLiteral("Адреса разделяются пробелами. Можно использовать звёздочку (*) как подстановочный знак."),
        d->fraBypass);
    listLabel->setWordWrap(true);
    hint->setWordWrap(true);
    d->labels << listLabel << hint;
    auto *bypass = new QGridLayout(d->fraBypass);
    bypass->addWidget(d->img[1], 0, 0, 4, 1);
    bypass->addWidget(d->chkBypassLocal, 0, 1);
    bypass->addWidget(listLabel, 1, 1);
    bypass->addWidget(d->txtBypassList, 2, 1);
    bypass->addWidget(hint, 3, 1);
    layout->addWidget(d->fraBypass);

    d->cmdDetect = new QPushButton(QStringLiteral("Определить"), this);
    d->cmdDetect->setObjectName(QStringLiteral("cmdDetect"));
    d->cmdDetect->setAutoDefault(false);
    d->cmdOk = new QPushButton(QStringLiteral("Ok"), this);
    d->cmdOk->setObjectName(QStringLiteral("cmdOk"));
    d->cmdOk->setDefault(true);
    d->cmdCancel = new QPushButton(QStringLiteral("Отмена"), this);
    d->cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    d->cmdCancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(d->cmdDetect);
    buttons->addStretch(1);
    buttons->addWidget(d->cmdOk);
    buttons->addWidget(d->cmdCancel);
    layout->addLayout(buttons);

    connect(d->cmdOk, &QPushButton::clicked, this, &frmProxyConfig::cmdOk_Click);
    connect(d->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(d->cmdDetect, &QPushButton::clicked, this, &frmProxyConfig::cmdDetect_Click);
    for (QLineEdit *box : {d->txtAddress, d->txtUserName, d->txtPassword})
        box->installEventFilter(this);

    setFixedWidth(520);
    d->opt[psatPreconfigByIE]->setChecked(true);
    optAccessType_Click(psatPreconfigByIE);
}

frmProxyConfig::~frmProxyConfig() = default;

void frmProxyConfig::Init(ProxySettings *settings)
{
    d->settings = settings;
    if (!settings)
        return;
    const int index = settings->HTTP_AccessType();
    d->opt[index]->setChecked(true);
    d->txtAddress->setText(settings->HTTP_Address());
    d->txtUserName->setText(settings->HTTP_UserName());
    d->txtPassword->setText(settings->HTTP_Password());
    d->txtBypassList->setText(settings->HTTP_BypassList());
    d->chkBypassLocal->setChecked(settings->HTTP_BypassLocal());
    optAccessType_Click(index);
}

void frmProxyConfig::optAccessType_Click(int Index)
{
    const bool proxy = Index == psatProxy;
    d->fraServer->setEnabled(proxy);
    d->fraBypass->setEnabled(proxy);
    d->chkBypassLocal->setEnabled(proxy);
    for (QLabel *img : d->img)
        img->setEnabled(proxy);
    for (QLabel *l : std::as_const(d->labels))
        l->setEnabled(proxy);
    const QColor base = cs::csTranslateColor(proxy ? SystemWindowColour : SystemButtonFaceColour);
    for (int i = 0; i < 4; ++i) {
        QLineEdit *box = d->boxes(i);
        box->setEnabled(proxy);
        QPalette palette = box->palette();
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, QPalette::Base, base);
        box->setPalette(palette);
    }
}

void frmProxyConfig::cmdOk_Click()
{
    if (d->settings) {
        d->settings->setHTTP_AccessType(d->options->checkedId());
        d->settings->setHTTP_Address(d->txtAddress->text());
        d->settings->setHTTP_UserName(d->txtUserName->text());
        d->settings->setHTTP_Password(d->txtPassword->text());
        d->settings->setHTTP_BypassList(d->txtBypassList->text());
        d->settings->setHTTP_BypassLocal(d->chkBypassLocal->isChecked());
    }
    accept();
}

void frmProxyConfig::cmdDetect_Click()
{
    const std::optional<detail::SystemProxy> system = detail::querySystemProxy();
    if (!system) {
        MessageBox::show(QStringLiteral("Не удалось определить настройки прокси-сервера."), MessageBox::Critical, {},
                         this);
        return;
    }
    if (!system->bypassList.isEmpty()) {
        // Blanks on both sides, so "<local>" is found first and last too.
        QString list = u' ' + system->bypassList + u' ';
        const qsizetype local = list.toLower().indexOf(QLatin1String(" <local> "));
        d->chkBypassLocal->setChecked(local >= 0);
        if (local >= 0)
            list.replace(local, 9, u' ');
        d->txtBypassList->setText(cs::csTrimEx(list));
    }
    if (system->proxyList.isEmpty()) {
        // The system connects directly.
        d->opt[psatDirect]->setChecked(true);
        optAccessType_Click(psatDirect);
        return;
    }
    const QString address = detail::proxyForScheme(system->proxyList, u"http");
    if (!address.isEmpty())
        d->txtAddress->setText(address);
    d->txtUserName->clear();
    d->txtPassword->clear();
    d->opt[psatProxy]->setChecked(true);
    optAccessType_Click(psatProxy);
}

bool frmProxyConfig::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn
        && (watched == d->txtAddress || watched == d->txtUserName || watched == d->txtPassword))
        cs::csHighlightText(static_cast<QWidget *>(watched));
    return QDialog::eventFilter(watched, event);
}

void frmProxyConfig::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!d->centred) {
        d->centred = true;
        cs::csCenterFormEx(this);
    }
}

QRadioButton *frmProxyConfig::optAccessType(int Index) const
{
    return Index >= 0 && Index < 4 ? d->opt[Index] : nullptr;
}

QGroupBox *frmProxyConfig::fraServer() const
{
    return d->fraServer;
}

QGroupBox *frmProxyConfig::fraBypass() const
{
    return d->fraBypass;
}

QLineEdit *frmProxyConfig::txtAddress() const
{
    return d->txtAddress;
}

QLineEdit *frmProxyConfig::txtUserName() const
{
    return d->txtUserName;
}

QLineEdit *frmProxyConfig::txtPassword() const
{
    return d->txtPassword;
}

QLineEdit *frmProxyConfig::txtBypassList() const
{
    return d->txtBypassList;
}

QCheckBox *frmProxyConfig::chkBypassLocal() const
{
    return d->chkBypassLocal;
}

QLabel *frmProxyConfig::imgIcon(int Index) const
{
    return Index == 0 || Index == 1 ? d->img[Index] : nullptr;
}

QPushButton *frmProxyConfig::cmdOk() const
{
    return d->cmdOk;
}

QPushButton *frmProxyConfig::cmdCancel() const
{
    return d->cmdCancel;
}

QPushButton *frmProxyConfig::cmdDetect() const
{
    return d->cmdDetect;
}

} // namespace tessera
