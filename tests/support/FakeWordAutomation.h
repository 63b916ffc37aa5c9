#pragma once

#include "word/WordApplication.h"
#include "word/WordAutomation.h"
#include "word/WordDocument.h"
#include "word/WordFind.h"
#include "word/WordRange.h"

#include <QHash>
#include <QStringList>
#include <memory>

// A recording word processor for protocol tests: every call into the object model is
// written to one shared log as "Member(arguments)", in call order.
struct FakeWordWorld
{
    QStringList log;
    // File contents by path, as the fake's documents see them.
    QHash<QString, QString> files;
};

class FakeWordApplication;

class FakeWordDocument : public WordDocument
{
public:
    FakeWordDocument(std::shared_ptr<FakeWordWorld> world, FakeWordApplication* application, QString path);

    WordStatus FullName(QString& name) override;
    WordStatus Content(std::shared_ptr<WordRange>& content) override;
    WordStatus SelectedText(QString& text) override
    {
        text = selection;
        return {};
    }
    WordStatus IsModified(bool& isModified) override;
    WordStatus Save() override;

    QString path;
    QString selection;
    bool contentFails = false;
    // Changes not saved yet; Save clears it unless saveFails.
    bool modified = false;
    bool saveFails = false;

private:
    std::shared_ptr<FakeWordWorld> m_world;
    FakeWordApplication* m_application;
};

class FakeWordApplication : public WordApplication
{
public:
    explicit FakeWordApplication(std::shared_ptr<FakeWordWorld> world);

    WordStatus ActiveDocument(std::shared_ptr<WordDocument>& document) override;
    WordStatus OpenDocument(const QString& path, std::shared_ptr<WordDocument>& document) override;
    WordStatus FindDocument(const QString& path, std::shared_ptr<WordDocument>& document) override;
    WordStatus SetVisible(bool visible) override;
    QuitStatus RequestQuit() override;
    QuitStatus PollQuit() override;

    bool ended = false;
    bool visible = false;
    bool refuseQuit = false;
    // What RequestQuit and then each PollQuit answer, in turn; the last answer repeats.
    // Empty: the quit is decided at once (Refused when refuseQuit). Quit ends the instance.
    QList<QuitStatus> quitScript;
    bool openFails = false;
    QList<std::shared_ptr<FakeWordDocument>> documents;
    std::shared_ptr<FakeWordDocument> active;

private:
    bool Alive(const QString& call);
    QuitStatus NextQuitAnswer();

    QuitStatus m_quit = QuitStatus::NotRunning;
    std::shared_ptr<FakeWordWorld> m_world;
};

class FakeWordAutomation : public WordAutomation
{
public:
    FakeWordAutomation();

    WordStatus GetActiveObject(std::shared_ptr<WordApplication>& application) override;
    WordStatus CreateInstance(std::shared_ptr<WordApplication>& application, bool& started) override;

    std::shared_ptr<FakeWordWorld> world;
    // The instance GetActiveObject reports; an ended one counts as none.
    std::shared_ptr<FakeWordApplication> running;
    bool installed = true;
    // GetActiveObject does not see the running instance.
    bool hideRunning = false;
    // CreateInstance hands the request to an instance that is already running.
    bool startForwards = false;
    // CreateInstance succeeds without an application reference.
    bool startGivesNoApplication = false;
    int started = 0;
};
