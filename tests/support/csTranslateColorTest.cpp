#include "support/csWindows.h"
#include "tests/common/RaisedError.h"

#include <QApplication>
#include <QPalette>

#include <gtest/gtest.h>

using namespace cs;
using corvid::test::raisedNumber;

namespace {

// A palette in which every role of every group has its own colour, so a
// system colour mapped to the wrong role cannot pass by accident.
class csTranslateColorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = QApplication::palette();
        QPalette distinct;
        for (int g = 0; g < int(QPalette::NColorGroups); ++g)
            for (int r = 0; r < int(QPalette::NColorRoles); ++r)
                distinct.setColor(QPalette::ColorGroup(g), QPalette::ColorRole(r), QColor(10 + r * 9, 40 * g, 77));
        QApplication::setPalette(distinct);
    }
    void TearDown() override { QApplication::setPalette(m_saved); }

    static QColor role(QPalette::ColorRole r, QPalette::ColorGroup g = QPalette::Active)
    {
        return QGuiApplication::palette().color(g, r);
    }

private:
    QPalette m_saved;
};

} // namespace

TEST_F(csTranslateColorTest, SystemColoursComeFromThePalette)
{
    struct Case {
        quint32 ole;
        QColor expected;
    };
    const Case cases[] = {
        {0x8000000F, role(QPalette::Button)},
        {0x80000005, role(QPalette::Base)},
        {0x80000008, role(QPalette::Text)},
        {0x8000000D, role(QPalette::Highlight)},
        {0x8000000E, role(QPalette::HighlightedText)},
        {0x80000012, role(QPalette::ButtonText)},
        {0x80000011, role(QPalette::Text, QPalette::Disabled)},
        {0x80000014, role(QPalette::Light)},
        {0x80000010, role(QPalette::Dark)},
        {0x80000015, role(QPalette::Shadow)},
        {0x80000018, role(QPalette::ToolTipBase)},
        {0x8000001A, role(QPalette::Link)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.ole);
        EXPECT_EQ(csTranslateColor(c.ole), c.expected) << csTranslateColor(c.ole).name().toStdString();
    }
    // As a signed 32-bit value, the way callers often hold it.
    EXPECT_EQ(csTranslateColor(quint32(qint32(-2147483633))), role(QPalette::Button));
}

TEST_F(csTranslateColorTest, PlainColoursPassUnchanged)
{
    EXPECT_EQ(csTranslateColor(0x00FF8040), QColor(0x40, 0x80, 0xFF));
    EXPECT_EQ(csTranslateColor(0x00000000), QColor(Qt::black));
    EXPECT_EQ(csTranslateColor(0x00FFFFFF), QColor(Qt::white));
    EXPECT_EQ(csTranslateColor(0x0000FF00), QColor(0, 255, 0));
    EXPECT_EQ(csTranslateColor(0x02123456), QColor(0x56, 0x34, 0x12)) << "palette-relative RGB";
}

TEST_F(csTranslateColorTest, RejectsValuesWithoutAColour)
{
    for (const quint32 bad : {0x80000019u, 0x8000001Fu, 0x800000FFu, 0x01000003u, 0x40000000u, 0xFF000000u}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(raisedNumber([bad] { csTranslateColor(bad); }), 5);
    }
}
