#include "word/AutomatedWordProcessor.h"

#include "word/WordApplication.h"
#include "word/WordAutomation.h"
#include "word/WordDocument.h"
#include "word/WordFind.h"
#include "word/WordRange.h"

#include <QDir>

namespace {

WordProcessor::Result Failure(const QString& what, const WordStatus& status)
{
    QString message = what;
    if (!status.error.isEmpty())
        message += QStringLiteral(u"\n\n") + status.error;
    return {false, message};
}

WordProcessor::Result OpenFailure(const WordStatus& status)
{
    return Failure(QStringLiteral(u"Не удалось открыть изменяемый документ в текстовом процессоре."), status);
}

// The search of the main text and the selection of its hit. Failures of the search
// and of the selection are ignored: a phrase not found leaves the document as it is.
WordProcessor::Result SelectPhrase(WordDocument& document, const QString& phrase)
{
    std::shared_ptr<WordRange> content;
    WordStatus status = document.Content(content);
    if (!status.ok)
        return OpenFailure(status);
    if (!content)
        return {};
    std::shared_ptr<WordFind> find;
    status = content->Find(find);
    if (!status.ok)
        return OpenFailure(status);
    if (!find)
        return {};
    status = find->SetForward(true);
    if (status.ok)
        status = find->SetWrap(true);
    if (!status.ok)
        return OpenFailure(status);

    bool found = false;
    if (find->Execute(AutomatedWordProcessor::FindText(phrase), found).ok && found)
        content->Select();
    return {};
}

} // namespace

AutomatedWordProcessor::AutomatedWordProcessor(std::shared_ptr<WordAutomation> automation)
    : m_automation(std::move(automation))
{
}

AutomatedWordProcessor::~AutomatedWordProcessor()
{
    // References into the automation go before the automation itself.
    m_wordInstances.clear();
}

QString AutomatedWordProcessor::FindText(const QString& phrase)
{
    if (phrase.size() <= MaxFindLength)
        return phrase;
    qsizetype length = MaxFindLength;
    if (phrase.at(length - 1).isHighSurrogate() && phrase.at(length).isLowSurrogate())
        --length;
    return phrase.left(length);
}

QString AutomatedWordProcessor::WaitingForAnswerMessage()
{
    return QStringLiteral(u"Текстовый процессор ждёт ответа в своём окне. Ответьте на его вопрос (например, "
                          u"сохранить ли документ) и попробуйте ещё раз.");
}

WordProcessor::Result AutomatedWordProcessor::ShowPhraseInWord(const QString& phrase, const QString& editedPath)
{
    if (phrase.isEmpty())
        return {};
    if (PollQuit() == QuitStatus::Deciding)
        return {false, WaitingForAnswerMessage()};

    std::shared_ptr<WordApplication> application;
    if (!m_automation->GetActiveObject(application).ok || !application) {
        application.reset();
        bool started = false;
        const WordStatus status = m_automation->CreateInstance(application, started);
        if (!status.ok)
            return Failure(QStringLiteral(u"Не удалось запустить текстовый процессор."), status);
        if (started)
            m_wordInstances.append(application);
    }

    // Guarded: no application or no active document means the edited copy is not active.
    std::shared_ptr<WordDocument> document;
    if (application && (!application->ActiveDocument(document).ok))
        document.reset();
    if (document) {
        QString fullName;
        const WordStatus status = document->FullName(fullName);
        if (!status.ok)
            return OpenFailure(status);
        if (fullName != editedPath)
            document.reset();
    }

    if (!document) {
        if (!application)
            return OpenFailure(WordStatus::Failed(QStringLiteral(u"Текстовый процессор не отвечает.")));
        const WordStatus status = application->OpenDocument(editedPath, document);
        if (!status.ok)
            return OpenFailure(status);
    }

    const WordStatus status = application->SetVisible(true);
    if (!status.ok)
        return OpenFailure(status);

    if (document)
        return SelectPhrase(*document, phrase);
    return {};
}

QList<std::shared_ptr<WordApplication>> AutomatedWordProcessor::Reachable()
{
    // An instance asking the user could not answer before the user has.
    if (PollQuit() == QuitStatus::Deciding)
        return {};
    QList<std::shared_ptr<WordApplication>> instances;
    std::shared_ptr<WordApplication> running;
    if (m_automation->GetActiveObject(running).ok && running)
        instances << running;
    for (const std::shared_ptr<WordApplication>& own : std::as_const(m_wordInstances)) {
        if (own && own != running)
            instances << own;
    }
    return instances;
}

QList<AutomatedWordProcessor::OpenDocument> AutomatedWordProcessor::OpenDocuments(const QStringList& paths)
{
    QList<OpenDocument> documents;
    const QList<std::shared_ptr<WordApplication>> instances = Reachable();
    for (const QString& path : paths) {
        // An instance that has ended, or cannot answer, holds nothing the user could lose.
        for (const std::shared_ptr<WordApplication>& instance : instances) {
            std::shared_ptr<WordDocument> document;
            if (instance->FindDocument(path, document).ok && document) {
                documents.append({path, document});
                break;
            }
        }
    }
    return documents;
}

QStringList AutomatedWordProcessor::UnsavedDocuments(const QStringList& paths)
{
    QStringList unsaved;
    for (const OpenDocument& open : OpenDocuments(paths)) {
        bool modified = false;
        if (open.document->IsModified(modified).ok && modified && !unsaved.contains(open.path))
            unsaved << open.path;
    }
    return unsaved;
}

WordProcessor::Result AutomatedWordProcessor::SaveDocuments(const QStringList& paths)
{
    for (const OpenDocument& open : OpenDocuments(paths)) {
        const WordStatus status = open.document->Save();
        if (!status.ok)
            return Failure(QStringLiteral(u"Текстовый процессор не сохранил документ %1.")
                               .arg(QDir::toNativeSeparators(open.path)),
                           status);
    }
    return {};
}

QuitStatus AutomatedWordProcessor::PollQuit()
{
    if (m_quitting) {
        m_lastQuit = m_quitting->PollQuit();
        if (m_lastQuit != QuitStatus::Deciding)
            m_quitting.reset();
    }
    return m_lastQuit;
}

void AutomatedWordProcessor::QuitOwnWordInstances()
{
    if (PollQuit() == QuitStatus::Deciding)
        return;
    // The office's own handling of unsaved documents, so that edits not yet saved are
    // never thrown away behind the user's back. One that asks the user is left to it.
    for (const std::shared_ptr<WordApplication>& instance : std::as_const(m_wordInstances)) {
        if (!instance || instance->RequestQuit() != QuitStatus::Deciding || m_quitting)
            continue;
        m_quitting = instance;
        m_lastQuit = QuitStatus::Deciding;
    }
}
