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

FakeWordDocument::FakeWordDocument(std::shared_ptr<FakeWordWorld> world, FakeWordApplication* application, QString path)
    : path(std::move(path)), m_world(std::move(world)), m_application(application)
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

WordStatus FakeWordApplication::SetVisible(bool visible)
{
    if (!Alive(QStringLiteral(u"SetVisible(%1)").arg(visible)))
        return WordStatus::Failed(QStringLiteral(u"ended"));
    this->visible = visible;
    return {};
}

WordStatus FakeWordApplication::Quit(SaveChanges saveChanges)
{
    const QString mode =
        saveChanges == SaveChanges::OfficeDefault ? QStringLiteral(u"OfficeDefault") : QStringLiteral(u"DoNotSave");
    if (!Alive(QStringLiteral(u"Quit(%1)").arg(mode)))
        return WordStatus::Failed(QStringLiteral(u"ended"));
    if (refuseQuit)
        return WordStatus::Failed(QStringLiteral(u"cancelled"));
    ended = true;
    return {};
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

WordStatus FakeWordAutomation::CreateInstance(std::shared_ptr<WordApplication>& application, bool& started)
{
    world->log << QStringLiteral(u"CreateInstance()");
    if (!installed)
        return WordStatus::Failed(QStringLiteral(u"not installed"));
    if (startGivesNoApplication) {
        started = true;
        ++this->started;
        return {};
    }
    if (startForwards && running && !running->ended) {
        started = false;
        application = running;
        return {};
    }
    running = std::make_shared<FakeWordApplication>(world);
    application = running;
    started = true;
    ++this->started;
    return {};
}
