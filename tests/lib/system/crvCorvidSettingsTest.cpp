#include "lib/system/crvCorvidSettings.h"

#include "lib/system/crvRegistry.h"
#include "tests/common/RaisedError.h"
#include "tests/lib/system/SettingsTestSupport.h"
#include "tests/platform/RegistryFixture.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTreeWidget>
#include <QtEndian>

namespace {

using corvid::test::makeAppObject;
using corvid::test::raisedNumber;
using corvid::test::RegistryFixture;
using corvid::test::runProgram;
using namespace tessera;

const QString Title = QStringLiteral("Settings Test");
const QString AppKey = QStringLiteral("Software\\Sablewing\\Corvid\\Settings Test");

// A placement record: length field, flags, show command, the two positions
// (-1) and the normal rectangle.
QByteArray placementRecord(qint32 show, qint32 left, qint32 top, qint32 right, qint32 bottom, qint32 length = 44)
{
    const qint32 fields[] = {length, 0, show, -1, -1, -1, -1, left, top, right, bottom};
    QByteArray data(sizeof fields, '\0');
    for (size_t i = 0; i < std::size(fields); ++i)
        qToLittleEndian(fields[i], data.data() + 4 * i);
    return data;
}

class crvCorvidSettingsTest : public RegistryFixture
{
protected:
    void store(const QString &versionKey, const QString &name, const QVariant &value,
               RegistryType_Const type = rtString)
    {
        ASSERT_TRUE(reg.SetValue(HKEY_CURRENT_USER, AppKey + u'\\' + versionKey, name, type, value));
    }

