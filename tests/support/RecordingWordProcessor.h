#pragma once

#include "word/WordProcessor.h"

#include <QStringList>
#include <functional>
#include <memory>

// What a test's word processor was asked, in call order. The owner of the processor
// (a window or a session) holds the processor; the test keeps the log.
struct WordLog
{
    QStringList calls; // "show", "unsaved", "save", "quitOwn"
    QStringList phrases;
    QStringList paths;
    // The documents UnsavedDocuments and SaveDocuments were given.
    QStringList asked;
    // Calls made while the busy cursor was not showing (FakeWordProcessor only).
    int callsWithoutBusyCursor = 0;
    WordProcessor::Result nextResult;
    // Runs at each call, after it is recorded: a test can act as the word processor
    // would, for instance save a document when asked to quit.
    std::function<void(const QString& call)> onCall;
    // The documents the word processor holds with unsaved changes; saving them clears
    // the list (unless nextResult fails) and runs onSave first.
    QStringList unsaved;
    std::function<void(const QStringList& paths)> onSave;

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
    QStringList UnsavedDocuments(const QStringList& paths) override
    {
        m_log->asked << paths;
        record(QStringLiteral("unsaved"));
        QStringList held;
        for (const QString& path : paths) {
            if (m_log->unsaved.contains(path))
                held << path;
        }
        return held;
    }
    Result SaveDocuments(const QStringList& paths) override
    {
        m_log->asked << paths;
        record(QStringLiteral("save"));
        if (!m_log->nextResult.ok)
            return m_log->nextResult;
        if (m_log->onSave)
            m_log->onSave(paths);
        for (const QString& path : paths)
            m_log->unsaved.removeAll(path);
        return {};
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
};
