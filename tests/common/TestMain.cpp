// Shared main of every test binary: a private sandbox, the offscreen
// platform unless a test run asks for another, and a QApplication so that
// widget, clipboard and screen code can run.
#include "tests/common/TestSandbox.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QTemporaryDir sandbox;
    if (!sandbox.isValid()) {
        fprintf(stderr, "cannot create the test sandbox: %s\n", qPrintable(sandbox.errorString()));
        return 2;
    }
    corvid::test::enterSandbox(sandbox.path());
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
