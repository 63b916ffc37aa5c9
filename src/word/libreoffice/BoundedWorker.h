#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

// One thread that runs jobs in order, for a library that must be called from a single
// thread and may block without end (a remote process that hangs). Callers wait for a
// job at most a given time; a job that overran keeps the worker busy, and every call
// made meanwhile fails at once instead of queueing behind it.
class BoundedWorker
{
public:
    enum class Outcome
    {
        Done,
        // The job did not finish in time; it may still finish later.
        TimedOut,
        // An earlier job overran and still runs: the job was not run.
        Busy,
    };

    BoundedWorker();
    // Runs the jobs already queued, then stops. A job that overran is not waited for
    // beyond stopWait: the thread is then left to finish on its own.
    ~BoundedWorker();

    BoundedWorker(const BoundedWorker&) = delete;
    BoundedWorker& operator=(const BoundedWorker&) = delete;

    // Runs job on the worker and waits for it at most timeout. Exceptions thrown by the
    // job are swallowed: jobs report through what they capture. While an earlier job
    // overruns, waits at most busyGrace for it to end (a dead peer frees it quickly),
    // then gives up with Busy.
    Outcome Call(std::function<void()> job, std::chrono::milliseconds timeout);
    // Queues job without waiting (releasing what the worker holds).
    void Post(std::function<void()> job);
    bool IsWorkerThread() const;

    std::chrono::milliseconds stopWait{5000};
    std::chrono::milliseconds busyGrace{1000};

private:
    struct State;
    static void RunJobs(const std::shared_ptr<State>& state);

    std::shared_ptr<State> m_state;
    std::thread m_thread;
};
