#pragma once

#include "lib/TesseraExport.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tessera {

class ProxySettings;

/// The proxy settings dialog of ProxySettings::HTTP_ShowConfigDialog. Three
/// options choose the access type (optAccessType(0), (1) and (3), the
/// indices being psAccessType values); the frames fraServer (txtAddress,
/// txtUserName, txtPassword) and fraBypass (chkBypassLocal, txtBypassList)
/// and both pictures imgIcon are enabled only with option 3. "Ok" writes the
/// dialog back into the object, "Отмена" leaves it alone, and "Определить"
/// copies the system's current proxy configuration into the dialog.
class TESSERA_EXPORT frmProxyConfig : public QDialog
{
    Q_OBJECT

public:
    explicit frmProxyConfig(QWidget *parent = nullptr);
    ~frmProxyConfig() override;

    /// Shows the settings of \a settings (which must outlive the dialog) and
    /// makes them the object "Ok" writes to.
    void Init(ProxySettings *settings);

    QRadioButton *optAccessType(int Index) const;
    QGroupBox *fraServer() const;
    QGroupBox *fraBypass() const;
    QLineEdit *txtAddress() const;
    QLineEdit *txtUserName() const;
    QLineEdit *txtPassword() const;
    QLineEdit *txtBypassList() const;
    QCheckBox *chkBypassLocal() const;
    QLabel *imgIcon(int Index) const;
    QPushButton *cmdOk() const;
    QPushButton *cmdCancel() const;
    QPushButton *cmdDetect() const;

public Q_SLOTS:
    void cmdOk_Click();
    void cmdDetect_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void optAccessType_Click(int Index);

    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