    crvCorvidSettings settings;
    crvRegistry reg;
    std::unique_ptr<QObject> app = makeAppObject(Title, 1, 2);
};

TEST_F(crvCorvidSettingsTest, KeyPathsAndTheApplicationObject)
{
    EXPECT_EQ(settings.GetSettingPath(), QStringLiteral("Software\\Sablewing\\Corvid\\Corvid - Duvev\\Version 0.00"));
    EXPECT_EQ(settings.GetSettingPath(crvCorvidSettings::DefaultAppTitle(), 1, 2),
              QStringLiteral("Software\\Sablewing\\Corvid\\Corvid - Duvev\\Version 1.02"));
    EXPECT_EQ(settings.GetSettingPath2(app.get(), QStringLiteral("Sub\\Key")),
              QStringLiteral("Software\\Sablewing\\Corvid\\Settings Test\\Version 1.02\\Sub\\Key"));

    EXPECT_EQ(raisedNumber([&] { settings.GetSettingPath2(nullptr); }), RuntimeError::ObjectVariableNotSet);
    EXPECT_EQ(raisedNumber([&] { settings.LoadSetting2({}, QStringLiteral("v")); }),
              RuntimeError::ObjectVariableNotSet);
    for (const char *missing : {"Title", "Major", "Minor"}) {
        auto partial = makeAppObject(Title, 1, 2);
        partial->setProperty(missing, QVariant());
        EXPECT_EQ(
            raisedNumber([&] { settings.SaveSetting2({}, QStringLiteral("v"), rtString, QString(), partial.get()); }),
            RuntimeError::ObjectDoesntSupport)
            << missing;
    }
    app->setProperty("Minor", QStringLiteral("two"));
    EXPECT_EQ(raisedNumber([&] { settings.GetSettingPath2(app.get()); }), RuntimeError::TypeMismatch);
    EXPECT_EQ(raisedNumber([&] { settings.SaveFormPlacement(nullptr); }), RuntimeError::ObjectVariableNotSet);
    EXPECT_EQ(raisedNumber([&] { settings.LoadListViewColumns2(nullptr, {}, app.get()); }),
              RuntimeError::ObjectVariableNotSet);
}

TEST_F(crvCorvidSettingsTest, AMissingValueIsReadFromTheNewestOlderVersionOnly)
{
    store(QStringLiteral(" version 1.1 "), QStringLiteral("v"), QStringLiteral("from 1.1"));
    store(QStringLiteral("Version 1.0"), QStringLiteral("v"), QStringLiteral("from 1.0"));
    store(QStringLiteral("Version 1.0"), QStringLiteral("only 1.0"), QStringLiteral("from 1.0"));
    store(QStringLiteral("Version 1.3"), QStringLiteral("only 1.3"), QStringLiteral("from 1.3"));
    store(QStringLiteral("Version 1.03"), QStringLiteral("n"), 13, rtLong);

    bool ok = false;
    EXPECT_EQ(settings.LoadSetting2({}, QStringLiteral("v"), rtString, app.get(), {}, true, &ok),
              QVariant(QStringLiteral("from 1.1")));
    EXPECT_TRUE(ok);
    // Only the previous version is consulted, never a newer one.
    EXPECT_EQ(settings.LoadSetting2({}, QStringLiteral("only 1.0"), rtString, app.get(), {}, true, &ok),
              QVariant(QString()));
    EXPECT_FALSE(ok);
    EXPECT_EQ(settings.LoadSetting2({}, QStringLiteral("only 1.3"), rtString, app.get(), QStringLiteral("default"),
                                    true, &ok),
              QVariant(QStringLiteral("default")));
    EXPECT_FALSE(ok);
    EXPECT_EQ(settings.LoadSetting2({}, QStringLiteral("n"), rtLong, app.get(), {}, true, &ok), QVariant(qint32(0)));
    EXPECT_EQ(settings.LoadSetting2({}, QStringLiteral("n"), rtLong, app.get(), 5), QVariant(5));

    // Saving goes to the current version and leaves the older one alone.
    EXPECT_TRUE(settings.SaveSetting2({}, QStringLiteral("v"), rtString, QStringLiteral("mine"), app.get()));
    EXPECT_EQ(settings.LoadSetting(QString(), QStringLiteral("v"), rtString, Title, 1, 2),
              QVariant(QStringLiteral("mine")));
    EXPECT_EQ(reg.GetValue(HKEY_CURRENT_USER, AppKey + QStringLiteral("\\ version 1.1 "), QStringLiteral("v")),
              QVariant(QStringLiteral("from 1.1")));

    // 1.10 is newer than 1.9; the machine root has its own versions.
    store(QStringLiteral("Version 1.9"), QStringLiteral("w"), QStringLiteral("from 1.9"));
    store(QStringLiteral("Version 1.10"), QStringLiteral("w"), QStringLiteral("from 1.10"));
    EXPECT_EQ(settings.LoadSetting(QString(), QStringLiteral("w"), rtString, Title, 1, 11),
              QVariant(QStringLiteral("from 1.10")));
    EXPECT_EQ(settings.LoadSetting(QString(), QStringLiteral("w"), rtString, Title, 1, 11, {}, false, &ok),
              QVariant(QString()));
    EXPECT_FALSE(ok);
}

TEST_F(crvCorvidSettingsTest, AVersionWithOneZeroNumberStillFallsBackToAnOlderOne)
{
    // Quillon 1.0 has a zero minor number; a 0.x release a zero major one.
    const struct {
        qint32 major, minor;
        const char *older;
    } cases[] = {{1, 0, "Version 0.90"}, {0, 5, "Version 0.04"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.older);
        const QString name = QStringLiteral("only older ") + QLatin1String(c.older);
        store(QLatin1String(c.older), name, QStringLiteral("kept"));
        bool ok = false;
        EXPECT_EQ(settings.LoadSetting(QString(), name, rtString, Title, c.major, c.minor, {}, true, &ok),
                  QVariant(QStringLiteral("kept")));
        EXPECT_TRUE(ok);
    }
}

TEST_F(crvCorvidSettingsTest, FontsKeepTheirSizeToAThousandthOfAPoint)
{
    const QString sub = QStringLiteral("Unnamed Font");
    EXPECT_FALSE(settings.SaveFont2(sub, std::nullopt, app.get()));
    EXPECT_FALSE(reg.IsKeyExist(HKEY_CURRENT_USER, settings.GetSettingPath2(app.get(), sub)));

    settings.SaveSetting2(sub, QStringLiteral("Size"), rtLong, 8, app.get());
    settings.SaveSetting2(sub, QStringLiteral("Size2"), rtLong, 8250, app.get());
    std::optional<QFont> font = settings.LoadFont2(sub, app.get());
    ASSERT_TRUE(font);
    EXPECT_DOUBLE_EQ(font->pointSizeF(), 8.25);
    reg.DeleteValue(HKEY_CURRENT_USER, settings.GetSettingPath2(app.get(), sub), QStringLiteral("Size2"));
    EXPECT_DOUBLE_EQ(settings.LoadFont2(sub, app.get())->pointSizeF(), 8.0);

    QFont saved(QStringLiteral("DejaVu Sans"));
    saved.setPointSizeF(10.5);
    saved.setWeight(QFont::DemiBold);
    saved.setItalic(true);
    saved.setUnderline(true);
    settings.SaveSetting2(sub, QStringLiteral("Charset"), rtLong, 204, app.get());
    ASSERT_TRUE(settings.SaveFont2(sub, saved, app.get()));
    EXPECT_EQ(settings.LoadSetting2(sub, QStringLiteral("Size"), rtLong, app.get()), QVariant(10)); // halves to even
    EXPECT_EQ(settings.LoadSetting2(sub, QStringLiteral("Size2"), rtLong, app.get()), QVariant(10500));
    EXPECT_EQ(settings.LoadSetting2(sub, QStringLiteral("Weight"), rtLong, app.get()), QVariant(600));
    EXPECT_EQ(settings.LoadSetting2(sub, QStringLiteral("Charset"), rtLong, app.get()), QVariant(204));
    EXPECT_EQ(settings.LoadSetting2(sub, QStringLiteral("Italic"), rtString, app.get()), QVariant("True"));
    font = settings.LoadFont2(sub, app.get());
    ASSERT_TRUE(font);
    EXPECT_EQ(font->family(), saved.family());
    EXPECT_DOUBLE_EQ(font->pointSizeF(), 10.5);
    EXPECT_EQ(font->weight(), QFont::DemiBold);
    EXPECT_TRUE(font->italic());
    EXPECT_TRUE(font->underline());
    EXPECT_FALSE(font->strikeOut());

    // Nothing stored: the default's values; a size of 0: the default itself, or none.
    QFont fallback(QStringLiteral("DejaVu Serif"));
    fallback.setPointSize(13);
    fallback.setStrikeOut(true);
    const std::optional<QFont> fromDefault = settings.LoadFont2(QStringLiteral("Other"), app.get(), fallback);
    ASSERT_TRUE(fromDefault);
    EXPECT_EQ(*fromDefault, fallback);
    settings.SaveSetting2(sub, QStringLiteral("Size2"), rtLong, 0, app.get());
    EXPECT_EQ(settings.LoadFont2(sub, app.get(), fallback), fallback);
    EXPECT_FALSE(settings.LoadFont2(sub, app.get()));
}

class PlacementTest : public crvCorvidSettingsTest
{
protected:
    void storePlacement(const QByteArray &record)
    {
        store(QStringLiteral("Version 1.02\\frmTest"), QStringLiteral("Window placement"), record, rtBinary);
    }

