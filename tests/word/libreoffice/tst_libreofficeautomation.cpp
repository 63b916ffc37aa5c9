#include "extract/CDocToText.h"
#include "word/AutomatedWordProcessor.h"
#include "word/LibreOfficeModule.h"
#include "word/WordApplication.h"
#include "word/WordAutomation.h"
#include "word/WordDocument.h"
#include "word/libreoffice/OfficeIpcClient.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrl>

#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace {

const QString Phrase = QStringLiteral(u"Писатель обретает форму в тишине");
const QString SecondPhrase = QStringLiteral(u"Каждое утро начиналось с чистого листа");
// Written in the document with a no-break space; the text filters hand it over with a plain one.
const QString NbspPhrase = QStringLiteral(u"Старый сад дышал прохладой");

// Processes whose command line or environment names the marker (a folder of this test).
QList<pid_t> ProcessesWith(const QString& marker)
{
    QList<pid_t> pids;
    const QByteArray needle = marker.toLocal8Bit();
    const QStringList entries = QDir(QStringLiteral(u"/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool number = false;
        const pid_t pid = pid_t(entry.toInt(&number));
        if (!number || pid == ::getpid())
            continue;
        for (const QString& part : {QStringLiteral(u"cmdline"), QStringLiteral(u"environ")}) {
            QFile file(QStringLiteral(u"/proc/%1/%2").arg(entry, part));
            if (file.open(QIODevice::ReadOnly) && file.readAll().contains(needle)) {
                pids << pid;
                break;
            }
        }
    }
    return pids;
}

bool WaitUntilNone(const QString& marker, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!ProcessesWith(marker).isEmpty()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    return true;
}

// Sends signal to the process groups of every process of this test's marker.
void SignalOffices(const QString& marker, int signal)
{
    for (const pid_t pid : ProcessesWith(marker)) {
        const pid_t group = ::getpgid(pid);
        if (group > 1 && group != ::getpgrp())
            ::kill(-group, signal);
        ::kill(pid, signal);
    }
}

// Ends every office of this test, with its process group, whatever state it is in; again
// and again while one is still coming up.
void KillOffices(const QString& marker)
{
    const QDeadlineTimer deadline(15000);
    do {
        SignalOffices(marker, SIGKILL);
    } while (!WaitUntilNone(marker, 1000) && !deadline.hasExpired());
}

// Ends the run, and the offices it started, should a step hang past every bound (the
// offices live in sessions of their own and would outlive a killed test).
class Watchdog
{
public:
    Watchdog(QString marker, std::chrono::seconds limit)
    {
        m_thread = std::thread([this, marker, limit] {
            std::unique_lock lock(m_mutex);
            if (m_stopped.wait_for(lock, limit, [this] { return m_stop; }))
                return;
            KillOffices(marker);
            std::fprintf(stderr, "watchdog: the LibreOffice tests hung; offices killed\n");
            std::_Exit(3);
        });
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_stopped.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_stop = false;
    std::thread m_thread;
};

// A private X display (Xvfb) for a visible office, and xdotool to act as the user in it.
// Empty display when either program is missing.
class VirtualDisplay
{
public:
    VirtualDisplay()
    {
        if (QStandardPaths::findExecutable(QStringLiteral(u"Xvfb")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral(u"xdotool")).isEmpty())
            return;
        // Xvfb picks a free display and writes its number once it accepts clients. Without
        // -noreset it resets when its last client (an office of the previous test) goes,
        // and refuses the next office meanwhile.
        m_server.start(QStringLiteral(u"Xvfb"),
                       {QStringLiteral(u"-displayfd"), QStringLiteral(u"1"), QStringLiteral(u"-noreset"),
                        QStringLiteral(u"-screen"), QStringLiteral(u"0"), QStringLiteral(u"1280x900x24"),
                        QStringLiteral(u"-nolisten"), QStringLiteral(u"tcp")});
        const QDeadlineTimer deadline(20000);
        QByteArray number;
        while (!number.endsWith('\n') && m_server.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            number += m_server.readAllStandardOutput();
        if (number.trimmed().isEmpty())
            return;
        m_display = QStringLiteral(u":") + QString::fromLatin1(number.trimmed());
        while (Do({QStringLiteral(u"getdisplaygeometry")}).isEmpty()) {
            if (deadline.hasExpired()) {
                m_display.clear();
                return;
            }
            QThread::msleep(100);
        }
    }
    ~VirtualDisplay()
    {
        // Asked to end, so that it removes its lock and socket for the next display.
        m_server.terminate();
        if (!m_server.waitForFinished(5000)) {
            m_server.kill();
            m_server.waitForFinished(5000);
        }
    }

    const QString& display() const { return m_display; }

    // Runs xdotool on the display; its output, or empty after a failure or 10 s.
    QString Do(const QStringList& arguments) const
    {
        QProcess xdotool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral(u"DISPLAY"), m_display);
        xdotool.setProcessEnvironment(environment);
        xdotool.start(QStringLiteral(u"xdotool"), arguments);
        if (!xdotool.waitForFinished(10000)) {
            xdotool.kill();
            xdotool.waitForFinished(1000);
            return {};
        }
        return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
    }
    // The first window whose title matches pattern, waiting for it at most timeoutMs.
    QString WaitForWindow(const QString& pattern, int timeoutMs) const
    {
        const QDeadlineTimer deadline(timeoutMs);
        for (;;) {
            const QString found = Do({QStringLiteral(u"search"), QStringLiteral(u"--name"), pattern});
            if (!found.isEmpty() || deadline.hasExpired())
                return found.section(QChar(u'\n'), 0, 0);
            QThread::msleep(200);
        }
    }
    // Gives window the keyboard and types keys into it (xdotool key names).
    void Keys(const QString& window, const QStringList& keys) const
    {
        Do({QStringLiteral(u"windowfocus"), QStringLiteral(u"--sync"), window});
        Do(QStringList{QStringLiteral(u"key"), QStringLiteral(u"--delay"), QStringLiteral(u"50")} + keys);
    }

private:
    QProcess m_server;
    QString m_display;
};

} // namespace

class TestLibreOfficeAutomation : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral(u"/parafrix-lo-XXXXXX")};
    QString m_profileDir;
    LibreOfficeOptions m_options;
    QString m_odt;
    QString m_docx;
    QElapsedTimer m_clock;
    std::unique_ptr<Watchdog> m_watchdog;
    // Started by the first test that needs a visible office, ended after the last.
    std::unique_ptr<VirtualDisplay> m_display;

    QString SofficePath() const
    {
        return QDir(LibreOfficeModule::DefaultProgramDir()).filePath(QStringLiteral(u"soffice"));
    }

    // Converts a UTF-8 text file with a headless office of the test's profile.
    QString Convert(const QString& text, const QString& name, const QString& format, const QString& extension)
    {
        const QString source = m_dir.filePath(name + QStringLiteral(u".txt"));
        QFile file(source);
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
            return {};
        file.close();
        QProcess convert;
        convert.start(SofficePath(),
                      {QStringLiteral(u"-env:UserInstallation=") + m_options.profileUrl, QStringLiteral(u"--headless"),
                       QStringLiteral(u"--norestore"), QStringLiteral(u"--infilter=Text (encoded):UTF8,LF,,,"),
                       QStringLiteral(u"--convert-to"), format, QStringLiteral(u"--outdir"), m_dir.path(), source});
        if (!convert.waitForFinished(60000)) {
            convert.kill();
            convert.waitForFinished(5000);
            return {};
        }
        const QString result = m_dir.filePath(name + u'.' + extension);
        return QFile::exists(result) ? result : QString();
    }

    std::shared_ptr<WordAutomation> LoadAutomation()
    {
        QString error;
        std::shared_ptr<WordAutomation> automation = LibreOfficeModule::Load(m_options, &error);
        if (!automation)
            qWarning("%s", qPrintable(error));
        return automation;
    }

    // What is selected in the document at path, read through a fresh connection.
    QString SelectionIn(WordAutomation& automation, const QString& path)
    {
        std::shared_ptr<WordApplication> application;
        if (!automation.GetActiveObject(application).ok || !application)
            return QStringLiteral(u"<no office>");
        std::shared_ptr<WordDocument> document;
        if (!application->OpenDocument(path, document).ok || !document)
            return QStringLiteral(u"<not open>");
        QString text;
        if (!document->SelectedText(text).ok)
            return QStringLiteral(u"<no selection>");
        return text;
    }

