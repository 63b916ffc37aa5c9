#pragma once

#include "word/WordProcessor.h"

#include <QStringList>
#include <functional>
#include <memory>

// What a test's word processor was asked, in call order. The owner of the processor
// (a window or a session) holds the processor; the test keeps the log.
struct WordLog
{
    QStringList calls; // "show", "quitActive", "quitOwn"
    QStringList phrases;
    QStringList paths;
    // Calls made while the busy cursor was not showing (FakeWordProcessor only).
    int callsWithoutBusyCursor = 0;
    WordProcessor::Result nextResult;
    // Runs at each call, after it is recorded: a test can act as the word processor
    // would, for instance save a document when asked to quit.
    std::function<void(const QString& call)> onCall;
    // What QuitActiveWord and then each PollQuit answer, in turn; the last answer repeats.
    // Empty: no word processor runs. A quit still Deciding is not asked again.
    QList<QuitStatus> quitScript;
    // Runs when a quit turns out Quit or Refused, as the word processor's own saving would.
    std::function<void(QuitStatus)> onQuitDecided;
    int polls = 0;

    int count(const QString& call) const { return int(calls.count(call)); }
};

// A word processor that only records what it is asked and answers nextResult.
class RecordingWordProcessor : public WordProcessor
{
public:
    explicit RecordingWordProcessor(std::shared_ptr<WordLog> log) : m_log(std::move(log)) {}

    Result ShowPhraseInWord(const QString& phrase, const QString& editedPath) override
    {
        m_log->phrases << phrase;
        m_log->paths << editedPath;
        record(QStringLiteral("show"));
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

protected:
    virtual void record(const QString& call)
    {
        m_log->calls << call;
        if (m_log->onCall)
            m_log->onCall(call);
    }

    std::shared_ptr<WordLog> m_log;

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

    QuitStatus m_quit = QuitStatus::NotRunning;
};
