#pragma once

#include "word/WordProcessor.h"

#include <QCursor>
#include <QGuiApplication>
#include <QStringList>
#include <memory>

// Records what the window asks of the word processor, and whether the busy cursor
// was showing at the time. The window owns the fake; the test keeps the log.
struct WordLog
{
    QStringList calls;
    QStringList phrases;
    QStringList paths;
    int callsWithoutBusyCursor = 0;
    WordProcessor::Result nextResult;

    int count(const QString& call) const { return int(calls.count(call)); }
};

class FakeWordProcessor : public WordProcessor
{
public:
    explicit FakeWordProcessor(std::shared_ptr<WordLog> log) : m_log(std::move(log)) {}

    Result ShowPhraseInWord(const QString& phrase, const QString& editedPath) override
    {
        record(QStringLiteral("show"));
        m_log->phrases << phrase;
        m_log->paths << editedPath;
        return m_log->nextResult;
    }
    void QuitActiveWord() override { record(QStringLiteral("quitActive")); }
    void QuitOwnWordInstances() override { record(QStringLiteral("quitOwn")); }

private:
    void record(const QString& call)
    {
        m_log->calls << call;
        const QCursor* cursor = QGuiApplication::overrideCursor();
        if (!cursor || cursor->shape() != Qt::WaitCursor)
            ++m_log->callsWithoutBusyCursor;
    }

    std::shared_ptr<WordLog> m_log;
};
