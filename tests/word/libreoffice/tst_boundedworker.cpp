#include "word/libreoffice/BoundedWorker.h"

#include <QTest>

#include <condition_variable>
#include <mutex>
#include <stdexcept>

using namespace std::chrono_literals;

namespace {

// A gate a job waits at until the test opens it.
struct Gate
{
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;

    void Open()
    {
        std::lock_guard lock(mutex);
        open = true;
        opened.notify_all();
    }
    void Pass()
    {
        std::unique_lock lock(mutex);
        opened.wait(lock, [this] { return open; });
    }
};

} // namespace

class TestBoundedWorker : public QObject
{
    Q_OBJECT

private slots:
    void runsJobsInOrderOnOneThread()
    {
        BoundedWorker worker;
        auto order = std::make_shared<std::vector<int>>();
        auto threads = std::make_shared<std::vector<std::thread::id>>();
        worker.Post([=] {
            order->push_back(1);
            threads->push_back(std::this_thread::get_id());
        });
        bool onWorker = false;
        QCOMPARE(worker.Call(
                     [&] {
                         order->push_back(2);
                         threads->push_back(std::this_thread::get_id());
                         onWorker = worker.IsWorkerThread();
                     },
                     10s),
                 BoundedWorker::Outcome::Done);
        QCOMPARE(*order, (std::vector<int>{1, 2}));
        QCOMPARE(threads->at(0), threads->at(1));
        QVERIFY(threads->at(0) != std::this_thread::get_id());
        QVERIFY(onWorker);
        QVERIFY(!worker.IsWorkerThread());
    }

    void throwingJobIsContained()
    {
        BoundedWorker worker;
        QCOMPARE(worker.Call([] { throw std::runtime_error("bridge gone"); }, 10s), BoundedWorker::Outcome::Done);
        int value = 0;
        QCOMPARE(worker.Call([&] { value = 7; }, 10s), BoundedWorker::Outcome::Done);
        QCOMPARE(value, 7);
    }

    void hungJobTimesOutAndLaterCallsFailAtOnce()
    {
        auto gate = std::make_shared<Gate>();
        BoundedWorker worker;
        QCOMPARE(worker.Call([gate] { gate->Pass(); }, 50ms), BoundedWorker::Outcome::TimedOut);
        bool ran = false;
        // Would otherwise queue behind the hung job for as long as it hangs.
        QCOMPARE(worker.Call([&] { ran = true; }, 10min), BoundedWorker::Outcome::Busy);
        QVERIFY(!ran);

        gate->Open();
        auto ranLater = std::make_shared<bool>(false);
        // Once the hung job returns, the worker serves again.
        BoundedWorker::Outcome outcome = BoundedWorker::Outcome::Busy;
        while (outcome == BoundedWorker::Outcome::Busy)
            outcome = worker.Call([ranLater] { *ranLater = true; }, 10s);
        QCOMPARE(outcome, BoundedWorker::Outcome::Done);
        QVERIFY(*ranLater);
    }

    void destructionDoesNotWaitForHungJob()
    {
        auto gate = std::make_shared<Gate>();
        auto finished = std::make_shared<std::atomic<bool>>(false);
        {
            auto worker = std::make_unique<BoundedWorker>();
            worker->stopWait = 50ms;
            QCOMPARE(worker->Call(
                         [gate, finished] {
                             gate->Pass();
                             *finished = true;
                         },
                         50ms),
                     BoundedWorker::Outcome::TimedOut);
        }
        // Reached while the job still hangs: the owner was not frozen.
        QVERIFY(!*finished);
        gate->Open();
    }

    void queuedJobsRunBeforeStop()
    {
        auto count = std::make_shared<int>(0);
        {
            BoundedWorker worker;
            for (int i = 0; i < 5; ++i)
                worker.Post([count] { ++*count; });
        }
        QCOMPARE(*count, 5);
    }
};

QTEST_GUILESS_MAIN(TestBoundedWorker)
#include "tst_boundedworker.moc"
