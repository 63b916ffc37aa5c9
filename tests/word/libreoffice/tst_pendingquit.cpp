#include "word/libreoffice/PendingQuit.h"

#include <QTest>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>

using namespace std::chrono_literals;

namespace {

// Stands for the office's question: the quit job waits here until the test answers.
struct Question
{
    std::mutex mutex;
    std::condition_variable answered;
    bool open = true;
    bool asked = false;
    QuitStatus answer = QuitStatus::Quit;

    void Answer(QuitStatus status)
    {
        std::lock_guard lock(mutex);
        answer = status;
        open = false;
        answered.notify_all();
    }
    QuitStatus Ask()
    {
        std::unique_lock lock(mutex);
        asked = true;
        answered.notify_all();
        answered.wait(lock, [this] { return !open; });
        return answer;
    }
    // Waits until a job is inside Ask, so that the worker is known to be busy with it.
    void WaitUntilAsked()
    {
        std::unique_lock lock(mutex);
        answered.wait(lock, [this] { return asked; });
    }
};

// Waits until every job queued on worker before this call has run.
void Drain(BoundedWorker& worker)
{
    QCOMPARE(worker.Call([] {}, 60s), BoundedWorker::Outcome::Done);
}

} // namespace

// The quit request that outlasts its wait: how it reports an office still asking the
// user, and how it ends.
class TestPendingQuit : public QObject
{
    Q_OBJECT

private slots:
    void quitWithoutQuestionIsDecidedAtOnce_data()
    {
        QTest::addColumn<QuitStatus>("answer");
        QTest::addColumn<QuitStatus>("expected");
        QTest::newRow("quit") << QuitStatus::Quit << QuitStatus::Quit;
        QTest::newRow("refused") << QuitStatus::Refused << QuitStatus::Refused;
        QTest::newRow("nothing to quit") << QuitStatus::NotRunning << QuitStatus::NotRunning;
        // A job cannot leave the request pending for ever.
        QTest::newRow("job claims deciding") << QuitStatus::Deciding << QuitStatus::Refused;
    }

    void quitWithoutQuestionIsDecidedAtOnce()
    {
        QFETCH(QuitStatus, answer);
        QFETCH(QuitStatus, expected);
        BoundedWorker worker;
        PendingQuit quit;
        QCOMPARE(quit.Status(), QuitStatus::NotRunning);
        QCOMPARE(quit.Request(
                     worker, [answer] { return answer; }, 60s),
                 expected);
        QCOMPARE(quit.Status(), expected);
    }

    void throwingQuitIsRefused()
    {
        BoundedWorker worker;
        PendingQuit quit;
        QCOMPARE(quit.Request(
                     worker, []() -> QuitStatus { throw std::runtime_error("bridge"); }, 60s),
                 QuitStatus::Refused);
    }

    void questionKeepsItDecidingUntilAnswered_data()
    {
        QTest::addColumn<QuitStatus>("answer");
        QTest::newRow("saved or not saved") << QuitStatus::Quit;
        QTest::newRow("cancelled") << QuitStatus::Refused;
    }

    void questionKeepsItDecidingUntilAnswered()
    {
        QFETCH(QuitStatus, answer);
        BoundedWorker worker;
        PendingQuit quit;
        auto question = std::make_shared<Question>();
        auto asked = std::make_shared<std::atomic<int>>(0);
        const auto job = [question, asked] {
            ++*asked;
            return question->Ask();
        };
        QCOMPARE(quit.Request(worker, job, 0ms), QuitStatus::Deciding);
        QCOMPARE(quit.Status(), QuitStatus::Deciding);
        // Asked again meanwhile: the same request, not a second one queued behind it.
        QCOMPARE(quit.Request(worker, job, 0ms), QuitStatus::Deciding);

        question->Answer(answer);
        Drain(worker);
        QCOMPARE(quit.Status(), answer);
        QCOMPARE(asked->load(), 1);
    }

    void stateOutlivesTheRequester()
    {
        BoundedWorker worker;
        auto question = std::make_shared<Question>();
        {
            PendingQuit quit;
            QCOMPARE(quit.Request(
                         worker, [question] { return question->Ask(); }, 0ms),
                     QuitStatus::Deciding);
        }
        // The job finishes after its requester has gone, without touching freed memory.
        question->Answer(QuitStatus::Quit);
        Drain(worker);
    }

    void workerBusyWithAnotherJobRefuses()
    {
        BoundedWorker worker;
        worker.busyGrace = 0ms;
        auto question = std::make_shared<Question>();
        QCOMPARE(worker.Call([question] { question->Ask(); }, 0ms), BoundedWorker::Outcome::TimedOut);
        question->WaitUntilAsked();
        PendingQuit quit;
        QCOMPARE(quit.Request(
                     worker, [] { return QuitStatus::Quit; }, 0ms),
                 QuitStatus::Refused);
        // Not left pending: once the worker is free, the next request runs. The answered
        // job may still be on its way out when the drain comes: let the drain wait for it.
        question->Answer(QuitStatus::Quit);
        worker.busyGrace = 60s;
        Drain(worker);
        QCOMPARE(quit.Request(
                     worker, [] { return QuitStatus::Quit; }, 60s),
                 QuitStatus::Quit);
    }
};

QTEST_GUILESS_MAIN(TestPendingQuit)
#include "tst_pendingquit.moc"
