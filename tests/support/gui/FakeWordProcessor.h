#pragma once

#include "RecordingWordProcessor.h"

#include <QCursor>
#include <QGuiApplication>

// Records what the window asks of the word processor, and whether the busy cursor
// was showing at the time. The window owns the fake; the test keeps the log.
class FakeWordProcessor : public RecordingWordProcessor
{
public:
    using RecordingWordProcessor::RecordingWordProcessor;

protected:
    void record(const QString& call) override
    {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        if (!cursor || cursor->shape() != Qt::WaitCursor)
            ++m_log->callsWithoutBusyCursor;
        RecordingWordProcessor::record(call);
    }
};
