#include "lib/data/crvClipboard.h"

#include "platform/ClipboardFormat.h"
#include "tests/common/DefaultLocale.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>
#include <thread>

using namespace tessera;

namespace {

class crvClipboardTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(clip.Clear()); }
    void TearDown() override { clip.Clear(); }

    static const QMimeData *desktop() { return QGuiApplication::clipboard()->mimeData(); }
    static QList<qint32> formats(crvClipboard &c)
    {
        QList<qint32> codes;
        for (const QVariant &v : c.GetFormats().value_or(Collection()).values())
            codes.append(v.toInt());
        return codes;
    }

    crvClipboard clip;
};

} // namespace

TEST_F(crvClipboardTest, TextInEveryTextFormat)
{
    const QString text = QStringLiteral("Жёлтый €uro");
    ASSERT_TRUE(clip.SetText(text));
    EXPECT_EQ(clip.GetText(), text);
    EXPECT_EQ(clip.GetText(true), text) << "all of it is in Windows-1251";
    EXPECT_EQ(desktop()->text(), text) << "other programs read text/plain";

    ASSERT_TRUE(clip.SetText(QStringLiteral("日本 Ж")));
    EXPECT_EQ(clip.GetText(true), QStringLiteral("?? Ж"));

    QByteArray raw;
    qint32 size = 0;
    ASSERT_TRUE(clip.GetRAWData(ClipboardFormat::CF_TEXT, raw, &size));
    EXPECT_EQ(raw, QByteArray("?? \xC6\0", 5));
    EXPECT_EQ(size, 5);
    ASSERT_TRUE(clip.GetRAWData(ClipboardFormat::CF_OEMTEXT, raw));
    EXPECT_EQ(raw, QByteArray("?? \x86\0", 5));
    ASSERT_TRUE(clip.GetRAWData(ClipboardFormat::CF_UNICODETEXT, raw));
    EXPECT_EQ(raw, QByteArray("\xE5\x65\x2C\x67 \0\x16\x04\0\0", 10));

    ASSERT_TRUE(clip.SetRAWData(ClipboardFormat::CF_OEMTEXT, QByteArray("\x8F\xE0\xA8\0junk", 8)));
    EXPECT_EQ(clip.GetText(), QStringLiteral("При")) << "866 text up to its NUL";
    EXPECT_EQ(formats(clip), (QList<qint32> {13, 1, 7, ClipboardFormat::CF_LOCALE}));
}

TEST_F(crvClipboardTest, EachSetAddsAndClearEmpties)
{
    ASSERT_TRUE(clip.SetText(QStringLiteral("plain")));
    ASSERT_TRUE(clip.SetHTML(QStringLiteral("<b>b</b>")));
    const qint32 custom = ClipboardFormat::registerFormat(QStringLiteral("Corvid Test Format"));
    ASSERT_TRUE(clip.SetRAWData(custom, QByteArray("\x01\x00\x02", 3)));

    EXPECT_EQ(clip.GetText(), QStringLiteral("plain"));
    EXPECT_EQ(clip.GetHTML(), QStringLiteral("<b>b</b>"));
    QByteArray raw;
    ASSERT_TRUE(clip.GetRAWData(custom, raw));
    EXPECT_EQ(raw, QByteArray("\x01\x00\x02", 3));
    EXPECT_EQ(clip.GetFormatName(custom), QStringLiteral("Corvid Test Format"));
    EXPECT_EQ(clip.GetFormatName(ClipboardFormat::CF_TEXT), QString());
    EXPECT_EQ(formats(clip), (QList<qint32> {13, 1, 7, ClipboardFormat::CF_LOCALE, clip.CF_HTML(), custom}));
    EXPECT_EQ(clip.GetFormatsCount(), 6);

    EXPECT_FALSE(clip.SetRAWData(custom, QByteArray()));
    EXPECT_FALSE(clip.SetRAWData(0, "x"));
    EXPECT_FALSE(clip.SetHTML(QString()));

    ASSERT_TRUE(clip.Clear());
    EXPECT_EQ(clip.GetFormatsCount(), 0);
    EXPECT_FALSE(clip.IsFormatAvailable(ClipboardFormat::CF_UNICODETEXT));
    EXPECT_FALSE(clip.GetRAWData(custom, raw));
    EXPECT_EQ(clip.GetText(), QString());
}

TEST_F(crvClipboardTest, HtmlDocumentIsKeptExactlyAndOfferedAsTextHtml)
{
    QString start = QStringLiteral("<html><body>");
    ASSERT_TRUE(clip.SetHTML(QStringLiteral("b"), &start));
    EXPECT_EQ(start, QStringLiteral("<html><body><!--StartFragment-->"));

    QByteArray block;
    qint32 size = 0;
    ASSERT_TRUE(clip.GetRAWData(clip.CF_HTML(), block, &size));
    EXPECT_EQ(size, 172) << "the 171-byte document and one more zero byte";
    EXPECT_TRUE(block.startsWith("Version:1.0\r\nStartHTML:0000000105\r\nEndHTML:0000000171\r\n"));
    EXPECT_EQ(desktop()->html(), QStringLiteral("b"));
    for (int part = ghrvRaw; part <= ghrvSourceURL; ++part)
        EXPECT_EQ(clip.GetHTML(part), HtmlClipboardDocument::extract(block, part)) << "part " << part;
    EXPECT_EQ(clip.GetHTML(ghrvContextEnd), QStringLiteral("<!--EndFragment--></BODY></HTML>"));
    EXPECT_EQ(clip.GetHTML(7), QString());
}

