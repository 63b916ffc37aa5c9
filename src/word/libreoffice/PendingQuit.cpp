#include "word/libreoffice/PendingQuit.h"

#include <mutex>

struct PendingQuit::State
{
    mutable std::mutex mutex;
    QuitStatus status = QuitStatus::NotRunning;

    void Set(QuitStatus value)
    {
        std::lock_guard lock(mutex);
        status = value;
    }
    QuitStatus Get() const
    {
        std::lock_guard lock(mutex);
        return status;
    }
};

PendingQuit::PendingQuit() : m_state(std::make_shared<State>()) {}

QuitStatus PendingQuit::Request(BoundedWorker& worker, std::function<QuitStatus()> quit, std::chrono::milliseconds wait)
{
    {
        std::lock_guard lock(m_state->mutex);
        if (m_state->status == QuitStatus::Deciding)
            return QuitStatus::Deciding;
        m_state->status = QuitStatus::Deciding;
    }
    const BoundedWorker::Outcome outcome = worker.Call(
        [state = m_state, quit = std::move(quit)] {
            QuitStatus result = QuitStatus::Refused;
            try {
                result = quit();
            } catch (...) {
            }
            // A job that answers Deciding would leave the request pending for ever.
            state->Set(result == QuitStatus::Deciding ? QuitStatus::Refused : result);
        },
        wait);
    if (outcome == BoundedWorker::Outcome::Busy)
        m_state->Set(QuitStatus::Refused);
    return m_state->Get();
}

QuitStatus PendingQuit::Status() const
{
    return m_state->Get();
}
