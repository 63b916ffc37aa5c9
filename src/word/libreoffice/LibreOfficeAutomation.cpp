#include "LibreOfficeAutomation.h"

#include "LibreOfficeApplication.h"
#include "UnoOffice.h"

#include <csignal>

namespace {

// The worker's own limit on starting an office stays inside the caller's wait, so a slow
// start ends as "did not start in time" rather than as an abandoned call.
constexpr int StartMarginMs = 1000;

// The bridge writes to the office's socket from threads of its own; once the office has
// died, such a write must fail with EPIPE instead of killing the whole program.
void IgnoreBrokenPipes()
{
    struct sigaction current
    {
    };
    if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        ::signal(SIGPIPE, SIG_IGN);
}

} // namespace

LibreOfficeAutomation::LibreOfficeAutomation(const LibreOfficeOptions& options)
{
    IgnoreBrokenPipes();
    m_shared.worker = std::make_shared<BoundedWorker>();
    m_shared.quit = std::make_shared<PendingQuit>();
    m_shared.options = options;
    m_shared.office = UnoCall::WorkerOwned(m_shared.worker, new UnoOffice(options));
}

LibreOfficeAutomation::~LibreOfficeAutomation() = default;

WordStatus LibreOfficeAutomation::GetActiveObject(std::shared_ptr<WordApplication>& application)
{
    auto refs = UnoCall::WorkerOwned(m_shared.worker, new LibreOfficeApplication::Refs);
    const WordStatus status = UnoCall::Run(m_shared, m_shared.options.callTimeoutMs, [office = m_shared.office, refs] {
        return office->FindRunning(refs->desktop);
    });
    if (status.ok)
        application = std::make_shared<LibreOfficeApplication>(m_shared, refs);
    return status;
}

WordStatus LibreOfficeAutomation::CreateInstance(std::shared_ptr<WordApplication>& application, bool& started)
{
    auto refs = UnoCall::WorkerOwned(m_shared.worker, new LibreOfficeApplication::Refs);
    auto startedOut = std::make_shared<bool>(false);
    const int timeoutMs = m_shared.options.startTimeoutMs;
    const WordStatus status =
        UnoCall::Run(m_shared, timeoutMs, [office = m_shared.office, refs, startedOut, timeoutMs] {
            return office->Start(refs->desktop, *startedOut, QDeadlineTimer(qMax(0, timeoutMs - StartMarginMs)));
        });
    if (!status.ok)
        return status;
    started = *startedOut;
    application = std::make_shared<LibreOfficeApplication>(m_shared, refs);
    return status;
}