TEST_F(crvClipboardTest, FileListsBothWays)
{
    Collection names;
    names.Add(QStringLiteral("/tmp/one file.txt"));
    names.Add(QStringLiteral("/tmp/Жёлудь"));
    ASSERT_TRUE(clip.SetShellFiles(&names));
    QByteArray block;
    ASSERT_TRUE(clip.GetRAWData(ClipboardFormat::CF_HDROP, block));
    EXPECT_EQ(block.size(), 20 + 2 * (17 + 11 + 3));
    EXPECT_EQ(clip.GetShellFiles().value_or(Collection()).values(), names.values());
    EXPECT_EQ(desktop()->urls(),
              (QList<QUrl> {QUrl::fromLocalFile(QStringLiteral("/tmp/one file.txt")),
                            QUrl::fromLocalFile(QStringLiteral("/tmp/Жёлудь"))}));
    EXPECT_FALSE(clip.SetShellFiles(nullptr));
    const Collection none;
    EXPECT_FALSE(clip.SetShellFiles(&none));

    // What another program put there: files of a URI list, HTML.
    auto *mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(QStringLiteral("/srv/a b")), QUrl(QStringLiteral("https://example.org/"))});
    mime->setHtml(QStringLiteral("<meta charset='utf-8'><i>ours</i>"));
    QGuiApplication::clipboard()->setMimeData(mime);
    EXPECT_TRUE(clip.IsFormatAvailable(ClipboardFormat::CF_HDROP));
    EXPECT_EQ(clip.GetShellFiles().value_or(Collection()).values(), QVariantList {QStringLiteral("/srv/a b")});
    EXPECT_EQ(clip.GetHTML(), QStringLiteral("<i>ours</i>"));
    EXPECT_EQ(formats(clip), (QList<qint32> {ClipboardFormat::CF_HDROP, clip.CF_HTML()}));

    auto *web = new QMimeData;
    web->setUrls({QUrl(QStringLiteral("https://example.org/"))});
    QGuiApplication::clipboard()->setMimeData(web);
    EXPECT_FALSE(clip.IsFormatAvailable(ClipboardFormat::CF_HDROP));
    EXPECT_FALSE(clip.GetShellFiles().has_value());
}

TEST_F(crvClipboardTest, ASetAddsToOurDataButReplacesAnotherProgramsOffer)
{
    // Data put there past crvClipboard stands for another program's offer:
    // the offscreen platform has no other program.
    auto *theirs = new QMimeData;
    theirs->setText(QStringLiteral("their text"));
    theirs->setHtml(QStringLiteral("<i>their text</i>"));
    theirs->setData(QStringLiteral("image/png"), QByteArray(1024 * 1024, 'p'));
    QGuiApplication::clipboard()->setMimeData(theirs);

    ASSERT_TRUE(clip.SetText(QStringLiteral("наш")));
    EXPECT_EQ(desktop()->formats().join(u' ').toStdString(),
              "text/plain " + ClipboardFormat::mimeType(ClipboardFormat::CF_LOCALE).toStdString())
        << "none of their formats serves their old content beside ours";
    EXPECT_EQ(formats(clip), (QList<qint32> {13, 1, 7, ClipboardFormat::CF_LOCALE}));

    ASSERT_TRUE(clip.SetHTML(QStringLiteral("<b>наш</b>")));
    EXPECT_EQ(clip.GetText(), QStringLiteral("наш")) << "our own text stays beside our HTML";
    EXPECT_EQ(clip.GetHTML(), QStringLiteral("<b>наш</b>"));

    // The locale of the text is the thread's, in four bytes.
    for (const auto &[locale, lcid] :
         {std::pair {QLocale(QLocale::Russian, QLocale::Russia), QByteArray("\x19\x04\0\0", 4)},
          std::pair {QLocale(QLocale::English, QLocale::UnitedKingdom), QByteArray("\x09\x08\0\0", 4)}}) {
        SCOPED_TRACE(qPrintable(locale.name()));
        const corvid::test::DefaultLocale defaultLocale(locale);
        ASSERT_TRUE(clip.SetText(QStringLiteral("x")));
        QByteArray block;
        ASSERT_TRUE(clip.GetRAWData(ClipboardFormat::CF_LOCALE, block));
        EXPECT_EQ(block, lcid);
    }
}

TEST_F(crvClipboardTest, OnlyTheGuiThreadOpensTheClipboard)
{
    ASSERT_TRUE(clip.SetText(QStringLiteral("x")));
    std::thread worker([] {
        crvClipboard &other = crvClipboard::global();
        EXPECT_FALSE(other.SetText(QStringLiteral("y")));
        EXPECT_EQ(other.GetText(), QString());
        EXPECT_FALSE(other.GetFormats().has_value());
        EXPECT_FALSE(other.Clear());
    });
    worker.join();
    EXPECT_EQ(clip.GetText(), QStringLiteral("x"));
}
