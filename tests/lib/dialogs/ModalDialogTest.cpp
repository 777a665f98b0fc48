// Every dialog wrapper survives its owner window going while the dialog is
// open: the dialog goes with its owner and Show reports a cancel.
#include "lib/dialogs/crvBrowseForFolderDialog.h"
#include "lib/dialogs/crvBrowseForFolderDialog2.h"
#include "lib/dialogs/crvChooseColorDialog.h"
#include "lib/dialogs/crvChooseFontDialog.h"
#include "lib/dialogs/crvOpenSaveDialog.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <gtest/gtest.h>

using namespace tessera;

namespace {

// Deletes \a owner from a timer once a dialog of it is shown; gives up after
// ten seconds.
void deleteOnceADialogOfItIsShown(QWidget *owner)
{
    auto poll = std::make_shared<std::function<void()>>();
    const QDeadlineTimer deadline(10000);
    QPointer<QWidget> guard(owner);
    *poll = [=] {
        if (!guard) {
            *poll = nullptr;
            return;
        }
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<QDialog *>(widget);
            if (dialog && dialog->isVisible() && dialog->parentWidget() == guard) {
                delete guard.data();
                *poll = nullptr; // breaks the cycle of the lambda holding itself
                return;
            }
        }
        if (deadline.hasExpired()) {
            *poll = nullptr;
            return;
        }
        QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

} // namespace

TEST(ModalDialog, ItsOwnerGoingWhileItIsOpenIsACancel)
{
    const struct {
        const char *wrapper;
        std::function<bool(QWidget *)> show;
    } cases[] = {
        {"crvOpenSaveDialog",
         [](QWidget *owner) {
             crvOpenSaveDialog dlg;
             dlg.sethWnd(owner);
             dlg.setFileName(QStringLiteral("kept.txt"));
             const bool chosen = dlg.ShowSave();
             EXPECT_EQ(dlg.FileName(), QStringLiteral("kept.txt"));
             EXPECT_EQ(dlg.LastDlgError(), 0);
             return chosen;
         }},
        {"crvChooseColorDialog",
         [](QWidget *owner) {
             crvChooseColorDialog dlg;
             dlg.sethWnd(owner);
             dlg.setColor(0x123456);
             const bool chosen = dlg.Show();
             EXPECT_EQ(dlg.Color(), 0x123456);
             return chosen;
         }},
        {"crvChooseFontDialog",
         [](QWidget *owner) {
             crvChooseFontDialog dlg;
             dlg.sethWnd(owner);
             const bool chosen = dlg.Show();
             EXPECT_EQ(dlg.FaceName(), QStringLiteral("Tahoma"));
             return chosen;
         }},
        {"crvBrowseForFolderDialog",
         [](QWidget *owner) {
             crvBrowseForFolderDialog dlg;
             dlg.sethWnd(owner);
             dlg.setPath(QStringLiteral("/tmp"));
             const bool chosen = dlg.Show();
             EXPECT_EQ(dlg.Path(), QStringLiteral("/tmp"));
             return chosen;
         }},
        {"crvBrowseForFolderDialog2",
         [](QWidget *owner) {
             // Its window belongs to the active window.
             QApplication::setActiveWindow(owner);
             crvBrowseForFolderDialog2 dlg;
             dlg.setPath(QStringLiteral("/tmp"));
             const bool chosen = dlg.Show();
             EXPECT_EQ(dlg.Path(), QStringLiteral("/tmp"));
             return chosen;
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.wrapper);
        auto *owner = new QWidget;
        owner->show();
        QPointer<QWidget> guard(owner);
        deleteOnceADialogOfItIsShown(owner);
        EXPECT_FALSE(c.show(owner));
        EXPECT_TRUE(guard.isNull()) << "the owner was not deleted while the dialog was open";
        delete guard.data();
    }
}
