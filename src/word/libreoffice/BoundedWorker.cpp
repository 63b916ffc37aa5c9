#include "word/libreoffice/BoundedWorker.h"

#include <condition_variable>
#include <deque>
#include <mutex>

struct BoundedWorker::State
{
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable finishedChanged;
    std::condition_variable idle;
    std::deque<std::function<void()>> jobs;
    bool stop = false;
    bool finished = false;
    // A caller gave up on the job that is running now.
    bool overran = false;
    bool running = false;
};

BoundedWorker::BoundedWorker() : m_state(std::make_shared<State>())
{
    // The thread holds its own share of the state, so it can outlive this object.
    m_thread = std::thread([state = m_state] { RunJobs(state); });
}

BoundedWorker::~BoundedWorker()
{
    std::unique_lock lock(m_state->mutex);
    m_state->stop = true;
    m_state->wake.notify_all();
    if (std::this_thread::get_id() == m_thread.get_id()) {
        lock.unlock();
        m_thread.detach();
        return;
    }
    const bool finished = m_state->finishedChanged.wait_for(lock, stopWait, [this] { return m_state->finished; });
    lock.unlock();
    if (finished)
        m_thread.join();
    else
        m_thread.detach();
}

BoundedWorker::Outcome BoundedWorker::Call(std::function<void()> job, std::chrono::milliseconds timeout)
{
    struct Done
    {
        std::mutex mutex;
        std::condition_variable changed;
        bool done = false;
    };
    auto done = std::make_shared<Done>();
    {
        std::unique_lock lock(m_state->mutex);
        if (m_state->overran && m_state->running &&
            !m_state->idle.wait_for(lock, std::min(timeout, busyGrace), [this] { return !m_state->running; }))
            return Outcome::Busy;
        m_state->overran = false;
        m_state->jobs.push_back([job = std::move(job), done] {
            try {
                job();
            } catch (...) {
            }
            std::lock_guard doneLock(done->mutex);
            done->done = true;
            done->changed.notify_all();
        });
        m_state->wake.notify_all();
    }
    std::unique_lock lock(done->mutex);
    if (done->changed.wait_for(lock, timeout, [&] { return done->done; }))
        return Outcome::Done;
    lock.unlock();
    std::lock_guard stateLock(m_state->mutex);
    m_state->overran = true;
    return Outcome::TimedOut;
}

void BoundedWorker::Post(std::function<void()> job)
{
    std::lock_guard lock(m_state->mutex);
    m_state->jobs.push_back(std::move(job));
    m_state->wake.notify_all();
}

bool BoundedWorker::IsWorkerThread() const
{
    return std::this_thread::get_id() == m_thread.get_id();
}

void BoundedWorker::RunJobs(const std::shared_ptr<State>& state)
{
    std::unique_lock lock(state->mutex);
    for (;;) {
        state->wake.wait(lock, [&] { return state->stop || !state->jobs.empty(); });
        if (state->jobs.empty())
            break;
        std::function<void()> job = std::move(state->jobs.front());
        state->jobs.pop_front();
        state->running = true;
        lock.unlock();
        try {
            job();
        } catch (...) {
        }
        job = nullptr;
        lock.lock();
        state->running = false;
        state->overran = false;
        state->idle.notify_all();
    }
    state->finished = true;
    state->finishedChanged.notify_all();
}
