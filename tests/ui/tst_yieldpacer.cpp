// The pace of counted yields, against a clock the test moves by hand: what
// is owed, when events are handled, when and until when the debt is waited
// off, and how a long stall starts a new deadline.
#include <QtTest>
#include <vector>

#include "support/QtTestMain.h"
#include "ui/YieldPacer.h"

using capzel::ui::YieldPacer;
using namespace std::chrono;
using namespace std::chrono_literals;

namespace {

// A hand-moved clock; waiting moves it to the deadline, handling events
// moves it by `eventCost`.
struct FakeTime {
    YieldPacer::Clock::time_point now{} ;
    nanoseconds eventCost{0};
    int eventPasses = 0;
    std::vector<YieldPacer::Clock::time_point> waits;

    YieldPacer pacer() {
        return YieldPacer(YieldPacer::Hooks{
            [this] { return now; },
            [this] {
                ++eventPasses;
                now += eventCost;
            },
            [this](YieldPacer::Clock::time_point deadline) {
                waits.push_back(deadline);
                if (deadline > now) now = deadline;
            },
        });
    }
    nanoseconds since(YieldPacer::Clock::time_point start) const { return now - start; }
};

}  // namespace

class YieldPacerTest : public QObject {
    Q_OBJECT
private slots:
    void aBatchCostsItsCountOfQuanta_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("waits");
        QTest::addColumn<int>("eventPasses");
        QTest::newRow("an engine step of 6000") << 6000 << 1 << 1;
        QTest::newRow("a calibration of 10000") << 10000 << 1 << 1;
        QTest::newRow("a power-bar tick of 200: under a millisecond, no wait") << 200 << 0 << 1;
        QTest::newRow("40: owed, events later") << 40 << 0 << 0;
        QTest::newRow("nothing for 0") << 0 << 0 << 0;
        QTest::newRow("nothing for a negative count") << -5 << 0 << 0;
    }
    void aBatchCostsItsCountOfQuanta() {
        QFETCH(int, count);
        QFETCH(int, waits);
        QFETCH(int, eventPasses);
        FakeTime t;
        t.now += 1h;
        const auto start = t.now;
        YieldPacer p = t.pacer();
        p.yield(count);
        QCOMPARE(int(t.waits.size()), waits);
        QCOMPARE(t.eventPasses, eventPasses);
        if (waits > 0) {
            QVERIFY(t.waits.front() == start + count * YieldPacer::kQuantum);
            QVERIFY(t.since(start) == count * YieldPacer::kQuantum);
        }
    }

    void singleYieldsHandleEventsEveryFiftieth() {
        FakeTime t;
        YieldPacer p = t.pacer();
        for (int i = 1; i <= 1000; ++i) {
            p.yield(1);
            QCOMPARE(t.eventPasses, i / 50);
        }
    }

    void singleYieldsWaitOffAboutAMillisecondAtATime() {
        FakeTime t;
        const auto start = t.now;
        YieldPacer p = t.pacer();
        for (int i = 0; i < 10000; ++i) p.yield(1);
        // 10,000 x 3 us in waits of just over a millisecond each.
        QCOMPARE(int(t.waits.size()), 29);
        QVERIFY(t.waits.front() == start + 334 * YieldPacer::kQuantum);
        for (std::size_t k = 1; k < t.waits.size(); ++k)
            QVERIFY(t.waits[k] - t.waits[k - 1] == 334 * YieldPacer::kQuantum);
        QVERIFY(p.deadline() == start + 10000 * YieldPacer::kQuantum);
    }

    void timeSpentOnEventsCountsTowardsTheDebt() {
        FakeTime t;
        t.eventCost = 5ms;  // a slow paint
        const auto start = t.now;
        YieldPacer p = t.pacer();
        p.yield(6000);
        QCOMPARE(int(t.waits.size()), 1);
        QVERIFY(t.waits.front() == start + 18ms);
        QVERIFY(t.since(start) == 18ms);  // not 23 ms
    }

    // The deadline is absolute: running a little late (under the stall
    // limit) is made up by the following batches instead of drifting; but
    // after a long stall (a modal box was open) the next batch starts a new
    // deadline instead of racing to catch up.
    void lateBatchesAndStalls_data() {
        QTest::addColumn<int>("lateMs");
        QTest::addColumn<int>("lastWaitEndsMs");  // after the start
        QTest::newRow("late by 10 ms: owes 36 ms from the start") << 10 << 36;
        QTest::newRow("a stall of 2 s: 18 ms from where it resumed") << 2000 << 18 + 2000 + 18;
    }
    void lateBatchesAndStalls() {
        QFETCH(int, lateMs);
        QFETCH(int, lastWaitEndsMs);
        FakeTime t;
        const auto start = t.now;
        YieldPacer p = t.pacer();
        p.yield(6000);
        t.now += milliseconds(lateMs);
        p.yield(6000);
        QCOMPARE(int(t.waits.size()), 2);
        QVERIFY(t.waits.back() == start + milliseconds(lastWaitEndsMs));
    }
};

CAPZEL_QT_TEST_MAIN(YieldPacerTest)
#include "tst_yieldpacer.moc"
