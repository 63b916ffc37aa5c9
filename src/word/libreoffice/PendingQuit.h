#pragma once

#include "word/QuitStatus.h"
#include "word/libreoffice/BoundedWorker.h"

#include <chrono>
#include <functional>
#include <memory>

// One quit request at a time on the module's worker thread. A visible office asks the
// user about unsaved documents inside the quit call, which then does not return until
// the user has answered; the caller waits only a short while and afterwards polls. The
// request's state outlives this object, so a job still running can always report.
class PendingQuit
{
public:
    PendingQuit();

    // Runs quit on worker and waits for it at most wait. While an earlier request is
    // still running, nothing is run and Deciding is returned. A quit that throws, or
    // that the worker cannot run (an earlier job overran), counts as Refused.
    QuitStatus Request(BoundedWorker& worker, std::function<QuitStatus()> quit, std::chrono::milliseconds wait);
    // Deciding while the last request runs, else how it ended; NotRunning before any.
    QuitStatus Status() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};
