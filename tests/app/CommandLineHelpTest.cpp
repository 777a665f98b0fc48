#include "app/main/CommandLineHelp.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

using quillon::answerCommandLineRequest;

namespace {

struct Case {
    QStringList arguments;
    std::optional<int> status;
    const char *output; // the start of what is written; nothing when null
};

TEST(CommandLineHelp, AnswersOnlyALoneRequestThatNamesNoFile)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    // A picture that happens to be called "-v" is a picture.
    QFile picture(QStringLiteral("-v"));
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.close();

    const Case cases[] = {
        {{QStringLiteral("--help")}, 0, "Usage: quillon [PICTURE]\n"},
        {{QStringLiteral("-h")}, 0, "Usage: quillon [PICTURE]\n"},
        {{QStringLiteral("--version")}, 0, "quillon 1.00.0039\n"},
        {{QStringLiteral("-v")}, std::nullopt, nullptr},
        {{QStringLiteral("--help"), QStringLiteral("sea.jpg")}, std::nullopt, nullptr},
        {{QStringLiteral("--helpful")}, std::nullopt, nullptr},
        {{}, std::nullopt, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const std::unique_ptr<std::FILE, int (*)(std::FILE *)> out(std::tmpfile(), &std::fclose);
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(answerCommandLineRequest(c.arguments, out.get()), c.status);
        const long written = std::ftell(out.get());
        std::rewind(out.get());
        std::string text(size_t(std::max(written, 0L)), '\0');
        ASSERT_EQ(std::fread(text.data(), 1, text.size(), out.get()), text.size());
        if (c.output)
            EXPECT_EQ(text.substr(0, std::strlen(c.output)), c.output);
        else
            EXPECT_EQ(text, "");
    }
    EXPECT_TRUE(QDir::setCurrent(previous));
}

} // namespace
