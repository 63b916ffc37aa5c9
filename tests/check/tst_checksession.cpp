#include "check/CheckOptions.h"
#include "check/CheckSession.h"
#include "morph/Stemmer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A word processor whose quit answers the test scripts, and which keeps the phrases
// it was asked to show.
class ScriptedWordProcessor : public WordProcessor
{
public:
    QuitStatus quitAnswer = QuitStatus::NotRunning;
    QuitStatus pollAnswer = QuitStatus::NotRunning;
    QStringList shown;

    Result ShowPhraseInWord(const QString& phrase, const QString& editedPath) override
    {
        Q_UNUSED(editedPath);
        shown << phrase;
        return {};
    }
    QuitStatus QuitActiveWord() override { return quitAnswer; }
    QuitStatus PollQuit() override { return pollAnswer; }
    void QuitOwnWordInstances() override {}
};

} // namespace

// The window's state without widgets: the quit steps, the place kept over Checks, and
// the sentences as shown.
class TestCheckSession : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    LowerCaseStemmer m_stemmer;
    CheckOptions m_options;
    ScriptedWordProcessor* m_word = nullptr;
    std::unique_ptr<CheckSession> m_session;

    QString write(const QString& name, const QString& text)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        file.write(text.toUtf8());
        return path;
    }
    // Writes both documents, chooses them and runs the Check.
    void check(const QString& original, const QString& edited)
    {
        m_session->SetOriginalPath(write(QStringLiteral("o.txt"), original));
        m_session->SetEditedPath(write(QStringLiteral("e.txt"), edited));
        m_session->RunCheck(m_options);
    }
    QString selectedEdited() const
    {
        const PhraseMatch* match = m_session->selectedMatch();
        return match ? CheckSession::Shown(match->edited) : QString();
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        auto word = std::make_unique<ScriptedWordProcessor>();
        m_word = word.get();
        m_session = std::make_unique<CheckSession>(std::move(word), m_stemmer);
    }

    void quitStepsAreTheWordProcessors_data()
    {
        QTest::addColumn<QuitStatus>("status");
        QTest::newRow("not running") << QuitStatus::NotRunning;
        QTest::newRow("quit") << QuitStatus::Quit;
        QTest::newRow("deciding") << QuitStatus::Deciding;
        QTest::newRow("refused") << QuitStatus::Refused;
    }

    void quitStepsAreTheWordProcessors()
    {
        QFETCH(QuitStatus, status);
        m_word->quitAnswer = status;
        m_word->pollAnswer = status;
        QCOMPARE(m_session->QuitActiveWord(), status);
        QCOMPARE(m_session->PollQuit(), status);
        // Quitting reads nothing.
        QVERIFY(!m_session->hasStemDictionary());
    }

    void placeIsKeptOverChecks_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("select");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("selectedAfter");
        const QString a = QStringLiteral(u"Кот ест рыбу дома.");
        const QString b = QStringLiteral(u" Пёс грызёт кость во дворе.");
        const QString c = QStringLiteral(u" Птица поёт песню рано утром.");
        // The original is a + b + c; the edited copy is listed in its own order.
        QTest::newRow("same text") << a + b + c << 2 << a + b + c << 2;
        QTest::newRow("moved up") << a + b + c << 2 << b + c << 1;
        QTest::newRow("gone: the first") << a + b + c << 1 << a + c << 0;
        QTest::newRow("second of a repeated sentence") << a + b + c + b << 3 << a + b + c + b << 3;
        QTest::newRow("repeat gone: the one left") << a + b + c + b << 3 << a + c + b << 2;
    }

    void placeIsKeptOverChecks()
    {
        QFETCH(QString, before);
        QFETCH(int, select);
        QFETCH(QString, after);
        QFETCH(int, selectedAfter);
        check(QStringLiteral(u"Кот ест рыбу дома. Пёс грызёт кость во дворе. Птица поёт песню рано утром."), before);
        QCOMPARE(m_session->selectedIndex(), 0);
        QVERIFY(m_session->Select(select, m_options));
        const QString selected = selectedEdited();
        m_session->SetEditedPath(write(QStringLiteral("e.txt"), after));
        m_session->RunCheck(m_options);
        QCOMPARE(m_session->selectedIndex(), qsizetype(selectedAfter));
        if (after.contains(selected))
            QCOMPARE(selectedEdited(), selected);
        QVERIFY(!m_session->selectedVerdict().text().isEmpty());
    }

    void placeSurvivesAFailedCheck()
    {
        const QString text =
            QStringLiteral(u"Кот ест рыбу дома. Пёс грызёт кость во дворе. Птица поёт песню рано утром.");
        check(text, text);
        QVERIFY(m_session->Select(2, m_options));
        QVERIFY(QFile::remove(m_dir.filePath(QStringLiteral("e.txt"))));
        QVERIFY(!m_session->RunCheck(m_options).ok());
        QVERIFY(!m_session->selectedMatch());
        write(QStringLiteral("e.txt"), text);
        m_session->RunCheck(m_options);
        QCOMPARE(m_session->selectedIndex(), 2);
    }

    void anotherDocumentForgetsThePlace()
    {
        const QString text =
            QStringLiteral(u"Кот ест рыбу дома. Пёс грызёт кость во дворе. Птица поёт песню рано утром.");
        check(text, text);
        QVERIFY(m_session->Select(2, m_options));
        m_session->SetEditedPath(write(QStringLiteral("other.txt"), text));
        QVERIFY(!m_session->hasStemDictionary());
        QVERIFY(!m_session->selectedMatch());
        m_session->RunCheck(m_options);
        QCOMPARE(m_session->selectedIndex(), 0);
    }

    void sentencesAreShownWithoutSurroundingSpace_data()
    {
        QTest::addColumn<QString>("held");
        QTest::addColumn<QString>("shown");
        QTest::newRow("space after a full stop") << QStringLiteral(u" Пёс грызёт") << QStringLiteral(u"Пёс грызёт");
        QTest::newRow("line break and tab") << QStringLiteral(u"\r\n\tПёс грызёт \n") << QStringLiteral(u"Пёс грызёт");
        QTest::newRow("no-break space") << QStringLiteral(u"\u00A0Пёс грызёт") << QStringLiteral(u"Пёс грызёт");
        QTest::newRow("inner space kept") << QStringLiteral(u"Пёс  грызёт") << QStringLiteral(u"Пёс  грызёт");
        QTest::newRow("line separator inside kept")
            << QStringLiteral(u" Пёс\u2028грызёт") << QStringLiteral(u"Пёс\u2028грызёт");
    }

    void sentencesAreShownWithoutSurroundingSpace()
    {
        QFETCH(QString, held);
        QFETCH(QString, shown);
        QCOMPARE(CheckSession::Shown(held), shown);
    }

    void wordProcessorSearchesTheShownSentence()
    {
        QVERIFY(m_session->ShowSelectedInWord().ok);
        QCOMPARE(m_word->shown, QStringList{QString()});
        const QString text = QStringLiteral(u"Кот ест рыбу дома.   Пёс грызёт кость во дворе.");
        check(text, text);
        QVERIFY(m_session->Select(1, m_options));
        QVERIFY(m_session->selectedMatch()->edited.startsWith(QChar(u' ')));
        QCOMPARE(m_session->shownEdited(), QStringLiteral(u"Пёс грызёт кость во дворе"));
        QCOMPARE(m_session->shownOriginal(), QStringLiteral(u"Пёс грызёт кость во дворе"));
        m_session->ShowSelectedInWord();
        QCOMPARE(m_word->shown.last(), QStringLiteral(u"Пёс грызёт кость во дворе"));
    }
};

QTEST_GUILESS_MAIN(TestCheckSession)
#include "tst_checksession.moc"