private slots:
    void initTestCase()
    {
        // The module ignores broken pipes only where no handler is installed, and Qt Test
        // installs one: a write to a killed office would end the run.
        ::signal(SIGPIPE, SIG_IGN);
        m_clock.start();
        if (!QFileInfo(SofficePath()).isExecutable())
            QSKIP("soffice is not installed: LibreOffice integration tests skipped");
        QVERIFY(m_dir.isValid());
        m_profileDir = m_dir.filePath(QStringLiteral(u"profile"));
        m_options.programDir = LibreOfficeModule::DefaultProgramDir();
        m_options.profileUrl = QUrl::fromLocalFile(m_profileDir).toString(QUrl::FullyEncoded);
        m_options.pipeName =
            QStringLiteral(u"parafrix_test_%1_%2").arg(::getpid()).arg(QDateTime::currentMSecsSinceEpoch());
        m_options.headless = true;
        // Below the test runner's own limit, so that cleaning up still happens.
        m_watchdog = std::make_unique<Watchdog>(m_profileDir, std::chrono::seconds(240));

        const QString body = QStringLiteral(u"Вступление к эссе.\n") + Phrase +
                             QStringLiteral(u". Он пишет каждый день.\n") + SecondPhrase +
                             QStringLiteral(u". Конец первой части.\n") +
                             QStringLiteral(u"Старый сад\u00A0дышал прохладой. Ещё одно предложение.\n") + Phrase +
                             QStringLiteral(u" снова.\n");
        m_odt = Convert(body, QStringLiteral(u"Эссе правка"), QStringLiteral(u"odt"), QStringLiteral(u"odt"));
        m_docx = Convert(body, QStringLiteral(u"Эссе копия"), QStringLiteral(u"docx:MS Word 2007 XML"),
                         QStringLiteral(u"docx"));
        QVERIFY2(!m_odt.isEmpty() && !m_docx.isEmpty(), "fixture conversion failed");
        QVERIFY(WaitUntilNone(m_profileDir, 20000));
        qInfo("fixtures ready after %lld ms", m_clock.elapsed());
    }

    void cleanup() { KillOffices(m_profileDir); }

    void cleanupTestCase()
    {
        if (!m_profileDir.isEmpty())
            KillOffices(m_profileDir);
        m_display.reset();
        m_watchdog.reset();
        qInfo("LibreOffice integration took %lld ms", m_clock.elapsed());
    }

    void findingStartsNothingWhenNoneRuns()
    {
        std::shared_ptr<WordAutomation> automation = LoadAutomation();
        QVERIFY(automation);
        std::shared_ptr<WordApplication> application;
        QVERIFY(!automation->GetActiveObject(application).ok);
        QVERIFY(!application);
        AutomatedWordProcessor processor(automation);
        QVERIFY(processor.UnsavedDocuments({m_odt, m_docx}).isEmpty());
        QVERIFY(processor.SaveDocuments({m_odt}).ok);
        QVERIFY(ProcessesWith(m_profileDir).isEmpty());
    }

    void showsPhraseAndReusesInstance()
    {
        std::shared_ptr<WordAutomation> automation = LoadAutomation();
        QVERIFY(automation);
        AutomatedWordProcessor processor(automation);

        QElapsedTimer press;
        press.start();
        WordProcessor::Result result = processor.ShowPhraseInWord(Phrase, m_odt);
        // Reported, never asserted: figures for the record.
        qInfo("first press (start, open, find, select): %lld ms", press.restart());
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(processor.WordInstances().size(), 1);
        QCOMPARE(SelectionIn(*automation, m_odt), Phrase);
        const QList<pid_t> offices = ProcessesWith(m_profileDir);
        QVERIFY(!offices.isEmpty());

        // The second press finds the office running: nothing new started or listed.
        press.restart();
        result = processor.ShowPhraseInWord(SecondPhrase, m_odt);
        qInfo("second press (find running, find, select): %lld ms", press.elapsed());
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(processor.WordInstances().size(), 1);
        QCOMPARE(SelectionIn(*automation, m_odt), SecondPhrase);
        QCOMPARE(ProcessesWith(m_profileDir), offices);

        // On from the selection: the later occurrence; then the earlier phrase only by wrapping.
        result = processor.ShowPhraseInWord(Phrase, m_odt);
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(SelectionIn(*automation, m_odt), Phrase);
        result = processor.ShowPhraseInWord(SecondPhrase, m_odt);
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(SelectionIn(*automation, m_odt), SecondPhrase);

        press.restart();
        processor.QuitOwnWordInstances();
        QVERIFY2(WaitUntilNone(m_profileDir, 20000), "the office did not exit after quitting");
        qInfo("quit until the office process ended: %lld ms", press.elapsed());
        // An ended instance stays listed; asking it again is silent.
        processor.QuitOwnWordInstances();
        QCOMPARE(processor.WordInstances().size(), 1);
    }

    void showsPhraseInDocxDespiteNoBreakSpace()
    {
        std::shared_ptr<WordAutomation> automation = LoadAutomation();
        QVERIFY(automation);
        AutomatedWordProcessor processor(automation);
        WordProcessor::Result result = processor.ShowPhraseInWord(NbspPhrase, m_docx);
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(SelectionIn(*automation, m_docx), QStringLiteral(u"Старый сад\u00A0дышал прохладой"));

        // Not found: the document stays open, nothing is said.
        result = processor.ShowPhraseInWord(QStringLiteral(u"Этого предложения нет в тексте"), m_docx);
        QVERIFY(result.ok);
        QVERIFY(result.message.isEmpty());

        processor.QuitOwnWordInstances();
        QVERIFY2(WaitUntilNone(m_profileDir, 20000), "the office did not exit after quitting");
    }

    void findsUsersOfficeThroughItsSingleInstanceChannel()
    {
        // An office started the user's way, with the default profile of a home of this test's
        // own and no UNO pipe of ours. The module finds it from the profile's socket name.
        const QString config = m_dir.filePath(QStringLiteral(u"user config"));
        QVERIFY(QDir().mkpath(config));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        const QString profileUrl =
            QUrl::fromLocalFile(config + QStringLiteral(u"/libreoffice/4")).toString(QUrl::FullyEncoded);
        QVERIFY(QProcess::startDetached(SofficePath(), {QStringLiteral(u"--headless"), QStringLiteral(u"--norestore"),
                                                        QStringLiteral(u"--nologo")}));
        const QString socket = OfficeIpcClient::SocketPath(profileUrl);
        const QDeadlineTimer deadline(60000);
        while (OfficeIpcClient::Probe(socket, 1000).answer != OfficeIpcClient::Answer::Done) {
            if (deadline.hasExpired()) {
                KillOffices(config);
                QFAIL(qPrintable(QStringLiteral(u"no office answers on ") + socket));
            }
            QThread::msleep(100);
        }
        const QList<pid_t> offices = ProcessesWith(config);
        QVERIFY(!offices.isEmpty());

        LibreOfficeOptions options = m_options;
        options.profileUrl.clear();
        std::shared_ptr<WordAutomation> automation = LibreOfficeModule::Load(options);
        QVERIFY(automation);
        std::shared_ptr<WordApplication> application;
        const WordStatus found = automation->GetActiveObject(application);
        QVERIFY2(found.ok, qPrintable(found.error));
        QCOMPARE(ProcessesWith(config), offices);

        // The user's office is asked about the documents and otherwise left alone.
        AutomatedWordProcessor processor(automation);
        const QStringList unsaved = processor.UnsavedDocuments({m_odt, m_docx});
        const QList<pid_t> after = ProcessesWith(config);
        KillOffices(config);
        QVERIFY(unsaved.isEmpty());
        QCOMPARE(after, offices);
        QVERIFY(processor.WordInstances().isEmpty());
    }

    void hungOrDeadOfficeEndsInErrorNotInAHang()
    {
        LibreOfficeOptions options = m_options;
        options.callTimeoutMs = 2000;
        std::shared_ptr<WordAutomation> automation = LibreOfficeModule::Load(options);
        QVERIFY(automation);
        AutomatedWordProcessor processor(automation);
        WordProcessor::Result result = processor.ShowPhraseInWord(Phrase, m_odt);
        QVERIFY2(result.ok, qPrintable(result.message));
        const QList<pid_t> offices = ProcessesWith(m_profileDir);
        QVERIFY(!offices.isEmpty());

        // The whole group: the launcher and the office it runs.
        SignalOffices(m_profileDir, SIGSTOP);
        result = processor.ShowPhraseInWord(SecondPhrase, m_odt);
        QVERIFY2(!result.ok, qPrintable(QStringLiteral(u"%1 offices stopped").arg(offices.size())));
        QVERIFY(!result.message.isEmpty());
        QVERIFY(processor.UnsavedDocuments({m_odt}).isEmpty());
        processor.QuitOwnWordInstances();

        // Dead: the dropped bridge means "not running", and the next press starts afresh.
        KillOffices(m_profileDir);
        for (int press = 0; press < 10; ++press) {
            result = processor.ShowPhraseInWord(SecondPhrase, m_odt);
            if (result.ok)
                break;
        }
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(processor.WordInstances().size(), 2);
        QCOMPARE(SelectionIn(*automation, m_odt), SecondPhrase);
    }

    void checksLeaveTheStudentsOtherWorkAlone()
    {
        if (!m_display)
            m_display = std::make_unique<VirtualDisplay>();
        const VirtualDisplay& display = *m_display;
        if (display.display().isEmpty())
            QSKIP("Xvfb or xdotool is not installed: nothing can be typed into the office");
        qputenv("DISPLAY", display.display().toLocal8Bit());
        const QString edited = m_dir.filePath(QStringLiteral(u"Видимая правка.odt"));
        const QString other = m_dir.filePath(QStringLiteral(u"Другая работа.odt"));
        for (const QString& path : {edited, other}) {
            QFile::remove(path);
            QVERIFY(QFile::copy(m_odt, path));
        }
        LibreOfficeOptions options = m_options;
        options.headless = false;
        std::shared_ptr<WordAutomation> automation = LibreOfficeModule::Load(options);
        QVERIFY(automation);
        AutomatedWordProcessor processor(automation);

        // The student rewrites a sentence of the copy, and types in another document of
        // the same office; neither is saved.
        const auto type = [&](const QString& path, const QString& phrase, const QStringList& keys) {
            const WordProcessor::Result result = processor.ShowPhraseInWord(phrase, path);
            QVERIFY2(result.ok, qPrintable(result.message));
            const QString window =
                display.WaitForWindow(QFileInfo(path).fileName() + QStringLiteral(u".*Writer"), 30000);
            QVERIFY2(!window.isEmpty(), "the office's window did not show");
            display.Keys(window, keys);
        };
        type(edited, Phrase, {QStringLiteral(u"P"), QStringLiteral(u"e"), QStringLiteral(u"r"), QStringLiteral(u"o")});
        type(other, SecondPhrase, {QStringLiteral(u"D"), QStringLiteral(u"r"), QStringLiteral(u"u")});
        const QList<pid_t> offices = ProcessesWith(m_profileDir);

        QElapsedTimer clock;
        clock.start();
        for (int check = 0; check < 3; ++check)
            QCOMPARE(processor.UnsavedDocuments({m_docx, edited}), QStringList{edited});
        qInfo("three questions for unsaved changes took %lld ms", clock.restart());
        QVERIFY(processor.SaveDocuments({edited}).ok);
        qInfo("saving the copy in the office took %lld ms", clock.elapsed());

        const QString saved = CDocToText().Extract(edited).text;
        QVERIFY2(saved.contains(QStringLiteral(u"Pero")), qPrintable(saved));
        QVERIFY(processor.UnsavedDocuments({m_docx, edited}).isEmpty());
        // The other document is still open, still unsaved, and its file untouched; the
        // office never asked anything and still runs.
        QCOMPARE(processor.UnsavedDocuments({other}), QStringList{other});
        QVERIFY(!CDocToText().Extract(other).text.contains(QStringLiteral(u"Dru")));
        QVERIFY(display.Do({QStringLiteral(u"search"), QStringLiteral(u"--name"), QStringLiteral(u"Save Document")})
                    .isEmpty());
        QCOMPARE(ProcessesWith(m_profileDir), offices);
    }
};

QTEST_GUILESS_MAIN(TestLibreOfficeAutomation)
#include "tst_libreofficeautomation.moc"
