#include "lib/dialogs/crvBenchMark.h"

#include "lib/dialogs/crvBenchMarkHP.h"
#include "tests/common/RaisedError.h"

#include <QThread>

#include <gtest/gtest.h>

using namespace tessera;

namespace {

// The counters the stopwatches read in these tests.
quint32 fakeTicks = 0;
quint32 ticks()
{
    return fakeTicks;
}
qint64 fakeCounter = 0;
qint64 counter()
{
    return fakeCounter;
}
qint64 tenMegahertz()
{
    return 10000000;
}
qint64 stoppedClock()
{
    return 0;
}

} // namespace

TEST(crvBenchMark, DifferencesAndTexts)
{
    struct Case {
        quint32 start, end;
        std::optional<qint32> iterations;
        qint32 difference;
        const char *text;
    };
    const QList<Case> cases = {
        {1000, 1500, 1000, 500, "0.5 ms. / 1,000 (500 ms.)"},
        {1000, 1500, std::nullopt, 500, "500 ms."},
        {1000, 1500, 0, 500, "500 ms."},
        {1000, 1500, -3, 500, "500 ms."},
        {0, 1234567, 3, 1234567, "411,522.333333 ms. / 3 (1,234,567 ms.)"},
        // The counter wrapped between the marks.
        {0xFFFFFF00u, 0x100, std::nullopt, 512, "512 ms."},
        // The end marked before the start: meaningless, but no error.
        {2000, 1000, std::nullopt, -1000, "-1,000 ms."},
    };
    crvBenchMark bench(&ticks);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        fakeTicks = c.start;
        bench.FirstMark();
        fakeTicks = c.end;
        bench.LaskMark();
        EXPECT_EQ(bench.GetTickDifferenceMS(), c.difference);
        EXPECT_EQ(bench.toString(c.iterations).toStdString(), c.text);
    }

    crvBenchMark real;
    real.FirstMark();
    QThread::msleep(20);
    real.LaskMark();
    EXPECT_GE(real.GetTickDifferenceMS(), 20);
}

TEST(crvBenchMarkHP, DifferencesAndTexts)
{
    crvBenchMarkHP bench(&counter, &tenMegahertz);
    fakeCounter = 1000;
    bench.FirstMark();
    fakeCounter = 1000 + 5000000;
    bench.LaskMark();
    EXPECT_EQ(bench.GetTickDifference(), 5000000.0);
    EXPECT_EQ(bench.GetTickFrequencyPerSec(), 10000000.0);
    EXPECT_EQ(bench.GetTickFrequencyPerMS(), 10000.0);
    EXPECT_EQ(bench.GetTickDifferenceMS(), 500.0);
    EXPECT_EQ(bench.GetTickDifferenceSec(), 0.5);
    EXPECT_EQ(bench.toString(1000).toStdString(), "0.5 ms. / 1,000 (500 ms.)");
    EXPECT_EQ(bench.toString().toStdString(), "500 ms.");

    // The whole time is rounded as the platform rounds, halves to even.
    struct Case {
        qint64 end;
        std::optional<qint32> iterations;
        const char *text;
    };
    for (const Case &c :
         {Case {1000 + 5005000, std::nullopt, "500 ms."}, Case {1000 + 5015000, std::nullopt, "502 ms."},
          Case {1000 + 5016000, 1, "501.6 ms. / 1 (502 ms.)"}}) {
        fakeCounter = c.end;
        bench.LaskMark();
        EXPECT_EQ(bench.toString(c.iterations).toStdString(), c.text);
    }

    // A counter without a frequency gives no time to write.
    crvBenchMarkHP stopped(&counter, &stoppedClock);
    EXPECT_EQ(corvid::test::raisedNumber([&] { stopped.toString(); }), 6);

    crvBenchMarkHP real;
    real.FirstMark();
    QThread::msleep(20);
    real.LaskMark();
    EXPECT_GE(real.GetTickDifferenceMS(), 20.0);
    EXPECT_GT(real.GetTickFrequencyPerSec(), 1000.0);
}
