#pragma once

#include "word/WordProcessor.h"

#include <QCursor>
#include <QGuiApplication>
#include <QStringList>
#include <functional>
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
    // What QuitActiveWord and then each PollQuit answer, in turn; the last answer repeats.
    // Empty: nothing runs. A quit still Deciding is not asked again.
    QList<QuitStatus> quitScript;
    // Runs when a quit turns out Quit or Refused, as the word processor's own saving would.
    std::function<void(QuitStatus)> onQuitDecided;
    int polls = 0;

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
    QuitStatus QuitActiveWord() override
    {
        record(QStringLiteral("quitActive"));
        if (m_quit != QuitStatus::Deciding)
            decide();
        return m_quit;
    }
    QuitStatus PollQuit() override
    {
        ++m_log->polls;
        if (m_quit == QuitStatus::Deciding)
            decide();
        return m_quit;
    }
    void QuitOwnWordInstances() override { record(QStringLiteral("quitOwn")); }

private:
    void decide()
    {
        QList<QuitStatus>& script = m_log->quitScript;
        if (script.isEmpty())
            m_quit = QuitStatus::NotRunning;
        else
            m_quit = script.size() > 1 ? script.takeFirst() : script.first();
        if ((m_quit == QuitStatus::Quit || m_quit == QuitStatus::Refused) && m_log->onQuitDecided)
            m_log->onQuitDecided(m_quit);
    }

    void record(const QString& call)
    {
        m_log->calls << call;
        const QCursor* cursor = QGuiApplication::overrideCursor();
        if (!cursor || cursor->shape() != Qt::WaitCursor)
            ++m_log->callsWithoutBusyCursor;
    }

    std::shared_ptr<WordLog> m_log;
    QuitStatus m_quit = QuitStatus::NotRunning;
};
