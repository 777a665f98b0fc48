#include "lib/data/HtmlClipboardDocument.h"

#include "tests/common/RaisedError.h"

#include <gtest/gtest.h>

using corvid::test::raisedNumber;
using tessera::HtmlClipboardDocument;

namespace {

QByteArray field(const QByteArray &document, const char *key)
{
    const qsizetype at = document.indexOf(key);
    return at < 0 ? QByteArray() : document.mid(at + qstrlen(key), 10);
}

} // namespace

TEST(HtmlClipboardDocument, OffsetsCountBytesOfTheUtf8Document)
{
    const QByteArray b = HtmlClipboardDocument::build(QStringLiteral("b"));
    EXPECT_EQ(field(b, "StartHTML:"), "0000000105");
    EXPECT_EQ(field(b, "StartFragment:"), "0000000137");
    EXPECT_EQ(field(b, "EndFragment:"), "0000000138");
    EXPECT_EQ(field(b, "EndHTML:"), "0000000171");
    EXPECT_EQ(b.size(), 171);
    EXPECT_EQ(b.mid(105), QByteArray("<HTML><BODY><!--StartFragment-->b<!--EndFragment--></BODY></HTML>\0", 66));

    const QByteArray zhe = HtmlClipboardDocument::build(QStringLiteral("Ж"));
    EXPECT_EQ(field(zhe, "StartFragment:"), "0000000137");
    EXPECT_EQ(field(zhe, "EndFragment:"), "0000000139") << "Ж is two bytes of UTF-8";
    EXPECT_EQ(field(zhe, "EndHTML:"), "0000000172");
    EXPECT_EQ(zhe.mid(137, 2), "\xD0\x96");
}

TEST(HtmlClipboardDocument, EveryPartOfAWrittenDocumentReadsBack)
{
    const QByteArray doc = HtmlClipboardDocument::build(QStringLiteral("<i>Жук</i>"), QStringLiteral("<html><body>"),
                                                        QStringLiteral("</body></html>"));
    using namespace tessera;
    EXPECT_EQ(HtmlClipboardDocument::extract(doc, ghrvFragment), QStringLiteral("<i>Жук</i>"));
    EXPECT_EQ(HtmlClipboardDocument::extract(doc, ghrvContextStart),
              QStringLiteral("<html><body><!--StartFragment-->"));
    EXPECT_EQ(HtmlClipboardDocument::extract(doc, ghrvContextEnd), QStringLiteral("<!--EndFragment--></body></html>"));
    EXPECT_EQ(HtmlClipboardDocument::extract(doc, ghrvHTML),
              QStringLiteral("<html><body><!--StartFragment--><i>Жук</i><!--EndFragment--></body></html>"));
    EXPECT_EQ(HtmlClipboardDocument::extract(doc, ghrvRaw), QString::fromUtf8(doc.chopped(1)));
    EXPECT_EQ(HtmlClipboardDocument::extract(doc, ghrvSelection), QString());
    EXPECT_EQ(HtmlClipboardDocument::extract(doc, ghrvSourceURL), QString());
    EXPECT_EQ(HtmlClipboardDocument::extract(doc, 7), QString());
    EXPECT_EQ(HtmlClipboardDocument::extract(doc, -1), QString());
}

TEST(HtmlClipboardDocument, ForeignDocuments)
{
    using namespace tessera;
    const QByteArray header = "Version:0.9\r\nStartHTML:105\r\nEndHTML:0000000150\r\nStartFragment:0000000000\r\n"
                              "EndFragment:0000000140\r\nSourceURL:https://example.org/a\r\nStartSelection:x";
    EXPECT_EQ(HtmlClipboardDocument::extract(header, ghrvSourceURL), QStringLiteral("https://example.org/a"));
    EXPECT_EQ(HtmlClipboardDocument::extract(header, ghrvFragment), QString()) << "StartFragment 0";
    EXPECT_EQ(raisedNumber([&] { HtmlClipboardDocument::extract(header, ghrvSelection); }), 13);
    EXPECT_EQ(HtmlClipboardDocument::extract("StartHTML:0000000000\r\nEndHTML:0000000005\r\n", ghrvHTML),
              QStringLiteral("StartHTML:0000000000\r\nEndHTML:0000000005\r\n"))
        << "an unset offset gives the whole document";
    EXPECT_EQ(HtmlClipboardDocument::extract("StartFragment:0000000040\r\nEndFragment:0000000030\r\n", ghrvFragment),
              QString());

    const QByteArray inBody = "StartHTML:0000000022\r\n<p>SourceURL:x\r\n</p>";
    EXPECT_EQ(HtmlClipboardDocument::extract(inBody, ghrvSourceURL), QString()) << "the key is inside the HTML";
    EXPECT_EQ(HtmlClipboardDocument::extract("SourceURL:x", ghrvSourceURL), QString()) << "no CR LF follows";
    EXPECT_EQ(raisedNumber([] { HtmlClipboardDocument::extract("StartHTML:99999999999", ghrvHTML); }), 6);
}

TEST(HtmlClipboardDocument, HtmlOfOtherProgramsBecomesADocument)
{
    using namespace tessera;
    struct Case {
        QString html, contextStart, fragment, contextEnd;
    } cases[] = {
        {QStringLiteral("<b>x</b>"), QStringLiteral("<HTML><BODY><!--StartFragment-->"), QStringLiteral("<b>x</b>"),
         QStringLiteral("<!--EndFragment--></BODY></HTML>")},
        {QStringLiteral("<meta charset='utf-8'><b>Ж</b>"),
         QStringLiteral("<HTML><HEAD><meta charset='utf-8'></HEAD><BODY><!--StartFragment-->"),
         QStringLiteral("<b>Ж</b>"), QStringLiteral("<!--EndFragment--></BODY></HTML>")},
        {QStringLiteral("<html><BODY class=a><p>y</p></body></html>"),
         QStringLiteral("<html><BODY class=a><!--StartFragment-->"), QStringLiteral("<p>y</p>"),
         QStringLiteral("<!--EndFragment--></body></html>")},
        {QStringLiteral("<div><!--StartFragment-->z<!--EndFragment--></div>"),
         QStringLiteral("<div><!--StartFragment-->"), QStringLiteral("z"), QStringLiteral("<!--EndFragment--></div>")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.html.toStdString());
        const QByteArray doc = HtmlClipboardDocument::fromHtml(c.html);
        EXPECT_EQ(HtmlClipboardDocument::extract(doc, ghrvContextStart), c.contextStart);
        EXPECT_EQ(HtmlClipboardDocument::extract(doc, ghrvFragment), c.fragment);
        EXPECT_EQ(HtmlClipboardDocument::extract(doc, ghrvContextEnd), c.contextEnd);
    }
}
