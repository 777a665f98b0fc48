#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

using tessera::RuntimeError;

TEST(RuntimeError, StandardDescriptionsFillAnEmptyDescription)
{
    const struct {
        qint32 number;
        const char *text;
    } table[] = {
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {9, "Subscript out of range"},
        {13, "Type mismatch"},
        {51, "Internal error"},
        {53, "File not found"},
        {380, "Invalid property value"},
        {450, "Wrong number of arguments or invalid property assignment"},
        {481, "Invalid picture"},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.number);
        const RuntimeError e(row.number);
        EXPECT_EQ(e.Number(), row.number);
        EXPECT_EQ(e.Description().toStdString(), row.text);
    }
}

TEST(RuntimeError, KeepsAllFiveFieldsAndAnOwnDescription)
{
    const RuntimeError e(RuntimeError::ObjectErrorBase, QStringLiteral("Can't do it"), QStringLiteral("Tessera0301"),
                         QStringLiteral("/help/file.html"), 77);
    EXPECT_EQ(e.Number(), -2147221504);
    EXPECT_EQ(e.Description(), QStringLiteral("Can't do it"));
    EXPECT_EQ(e.Source(), QStringLiteral("Tessera0301"));
    EXPECT_EQ(e.HelpFile(), QStringLiteral("/help/file.html"));
    EXPECT_EQ(e.HelpContext(), 77);
    EXPECT_STREQ(e.what(), "-2147221504: Can't do it");
}

TEST(RuntimeError, UnknownNumbersGetTheApplicationDefinedText)
{
    EXPECT_EQ(RuntimeError(RuntimeError::ObjectErrorBase + 12).Description(),
              QStringLiteral("Application-defined or object-defined error"));
    // Number 0 is the cleared error object: no text at all.
    EXPECT_EQ(RuntimeError(0).Description(), QString());
}

TEST(RuntimeError, IsCaughtAsAStandardException)
{
    try {
        throw RuntimeError(RuntimeError::FileNotFound);
    } catch (const std::exception &e) {
        EXPECT_STREQ(e.what(), "53: File not found");
        return;
    }
    FAIL() << "not caught";
}
