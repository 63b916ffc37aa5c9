#include "FakeWordAutomation.h"

namespace {

class FakeWordFind;

class FakeWordRange : public WordRange
{
public:
    FakeWordRange(std::shared_ptr<FakeWordWorld> world, FakeWordDocument* document, QString text)
        : m_world(std::move(world)), m_document(document), m_text(std::move(text))
    {
    }

    WordStatus Find(std::shared_ptr<WordFind>& find) override;
    WordStatus Select() override
    {
        m_world->log << QStringLiteral(u"Select(%1)").arg(m_hit);
        m_document->selection = m_hit;
        return {};
    }

    void Narrow(const QString& hit) { m_hit = hit; }
    const QString& Text() const { return m_text; }

private:
    std::shared_ptr<FakeWordWorld> m_world;
    FakeWordDocument* m_document;
    QString m_text;
    QString m_hit;
};

class FakeWordFind : public WordFind
{
public:
    FakeWordFind(std::shared_ptr<FakeWordWorld> world, FakeWordRange* range) : m_world(std::move(world)), m_range(range)
    {
    }

    WordStatus SetForward(bool forward) override
    {
        m_world->log << QStringLiteral(u"SetForward(%1)").arg(forward);
        return {};
    }
    WordStatus SetWrap(bool wrapToStart) override
    {
        m_world->log << QStringLiteral(u"SetWrap(%1)").arg(wrapToStart);
        return {};
    }
    WordStatus Execute(const QString& text, bool& found) override
    {
        m_world->log << QStringLiteral(u"Execute(%1)").arg(text);
        found = m_range->Text().contains(text, Qt::CaseInsensitive);
        if (found)
            m_range->Narrow(text);
        return {};
    }

private:
    std::shared_ptr<FakeWordWorld> m_world;
    FakeWordRange* m_range;
};

WordStatus FakeWordRange::Find(std::shared_ptr<WordFind>& find)
{
    m_world->log << QStringLiteral(u"Find()");
    find = std::make_shared<FakeWordFind>(m_world, this);
    return {};
}

} // namespace

FakeWordDocument::FakeWordDocument(std::shared_ptr<FakeWordWorld> world, FakeWordApplication* application,
                                   QString fullPath)
    : path(std::move(fullPath)), m_world(std::move(world)), m_application(application)
{
}

WordStatus FakeWordDocument::FullName(QString& name)
{
    m_world->log << QStringLiteral(u"FullName()");
    if (m_application->ended)
        return WordStatus::Failed(QStringLiteral(u"ended"));
    name = path;
    return {};
}

WordStatus FakeWordDocument::Content(std::shared_ptr<WordRange>& content)
{
    m_world->log << QStringLiteral(u"Content()");
    if (contentFails)
        return WordStatus::Failed(QStringLiteral(u"no content"));
    content = std::make_shared<FakeWordRange>(m_world, this, m_world->files.value(path));
    return {};
}

WordStatus FakeWordDocument::IsModified(bool& isModified)
{
    m_world->log << QStringLiteral(u"IsModified(%1)").arg(path);
    if (m_application->ended)
        return WordStatus::Failed(QStringLiteral(u"ended"));
    isModified = modified;
    return {};
}

WordStatus FakeWordDocument::Save()
{
    m_world->log << QStringLiteral(u"Save(%1)").arg(path);
    if (m_application->ended || saveFails)
        return WordStatus::Failed(QStringLiteral(u"cannot save"));
    modified = false;
    return {};
}

FakeWordApplication::FakeWordApplication(std::shared_ptr<FakeWordWorld> world) : m_world(std::move(world)) {}

bool FakeWordApplication::Alive(const QString& call)
{
    m_world->log << call;
    return !ended;
}

WordStatus FakeWordApplication::ActiveDocument(std::shared_ptr<WordDocument>& document)
{
    if (!Alive(QStringLiteral(u"ActiveDocument()")))
        return WordStatus::Failed(QStringLiteral(u"ended"));
    if (!active)
        return WordStatus::Failed(QStringLiteral(u"no document"));
    document = active;
    return {};
}

WordStatus FakeWordApplication::OpenDocument(const QString& path, std::shared_ptr<WordDocument>& document)
{
    if (!Alive(QStringLiteral(u"OpenDocument(%1)").arg(path)))
        return WordStatus::Failed(QStringLiteral(u"ended"));
    if (openFails || !m_world->files.contains(path))
        return WordStatus::Failed(QStringLiteral(u"cannot open %1").arg(path));
    for (const auto& open : std::as_const(documents)) {
        if (open->path == path)
            active = open;
    }
    if (!active || active->path != path) {
        active = std::make_shared<FakeWordDocument>(m_world, this, path);
        documents << active;
    }
    document = active;
    return {};
}

WordStatus FakeWordApplication::FindDocument(const QString& path, std::shared_ptr<WordDocument>& document)
{
    if (!Alive(QStringLiteral(u"FindDocument(%1)").arg(path)))
        return WordStatus::Failed(QStringLiteral(u"ended"));
    for (const auto& open : std::as_const(documents)) {
        if (open->path == path)
            document = open;
    }
    return {};
}

WordStatus FakeWordApplication::SetVisible(bool show)
{
    if (!Alive(QStringLiteral(u"SetVisible(%1)").arg(show)))
        return WordStatus::Failed(QStringLiteral(u"ended"));
    visible = show;
    return {};
}

QuitStatus FakeWordApplication::NextQuitAnswer()
{
    if (quitScript.isEmpty())
        return refuseQuit ? QuitStatus::Refused : QuitStatus::Quit;
    return quitScript.size() > 1 ? quitScript.takeFirst() : quitScript.first();
}

QuitStatus FakeWordApplication::RequestQuit()
{
    if (!Alive(QStringLiteral(u"RequestQuit()")))
        return QuitStatus::NotRunning;
    m_quit = NextQuitAnswer();
    ended = m_quit == QuitStatus::Quit;
    return m_quit;
}

QuitStatus FakeWordApplication::PollQuit()
{
    m_world->log << QStringLiteral(u"PollQuit()");
    if (m_quit == QuitStatus::Deciding) {
        m_quit = NextQuitAnswer();
        ended = m_quit == QuitStatus::Quit;
    }
    return m_quit;
}

FakeWordAutomation::FakeWordAutomation() : world(std::make_shared<FakeWordWorld>()) {}

WordStatus FakeWordAutomation::GetActiveObject(std::shared_ptr<WordApplication>& application)
{
    world->log << QStringLiteral(u"GetActiveObject()");
    if (!installed || hideRunning || !running || running->ended)
        return WordStatus::Failed(QStringLiteral(u"none running"));
    application = running;
    return {};
}

WordStatus FakeWordAutomation::CreateInstance(std::shared_ptr<WordApplication>& application, bool& startedOne)
{
    world->log << QStringLiteral(u"CreateInstance()");
    if (!installed)
        return WordStatus::Failed(QStringLiteral(u"not installed"));
    if (startGivesNoApplication) {
        startedOne = true;
        ++started;
        return {};
    }
    if (startForwards && running && !running->ended) {
        startedOne = false;
        application = running;
        return {};
    }
    running = std::make_shared<FakeWordApplication>(world);
    application = running;
    startedOne = true;
    ++started;
    return {};
}
