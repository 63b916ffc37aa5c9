#include "FakeWordAutomation.h"
#include "word/AutomatedWordProcessor.h"

#include <QTest>

namespace {

const QString EditedPath = QStringLiteral(u"/home/student/Эссе правка.docx");
const QString Phrase = QStringLiteral(u"Писатель обретает форму");

} // namespace

class TestAutomatedWordProcessor : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<FakeWordAutomation> m_fake;
    std::unique_ptr<AutomatedWordProcessor> m_processor;

    QStringList& Log() { return m_fake->world->log; }

private slots:
    void init()
    {
        m_fake = std::make_shared<FakeWordAutomation>();
        m_fake->world->files.insert(EditedPath, QStringLiteral(u"Вступление. ") + Phrase + QStringLiteral(u". Конец."));
        m_processor = std::make_unique<AutomatedWordProcessor>(m_fake);
    }

    void cleanup()
    {
        m_processor.reset();
        m_fake.reset();
    }

    void emptyPhraseDoesNothing()
    {
        const WordProcessor::Result result = m_processor->ShowPhraseInWord(QString(), EditedPath);
        QVERIFY(result.ok);
        QVERIFY(result.message.isEmpty());
        QCOMPARE(Log(), QStringList());
        QCOMPARE(m_fake->started, 0);
    }

    void firstPressStartsOpensAndSelects()
    {
        const WordProcessor::Result result = m_processor->ShowPhraseInWord(Phrase, EditedPath);
        QVERIFY2(result.ok, qPrintable(result.message));
        QVERIFY(result.message.isEmpty());
        const QStringList expected{
            QStringLiteral(u"GetActiveObject()"),
            QStringLiteral(u"CreateInstance()"),
            QStringLiteral(u"ActiveDocument()"),
            QStringLiteral(u"OpenDocument(%1)").arg(EditedPath),
            QStringLiteral(u"SetVisible(1)"),
            QStringLiteral(u"Content()"),
            QStringLiteral(u"Find()"),
            QStringLiteral(u"SetForward(1)"),
            QStringLiteral(u"SetWrap(1)"),
            QStringLiteral(u"Execute(%1)").arg(Phrase),
            QStringLiteral(u"Select(%1)").arg(Phrase),
        };
        QCOMPARE(Log(), expected);
        QCOMPARE(m_processor->WordInstances().size(), 1);
        QCOMPARE(m_processor->WordInstances().first(), m_fake->running);
        QVERIFY(m_fake->running->visible);
        QCOMPARE(m_fake->running->active->selection, Phrase);
    }

    void secondPressReusesRunningInstance()
    {
        QVERIFY(m_processor->ShowPhraseInWord(Phrase, EditedPath).ok);
        Log().clear();

        const QString other = QStringLiteral(u"Конец");
        QVERIFY(m_processor->ShowPhraseInWord(other, EditedPath).ok);
        QVERIFY(!Log().contains(QStringLiteral(u"CreateInstance()")));
        QVERIFY(!Log().contains(QStringLiteral(u"OpenDocument(%1)").arg(EditedPath)));
        QVERIFY(Log().contains(QStringLiteral(u"FullName()")));
        QVERIFY(Log().contains(QStringLiteral(u"Select(%1)").arg(other)));
        QCOMPARE(m_processor->WordInstances().size(), 1);
        QCOMPARE(m_fake->started, 1);
        QCOMPARE(m_fake->running->documents.size(), 1);
    }

    void activeNameDifferingInCaseOpensAgain()
    {
        const QString upper = QStringLiteral(u"/home/student/ЭССЕ правка.docx");
        m_fake->world->files.insert(upper, Phrase);
        m_fake->running = std::make_shared<FakeWordApplication>(m_fake->world);
        std::shared_ptr<WordDocument> ignored;
        QVERIFY(m_fake->running->OpenDocument(upper, ignored).ok);
        Log().clear();

        QVERIFY(m_processor->ShowPhraseInWord(Phrase, EditedPath).ok);
        QVERIFY(Log().contains(QStringLiteral(u"OpenDocument(%1)").arg(EditedPath)));
        QCOMPARE(m_fake->running->active->path, EditedPath);
        // Found running, so not ours to list.
        QVERIFY(m_processor->WordInstances().isEmpty());
    }

    void longPhraseSearchedByItsFirst255_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QString>("searched");
        const QString a255(255, u'а');
        QTest::newRow("254") << QString(254, u'б') << QString(254, u'б');
        QTest::newRow("255") << a255 << a255;
        QTest::newRow("256") << a255 + u'я' << a255;
        QTest::newRow("1000") << QString(1000, u'в') << QString(255, u'в');
        // A pair split at the limit would leave half a character in the search text.
        const QString pair = QStringLiteral(u"\U0001F600");
        QTest::newRow("surrogate at limit") << QString(254, u'г') + pair + QStringLiteral(u"д") << QString(254, u'г');
    }

    void longPhraseSearchedByItsFirst255()
    {
        QFETCH(QString, phrase);
        QFETCH(QString, searched);
        m_fake->world->files.insert(EditedPath, phrase);
        QVERIFY(m_processor->ShowPhraseInWord(phrase, EditedPath).ok);
        QVERIFY2(Log().contains(QStringLiteral(u"Execute(%1)").arg(searched)), qPrintable(Log().join(u'\n')));
        QVERIFY(Log().contains(QStringLiteral(u"Select(%1)").arg(searched)));
    }

    void notFoundLeavesDocumentOpenWithoutMessage()
    {
        const WordProcessor::Result result = m_processor->ShowPhraseInWord(QStringLiteral(u"нет такого"), EditedPath);
        QVERIFY(result.ok);
        QVERIFY(result.message.isEmpty());
        QVERIFY(m_fake->running->visible);
        QCOMPARE(m_fake->running->active->path, EditedPath);
        QVERIFY(m_fake->running->active->selection.isEmpty());
        QVERIFY(!Log().last().startsWith(QStringLiteral(u"Select")));
    }

    void startFailureIsReportedAndListsNothing()
    {
        m_fake->installed = false;
        const WordProcessor::Result result = m_processor->ShowPhraseInWord(Phrase, EditedPath);
        QVERIFY(!result.ok);
        QVERIFY(result.message.contains(QStringLiteral(u"not installed")));
        QVERIFY(m_processor->WordInstances().isEmpty());
    }

    void openFailureKeepsStartedInstanceListed()
    {
        const QString missing = QStringLiteral(u"/nowhere/нет.odt");
        const WordProcessor::Result result = m_processor->ShowPhraseInWord(Phrase, missing);
        QVERIFY(!result.ok);
        QVERIFY(result.message.contains(missing));
        QCOMPARE(m_processor->WordInstances().size(), 1);
        // The operation stops at the failing call: the window is not shown.
        QVERIFY(!m_fake->running->visible);
        QVERIFY(!Log().contains(QStringLiteral(u"SetVisible(1)")));
    }

    void startForwardedToRunningOfficeIsNotListed()
    {
        // An office came up between the look-up and the start: the start request reached it.
        m_fake->running = std::make_shared<FakeWordApplication>(m_fake->world);
        m_fake->hideRunning = true;
        m_fake->startForwards = true;
        QVERIFY(m_processor->ShowPhraseInWord(Phrase, EditedPath).ok);
        QVERIFY(Log().contains(QStringLiteral(u"CreateInstance()")));
        QVERIFY(m_processor->WordInstances().isEmpty());
        QCOMPARE(m_fake->running->active->selection, Phrase);
    }

    void startWithoutApplicationIsListedEmptyAndFails()
    {
        m_fake->startGivesNoApplication = true;
        const WordProcessor::Result result = m_processor->ShowPhraseInWord(Phrase, EditedPath);
        QVERIFY(!result.ok);
        QVERIFY(!result.message.isEmpty());
        QCOMPARE(m_processor->WordInstances().size(), 1);
        QVERIFY(!m_processor->WordInstances().first());
        // Quitting skips the empty entry silently.
        Log().clear();
        m_processor->QuitOwnWordInstances();
        QCOMPARE(Log(), QStringList());
    }

    void contentFailureEndsAfterShowing()
    {
        m_fake->running = std::make_shared<FakeWordApplication>(m_fake->world);
        std::shared_ptr<WordDocument> ignored;
        QVERIFY(m_fake->running->OpenDocument(EditedPath, ignored).ok);
        m_fake->running->active->contentFails = true;
        const WordProcessor::Result result = m_processor->ShowPhraseInWord(Phrase, EditedPath);
        QVERIFY(!result.ok);
        QVERIFY(m_fake->running->visible);
        QVERIFY(!Log().contains(QStringLiteral(u"Find()")));
    }

    void quitOwnOnEmptyListDoesNothing()
    {
        m_processor->QuitOwnWordInstances();
        QCOMPARE(Log(), QStringList());
    }

    void quitOwnKeepsUnsavedWorkToTheOffice()
    {
        QVERIFY(m_processor->ShowPhraseInWord(Phrase, EditedPath).ok);
        Log().clear();
        m_processor->QuitOwnWordInstances();
        QCOMPARE(Log(), QStringList{QStringLiteral(u"RequestQuit()")});
        QVERIFY(m_fake->running->ended);
        QCOMPARE(m_processor->WordInstances().size(), 1);
    }

    void quitOwnAsksEveryInstanceEvenEndedOnes()
    {
        QVERIFY(m_processor->ShowPhraseInWord(Phrase, EditedPath).ok);
        auto first = m_fake->running;
        first->ended = true;
        QVERIFY(m_processor->ShowPhraseInWord(Phrase, EditedPath).ok);
        auto second = m_fake->running;
        second->refuseQuit = true;
        QVERIFY(m_processor->ShowPhraseInWord(Phrase, EditedPath).ok);
        QCOMPARE(m_processor->WordInstances().size(), 2);
        QCOMPARE(m_fake->started, 2);

        Log().clear();
        m_processor->QuitOwnWordInstances();
        QCOMPARE(Log(), (QStringList{QStringLiteral(u"RequestQuit()"), QStringLiteral(u"RequestQuit()")}));
        QVERIFY(!second->ended);
        QCOMPARE(m_processor->WordInstances().size(), 2);

        Log().clear();
        second->refuseQuit = false;
        m_processor->QuitOwnWordInstances();
        QVERIFY(second->ended);
        QCOMPARE(m_processor->WordInstances().size(), 2);
    }

    void unsavedWithNoOfficeStartsNothing_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::newRow("not installed") << false;
        QTest::newRow("not running") << true;
    }

    void unsavedWithNoOfficeStartsNothing()
    {
        QFETCH(bool, installed);
        m_fake->installed = installed;
        QVERIFY(m_processor->UnsavedDocuments({EditedPath}).isEmpty());
        QVERIFY(m_processor->SaveDocuments({EditedPath}).ok);
        QCOMPARE(Log(), QStringList(2, QStringLiteral(u"GetActiveObject()")));
        QCOMPARE(m_fake->started, 0);
    }

    void onlyTheChosenDocumentsAreAskedAndSaved()
    {
        const QString original = QStringLiteral(u"/home/student/Эссе.docx");
        const QString other = QStringLiteral(u"/home/student/Курсовая.docx");
        auto running = std::make_shared<FakeWordApplication>(m_fake->world);
        m_fake->running = running;
        for (const QString& path : {other, original, EditedPath})
            running->documents << std::make_shared<FakeWordDocument>(m_fake->world, running.get(), path);
        running->documents.at(0)->modified = true;
        running->documents.at(2)->modified = true;

        QCOMPARE(m_processor->UnsavedDocuments({original, EditedPath}), QStringList{EditedPath});
        QVERIFY(!Log().contains(QStringLiteral(u"IsModified(%1)").arg(other)));
        Log().clear();
        QVERIFY(m_processor->SaveDocuments({EditedPath}).ok);
        QCOMPARE(Log(),
                 (QStringList{QStringLiteral(u"GetActiveObject()"), QStringLiteral(u"FindDocument(%1)").arg(EditedPath),
                              QStringLiteral(u"Save(%1)").arg(EditedPath)}));
        QVERIFY(!running->documents.at(2)->modified);
        // The student's other work stays as it was, in an office that keeps running.
        QVERIFY(running->documents.at(0)->modified);
        QVERIFY(!running->ended);
        QVERIFY(m_processor->WordInstances().isEmpty());

        running->documents.at(2)->modified = true;
        running->documents.at(2)->saveFails = true;
        const WordProcessor::Result result = m_processor->SaveDocuments({EditedPath});
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains(QStringLiteral(u"Эссе правка.docx")), qPrintable(result.message));
    }

    void ownInstanceIsAskedWhenNotTheRunningOne()
    {
        QVERIFY(m_processor->ShowPhraseInWord(Phrase, EditedPath).ok);
        m_fake->running->active->modified = true;
        // GetActiveObject reports another instance, or none: the own one still holds the copy.
        m_fake->hideRunning = true;
        QCOMPARE(m_processor->UnsavedDocuments({EditedPath}), QStringList{EditedPath});
    }

    void nothingElseIsAskedWhileTheUserDecides()
    {
        QVERIFY(m_processor->ShowPhraseInWord(Phrase, EditedPath).ok);
        m_fake->running->active->modified = true;
        m_fake->running->quitScript = {QuitStatus::Deciding};
        m_processor->QuitOwnWordInstances();
        QCOMPARE(m_processor->PollQuit(), QuitStatus::Deciding);
        Log().clear();

        // Neither a Check nor showing a phrase asks an office that is asking the user.
        QVERIFY(m_processor->UnsavedDocuments({EditedPath}).isEmpty());
        const WordProcessor::Result result = m_processor->ShowPhraseInWord(Phrase, EditedPath);
        QVERIFY(!result.ok);
        QCOMPARE(result.message, AutomatedWordProcessor::WaitingForAnswerMessage());
        m_processor->QuitOwnWordInstances();
        QVERIFY(!Log().contains(QStringLiteral(u"RequestQuit()")));
        QVERIFY(!Log().contains(QStringLiteral(u"GetActiveObject()")));

        // Answered: the office is reachable again.
        m_fake->running->quitScript = {QuitStatus::Refused};
        QCOMPARE(m_processor->PollQuit(), QuitStatus::Refused);
        QCOMPARE(m_processor->UnsavedDocuments({EditedPath}), QStringList{EditedPath});
    }
};

QTEST_GUILESS_MAIN(TestAutomatedWordProcessor)
#include "tst_automatedwordprocessor.moc"