    QWidget window;

    void SetUp() override
    {
        crvCorvidSettingsTest::SetUp();
        window.setObjectName(QStringLiteral("frmTest"));
        window.setGeometry(20, 30, 200, 100);
    }
};

TEST_F(PlacementTest, FixedSizesKeepTheStoredPosition)
{
    storePlacement(placementRecord(1, 100, 120, 500, 420));
    ASSERT_TRUE(settings.LoadFormPlacement2(&window, {}, QStringLiteral("Window placement"), app.get(), false, 300));
    EXPECT_EQ(window.geometry(), QRect(100, 120, 300, 300)); // right 400, bottom as stored
    ASSERT_TRUE(settings.LoadFormPlacement2(&window, {}, QStringLiteral("Window placement"), app.get(), false, 0, 50));
    EXPECT_EQ(window.geometry(), QRect(100, 120, 400, 50));

    // Twips: divided by the whole twips per pixel (15 at 96 dpi).
    const int twipsPerPixel = qRound(1440.0 / QGuiApplication::primaryScreen()->logicalDotsPerInchX());
    ASSERT_TRUE(settings.LoadFormPlacementTwips2(&window, {}, QStringLiteral("Window placement"), app.get(), false,
                                                 3000 + twipsPerPixel - 1));
    EXPECT_EQ(window.width(), 3000 / twipsPerPixel);

    // Off every screen: brought back onto one.
    storePlacement(placementRecord(1, 90000, 90000, 90300, 90200));
    ASSERT_TRUE(settings.LoadFormPlacement2(&window, {}, QStringLiteral("Window placement"), app.get()));
    EXPECT_TRUE(QGuiApplication::primaryScreen()->geometry().intersects(window.geometry())) << window.x();
    EXPECT_EQ(window.size(), QSize(300, 200));
}

TEST_F(PlacementTest, ARecordOfTheWrongSizeOrLengthIsIgnored)
{
    const QByteArray good = placementRecord(1, 100, 100, 300, 300);
    for (const QByteArray &bad : {good.left(43), good + '\0', placementRecord(1, 100, 100, 300, 300, 40),
                                  placementRecord(99, 100, 100, 300, 300)}) {
        storePlacement(bad);
        EXPECT_FALSE(settings.LoadFormPlacement2(&window, {}, QStringLiteral("Window placement"), app.get()))
            << bad.toHex().constData();
        EXPECT_EQ(window.geometry(), QRect(20, 30, 200, 100));
    }
    EXPECT_FALSE(settings.LoadFormPlacement2(&window, QStringLiteral("Nothing here"),
                                             QStringLiteral("Window placement"), app.get()));
}

TEST_F(PlacementTest, SavedRecordAsTheToolSeesItAndStatesComeBack)
{
    window.setGeometry(10, 20, 300, 200);
    ASSERT_TRUE(settings.SaveFormPlacement2(&window, {}, QStringLiteral("Window placement"), app.get()));
    const corvid::test::ProgramRun query = runProgram(
        QStringLiteral("tessera-reg"),
        {QStringLiteral("query"), QStringLiteral("HKCU\\") + AppKey + QStringLiteral("\\Version 1.02\\frmTest"),
         QStringLiteral("/v"), QStringLiteral("Window placement")});
    EXPECT_EQ(query.exitCode, 0) << qPrintable(query.err);
    EXPECT_TRUE(query.out.contains(QStringLiteral("Window placement    REG_BINARY    ")
                                   + QString::fromLatin1(placementRecord(1, 10, 20, 310, 220).toHex().toUpper())))
        << qPrintable(query.out);

    window.show();
    window.showMaximized();
    ASSERT_TRUE(settings.SaveFormPlacement2(&window, {}, QStringLiteral("Window placement"), app.get()));
    QWidget restored;
    restored.setObjectName(QStringLiteral("frmTest"));
    ASSERT_TRUE(settings.LoadFormPlacement2(&restored, {}, QStringLiteral("Window placement"), app.get()));
    EXPECT_FALSE(restored.isVisible()); // a hidden window takes its state when shown
    restored.show();
    EXPECT_TRUE(restored.isMaximized());
    EXPECT_EQ(restored.normalGeometry(), QRect(10, 20, 300, 200));

    ASSERT_TRUE(settings.LoadFormPlacement2(&restored, {}, QStringLiteral("Window placement"), app.get(), true));
    EXPECT_TRUE(restored.windowState() & Qt::WindowMinimized);
}

TEST_F(PlacementTest, APlacementSavedByOneProcessIsRestoredByAnother)
{
    const corvid::test::ProgramRun saver
        = runProgram(QStringLiteral("tessera_placement_saver"),
                     {QStringLiteral("40"), QStringLiteral("50"), QStringLiteral("320"), QStringLiteral("240"),
                      QStringLiteral("normal")});
    ASSERT_EQ(saver.exitCode, 0) << qPrintable(saver.err);
    auto otherApp = makeAppObject(QStringLiteral("Placement App"), 2, 5);
    window.setObjectName(QStringLiteral("frmSaved"));
    ASSERT_TRUE(settings.LoadFormPlacement2(&window, {}, QStringLiteral("Window placement"), otherApp.get()));
    window.show();
    EXPECT_EQ(window.geometry(), QRect(40, 50, 320, 240));
    EXPECT_FALSE(window.isMaximized());
}

TEST_F(crvCorvidSettingsTest, ListColumnsAreSavedForTheUserAndMissingOnesKeepTheirWidth)
{
    QTreeWidget list;
    list.setColumnCount(3);
    list.header()->setStretchLastSection(false);
    const int widths[] = {50, 80, 120};
    for (int i = 0; i < 3; ++i)
        list.header()->resizeSection(i, widths[i]);
    const QString sub = QStringLiteral("lstFiles");
    EXPECT_TRUE(settings.SaveListViewColumns2(&list, sub, app.get(), false));
    EXPECT_EQ(settings.LoadSetting2(sub, QStringLiteral("Column 2 Width"), rtLong, app.get()), QVariant(80));
    reg.DeleteValue(HKEY_CURRENT_USER, settings.GetSettingPath2(app.get(), sub), QStringLiteral("Column 3 Width"));
    settings.SaveSetting2(sub, QStringLiteral("Column 4 Width"), rtLong, 99, app.get());

    QTreeWidget other;
    other.setColumnCount(3);
    other.header()->setStretchLastSection(false);
    for (int i = 0; i < 3; ++i)
        other.header()->resizeSection(i, 33);
    EXPECT_TRUE(settings.LoadListViewColumns2(&other, sub, app.get(), false));
    EXPECT_EQ(other.header()->sectionSize(0), 50);
    EXPECT_EQ(other.header()->sectionSize(1), 80);
    EXPECT_EQ(other.header()->sectionSize(2), 33);
}

} // namespace
