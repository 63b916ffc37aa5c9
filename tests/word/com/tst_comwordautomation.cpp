#include "FakeWordServer.h"
#include "word/AutomatedWordProcessor.h"
#include "word/WordApplication.h"
#include "word/WordDocument.h"
#include "word/com/ComWordAutomation.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

#include <objbase.h>

// The COM word processor against fakewordserver.dll, an automation server that
// records every call. The fake is registered under a program identifier of its
// own, so that a real word processor on the machine is never touched.
namespace {

const QString FakeProgId = QStringLiteral(u"Parafrix.FakeWord.Application");
const QString EditedPath = QStringLiteral(u"C:/Users/Студент/Эссе 論文 правка.docx");
const QString Phrase = QStringLiteral(u"Писатель обретает форму");

// An export of the fake, by name (through void*: FARPROC is no match for any signature).
template <typename Function> Function Resolve(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const wchar_t* W(const QString& text)
{
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

} // namespace

class TestComWordAutomation : public QObject
{
    Q_OBJECT

private:
    HMODULE m_server = nullptr;
    FakeWordRegisterFn m_register = nullptr;
    FakeWordUnregisterFn m_unregister = nullptr;
    FakeWordResetFn m_reset = nullptr;
    FakeWordAddFileFn m_addFile = nullptr;
    FakeWordSetOptionFn m_setOption = nullptr;
    FakeWordLogFn m_log = nullptr;
    FakeWordStartedFn m_started = nullptr;
    int m_perMachine = 0;
    std::unique_ptr<AutomatedWordProcessor> m_processor;

    QStringList Log() const { return QString::fromWCharArray(m_log()).split(u'\n', Qt::SkipEmptyParts); }

    void AddFile(const QString& path, const QString& text) { m_addFile(W(QDir::toNativeSeparators(path)), W(text)); }

    static bool Resolves(const QString& progId)
    {
        CLSID clsid{};
        return SUCCEEDED(CLSIDFromProgID(W(progId), &clsid));
    }

private slots:
    void initTestCase()
    {
        const QString dll = QCoreApplication::applicationDirPath() + QStringLiteral(u"/fakewordserver.dll");
        m_server = LoadLibraryW(W(QDir::toNativeSeparators(dll)));
        QVERIFY2(m_server, qPrintable(dll));
        m_register = Resolve<FakeWordRegisterFn>(m_server, "FakeWordServer_Register");
        m_unregister = Resolve<FakeWordUnregisterFn>(m_server, "FakeWordServer_Unregister");
        m_reset = Resolve<FakeWordResetFn>(m_server, "FakeWordServer_Reset");
        m_addFile = Resolve<FakeWordAddFileFn>(m_server, "FakeWordServer_AddFile");
        m_setOption = Resolve<FakeWordSetOptionFn>(m_server, "FakeWordServer_SetOption");
        m_log = Resolve<FakeWordLogFn>(m_server, "FakeWordServer_Log");
        m_started = Resolve<FakeWordStartedFn>(m_server, "FakeWordServer_Started");
        QVERIFY(m_register && m_unregister && m_reset && m_addFile && m_setOption && m_log && m_started);

        QVERIFY(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        // Per user first, as an installer without administrator rights would; wine only
        // reads the machine-wide classes.
        QVERIFY(SUCCEEDED(m_register(W(FakeProgId), 0)));
        if (!Resolves(FakeProgId)) {
            m_unregister(W(FakeProgId), 0);
            m_perMachine = 1;
            QVERIFY(SUCCEEDED(m_register(W(FakeProgId), 1)));
        }
        QVERIFY(Resolves(FakeProgId));
    }

    void cleanupTestCase()
    {
        if (m_unregister)
            m_unregister(W(FakeProgId), m_perMachine);
        CoUninitialize();
    }

    void init()
    {
        m_reset();
        AddFile(EditedPath, QStringLiteral(u"Вступление. ") + Phrase + QStringLiteral(u". Конец."));
        m_processor = std::make_unique<AutomatedWordProcessor>(std::make_shared<ComWordAutomation>(FakeProgId));
    }

    void cleanup()
    {
        m_processor.reset();
        m_reset();
    }

    void firstPressStartsListsOpensAndSelects()
    {
        const WordProcessor::Result result = m_processor->ShowPhraseInWord(Phrase, EditedPath);
        QVERIFY2(result.ok, qPrintable(result.message));
        const QString native = QDir::toNativeSeparators(EditedPath);
        const QStringList expected{
            QStringLiteral(u"#1 started"),
            QStringLiteral(u"#1 Application.ActiveDocument"),
            QStringLiteral(u"#1 Application.Documents"),
            QStringLiteral(u"#1 Documents.Open(%1,-,-,-,-,-,-,-,-,-)").arg(native),
            QStringLiteral(u"#1 Application.Visible=true"),
            QStringLiteral(u"#1 Document.Content"),
            QStringLiteral(u"#1 Range.Find"),
            QStringLiteral(u"#1 Find.Forward=true"),
            QStringLiteral(u"#1 Find.Wrap=1"),
            QStringLiteral(u"#1 Find.Execute(%1,-,-,-,-,-,-,-,-,-,-)").arg(Phrase),
            QStringLiteral(u"#1 Range.Select"),
        };
        QCOMPARE(Log(), expected);
        QCOMPARE(m_processor->WordInstances().size(), 1);
        QVERIFY(m_processor->WordInstances().first());
        QCOMPARE(m_started(), 1);
    }

    void secondPressReusesRunningInstance()
    {
        QVERIFY(m_processor->ShowPhraseInWord(Phrase, EditedPath).ok);
        const qsizetype before = Log().size();
        QVERIFY(m_processor->ShowPhraseInWord(QStringLiteral(u"Конец"), EditedPath).ok);
        const QStringList second = Log().mid(before);
        const QStringList expected{
            QStringLiteral(u"#1 Application.ActiveDocument"),
            QStringLiteral(u"#1 Document.FullName"),
            QStringLiteral(u"#1 Application.Visible=true"),
            QStringLiteral(u"#1 Document.Content"),
            QStringLiteral(u"#1 Range.Find"),
            QStringLiteral(u"#1 Find.Forward=true"),
            QStringLiteral(u"#1 Find.Wrap=1"),
            QStringLiteral(u"#1 Find.Execute(Конец,-,-,-,-,-,-,-,-,-,-)"),
            QStringLiteral(u"#1 Range.Select"),
        };
        QCOMPARE(second, expected);
        QCOMPARE(m_started(), 1);
        QCOMPARE(m_processor->WordInstances().size(), 1);
    }

    void fullNameDifferingOpensAgain_data()
    {
        QTest::addColumn<QString>("activePath");
        QTest::newRow("letter case") << QStringLiteral(u"C:/Users/Студент/ЭССЕ 論文 правка.docx");
        QTest::newRow("other file") << QStringLiteral(u"C:/Users/Студент/другое.docx");
    }

    void fullNameDifferingOpensAgain()
    {
        QFETCH(QString, activePath);
        AddFile(activePath, Phrase);
        // Someone else's instance, already showing another document.
        ComWordAutomation automation(FakeProgId);
        std::shared_ptr<WordApplication> theirs;
        bool started = false;
        QVERIFY(automation.CreateInstance(theirs, started).ok);
        std::shared_ptr<WordDocument> document;
        QVERIFY(theirs->OpenDocument(activePath, document).ok);
        const qsizetype before = Log().size();

        QVERIFY(m_processor->ShowPhraseInWord(Phrase, EditedPath).ok);
        const QStringList calls = Log().mid(before);
        QVERIFY(calls.contains(QStringLiteral(u"#1 Document.FullName")));
        QVERIFY2(
            calls.contains(
                QStringLiteral(u"#1 Documents.Open(%1,-,-,-,-,-,-,-,-,-)").arg(QDir::toNativeSeparators(EditedPath))),
            qPrintable(calls.join(u'\n')));
        // Found running, so not ours to quit.
        QVERIFY(m_processor->WordInstances().isEmpty());
    }

    void quittingOwnInstances()
    {
        QVERIFY(m_processor->ShowPhraseInWord(Phrase, EditedPath).ok);
        m_processor->QuitOwnWordInstances();
        // The word processor's own handling of unsaved documents: SaveChanges left out.
        QCOMPARE(Log().last(), QStringLiteral(u"#1 Application.Quit(-,-,-)"));
        // An ended instance stays listed; quitting it again fails quietly.
        m_processor->QuitOwnWordInstances();
        QCOMPARE(Log().last(), QStringLiteral(u"#1 Application.Quit(-,-,-) -> disconnected"));
        QCOMPARE(m_processor->WordInstances().size(), 1);
    }

    void unsavedCopyIsSavedAndTheInstanceKeepsRunning()
    {
        m_setOption(L"opensModified", 1);
        QVERIFY(m_processor->ShowPhraseInWord(Phrase, EditedPath).ok);
        QCOMPARE(m_processor->UnsavedDocuments({EditedPath}), QStringList{EditedPath});
        QVERIFY(Log().contains(QStringLiteral(u"#1 Documents.Item(1)")));
        QVERIFY(m_processor->SaveDocuments({EditedPath}).ok);
        QCOMPARE(Log().last(), QStringLiteral(u"#1 Document.Save"));
        QVERIFY(m_processor->UnsavedDocuments({EditedPath}).isEmpty());
        // A document it does not hold is neither found nor saved; nothing was quit.
        QVERIFY(m_processor->UnsavedDocuments({QStringLiteral(u"C:/other.docx")}).isEmpty());
        QVERIFY(!Log().join(u'\n').contains(QStringLiteral(u"Quit")));
    }

    void noApplicationInterfaceListsEmptyEntry()
    {
        m_setOption(L"noApplicationInterface", 1);
        const WordProcessor::Result result = m_processor->ShowPhraseInWord(Phrase, EditedPath);
        QVERIFY(!result.ok);
        QCOMPARE(m_processor->WordInstances().size(), 1);
        QVERIFY(!m_processor->WordInstances().first());
        m_processor->QuitOwnWordInstances(); // skips the empty entry
    }

    void refusedQuitIsReported()
    {
        ComWordAutomation automation(FakeProgId);
        std::shared_ptr<WordApplication> application;
        bool started = false;
        QVERIFY(automation.CreateInstance(application, started).ok);
        QVERIFY(started);
        m_setOption(L"refuseQuit", 1);
        // Decided once the call returns: the user has answered by then.
        QCOMPARE(application->RequestQuit(), QuitStatus::Refused);
        QCOMPARE(application->PollQuit(), QuitStatus::Refused);
        QCOMPARE(Log().last(), QStringLiteral(u"#1 Application.Quit(-,-,-)"));
    }

    void selectedTextComesFromTheWindow()
    {
        QVERIFY(m_processor->ShowPhraseInWord(Phrase, EditedPath).ok);
        ComWordAutomation automation(FakeProgId);
        std::shared_ptr<WordApplication> application;
        QVERIFY(automation.GetActiveObject(application).ok);
        std::shared_ptr<WordDocument> document;
        QVERIFY(application->ActiveDocument(document).ok);
        QVERIFY(document);
        QString fullName;
        QVERIFY(document->FullName(fullName).ok);
        QCOMPARE(fullName, EditedPath);
        QString selected;
        QVERIFY(document->SelectedText(selected).ok);
        QCOMPARE(selected, Phrase);
    }

    void noServerRegistered_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::newRow("unknown name") << QStringLiteral(u"Parafrix.NoSuchWord.Application");
        QTest::newRow("empty name") << QString();
    }

    void noServerRegistered()
    {
        QFETCH(QString, progId);
        AutomatedWordProcessor processor(std::make_shared<ComWordAutomation>(progId));
        // The Check's first step: nothing to ask, nothing happens.
        QVERIFY(processor.UnsavedDocuments({EditedPath}).isEmpty());
        processor.QuitOwnWordInstances();
        const WordProcessor::Result result = processor.ShowPhraseInWord(Phrase, EditedPath);
        QVERIFY(!result.ok);
        QVERIFY(!result.message.isEmpty());
        QVERIFY(processor.WordInstances().isEmpty());
        QVERIFY(Log().isEmpty());
    }

    void missingFileIsReportedAndInstanceStaysListed()
    {
        const WordProcessor::Result result =
            m_processor->ShowPhraseInWord(Phrase, QStringLiteral(u"C:/нет/такого файла.docx"));
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains(QStringLiteral(u"Documents.Open")), qPrintable(result.message));
        QCOMPARE(m_processor->WordInstances().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestComWordAutomation)
#include "tst_comwordautomation.moc"
