#include "support/csModules.h"

#include "support/csSystem.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace cs;

namespace {
int localFunction()
{
    return 1;
}
} // namespace

TEST(csModules, HandlesAndFileNamesOfLoadedModules)
{
    // A function of the support library lies in that library's file.
    const quintptr support = csGetModuleHandleOf(reinterpret_cast<const void *>(&csGetComputerName));
    ASSERT_NE(support, 0u);
    const QString supportFile = csGetModulePrettyFileName(support);
    EXPECT_TRUE(QFileInfo(supportFile).fileName().startsWith(QStringLiteral("libcorvidsupport0100.so")))
        << supportFile.toStdString();
    EXPECT_TRUE(QFileInfo(supportFile).isAbsolute());
    EXPECT_EQ(supportFile, QFileInfo(supportFile).canonicalFilePath()) << "links resolved";

    // The test program's own function lies in the executable, which 0 also names.
    const quintptr exe = csGetModuleHandleOf(reinterpret_cast<const void *>(&localFunction));
    ASSERT_NE(exe, 0u);
    EXPECT_NE(exe, support);
    EXPECT_EQ(csGetModulePrettyFileName(exe), csGetEXEModulePrettyFileName());
    EXPECT_EQ(csGetModulePrettyFileName(0), csGetEXEModulePrettyFileName());

    // Addresses and handles that no module holds.
    int onTheStack = localFunction();
    EXPECT_EQ(csGetModuleHandleOf(&onTheStack), 0u);
    EXPECT_EQ(csGetModuleHandleOf(nullptr), 0u);
    EXPECT_TRUE(csGetModulePrettyFileName(support + 1).isEmpty()) << "only a module's own load address is a handle";
}
