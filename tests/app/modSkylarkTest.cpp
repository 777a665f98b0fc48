#include "app/common/modSkylark.h"

#include "app/common/frmEditEMail.h"
#include "platform/ComponentRegistration.h"

#include <QVariantList>

#include <gtest/gtest.h>

using namespace quillon;
using tessera::ComponentRegistration;

namespace {

QVariantList callsOf(QObject *proxy)
{
    return proxy ? proxy->property("Calls").toList() : QVariantList();
}

TEST(modSkylark, WithoutTheComponentEverythingIsSilent)
{
    modSkylark::ShowSkylarkToolbar();
    EXPECT_EQ(modSkylark::ToolbarProxy(), nullptr);
    QWidget form;
    modSkylark::MarkToolbarForm(&form);
    modSkylark::UnmarkToolbarForm(&form);
    EXPECT_FALSE(form.testAttribute(Qt::WA_WState_Created)) << "no handle is made for nobody";
}

TEST(modSkylark, AnnouncesTheEditorWindowToTheToolbar)
{
    ASSERT_EQ(ComponentRegistration::registerModule(QStringLiteral(CORVID_TOOLBAR_RECORDER),
                                                    ComponentRegistration::Scope::CurrentUser),
              0);
    modSkylark::ShowSkylarkToolbar();
    QObject *proxy = modSkylark::ToolbarProxy();
    ASSERT_NE(proxy, nullptr);
    qint32 handle = 0;
    {
        frmEditEMail editor;
        handle = qint32(editor.winId());
    }
    const QVariantList expected
        = {QVariantList {QStringLiteral("ShowToolBar")}, QVariantList {QStringLiteral("MarkForm"), handle},
           QVariantList {QStringLiteral("UnMarkForm"), handle}};
    EXPECT_EQ(callsOf(proxy), expected);

    // A toolbar that fails is ignored.
    qputenv("TESSERA_RECORDING_TOOLBAR_FAIL", "ShowToolBar,MarkForm,UnMarkForm");
    modSkylark::ShowSkylarkToolbar();
    ASSERT_NE(modSkylark::ToolbarProxy(), nullptr);
    QWidget form;
    modSkylark::MarkToolbarForm(&form);
    modSkylark::UnmarkToolbarForm(&form);
    EXPECT_EQ(callsOf(modSkylark::ToolbarProxy()).size(), 3);
    qunsetenv("TESSERA_RECORDING_TOOLBAR_FAIL");

    ComponentRegistration::unregisterModule(QStringLiteral(CORVID_TOOLBAR_RECORDER),
                                            ComponentRegistration::Scope::CurrentUser);
    modSkylark::ShowSkylarkToolbar();
    EXPECT_EQ(modSkylark::ToolbarProxy(), nullptr);
}

} // namespace
