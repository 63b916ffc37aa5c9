// The adapter: the library missing, present with and without its data, from the
// build tree without installing.
#include "morph/MorphologyLibrary.h"
#include "phrases/TextOps.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>
#include <unistd.h>

namespace {

const QString kLibrary = QStringLiteral(PARAFRIX_BIN_DIR "/mhelper");
const QString kData = QStringLiteral(PARAFRIX_BIN_DIR "/mhelper.dat");

// Captures what the process writes to stderr while it lives.
class StderrCapture
{
public:
    StderrCapture()
    {
        m_file.open();
        std::fflush(stderr);
        m_saved = dup(2);
        dup2(m_file.handle(), 2);
    }
    QByteArray finish()
    {
        std::fflush(stderr);
        dup2(m_saved, 2);
        close(m_saved);
        m_file.seek(0);
        return m_file.readAll();
    }

private:
    QTemporaryFile m_file;
    int m_saved = -1;
};

} // namespace

class TestMorphologyLibrary : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        MorphologyLibrary::Instance().Unload();
        MorphologyLibrary::SetTestStemmer({});
    }

    // Runs first: the once-only message is the process's first.
    void missingLibraryGivesTheWordBackAndSaysSoOnce()
    {
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        StderrCapture capture;
        m.LoadFrom({QStringLiteral("/nonexistent/mhelper"), QStringLiteral("no-such-mhelper-library")}, {kData});
        QVERIFY(!m.isLoaded());
        QCOMPARE(m.GetStem(QStringLiteral(u"книгами")), QStringLiteral(u"книгами"));
        m.Unload();
        m.LoadFrom({QStringLiteral("/nonexistent/mhelper")}, {kData});
        const QByteArray said = capture.finish();
        QCOMPARE(said.count('\n'), 1);
        QVERIFY(said.contains("mhelper"));
    }

    void libraryWithoutTheEntryPoints()
    {
        // Any shared library that lacks them will do: the C library has none.
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        m.LoadFrom({QStringLiteral("libc.so.6")}, {kData});
        QVERIFY(!m.isLoaded());
        QCOMPARE(m.GetStem(QStringLiteral(u"книгами")), QStringLiteral(u"книгами"));
        m.Unload();
    }

    void libraryThatCannotOpenGivesTheWordBack()
    {
        // Take every handle the library has, so that the adapter's open fails. The
        // library is loaded under another spelling of its path: instances of one name
        // share a load, and the adapter's unloading would take it from under this one.
        QLibrary probe(kLibrary);
        QVERIFY(probe.load());
        const QFileInfo file(probe.fileName());
        probe.unload();
        QLibrary library(file.absolutePath() + QStringLiteral("/./") + file.fileName());
        QVERIFY(library.load());
        using Open = uint32_t (*)(const char*);
        using Close = int32_t (*)(uint32_t);
        const auto open = reinterpret_cast<Open>(library.resolve("OpenMorphology"));
        const auto close = reinterpret_cast<Close>(library.resolve("CloseMorphology"));
        QVERIFY(open && close);
        QList<uint32_t> taken;
        for (uint32_t h; taken.size() < 1000 && (h = open("")) != 0;)
            taken.append(h);
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        m.LoadFrom({kLibrary}, {kData});
        QVERIFY(!m.isLoaded());
        QCOMPARE(m.GetStem(QStringLiteral(u"книгами")), QStringLiteral(u"книгами"));
        for (uint32_t h : taken)
            close(h);
        m.Unload();
        m.LoadFrom({kLibrary}, {kData});
        QVERIFY(m.isLoaded());
    }

    void presentLibraryStems_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("stem");
        QTest::newRow("noun") << QStringLiteral(u"книгами") << QStringLiteral(u"книга");
        QTest::newRow("verb") << QStringLiteral(u"читали") << QStringLiteral(u"читать");
        QTest::newRow("yo") << QStringLiteral(u"ёлками") << QStringLiteral(u"елка");
        QTest::newRow("english") << QStringLiteral(u"tables") << QStringLiteral(u"table");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("other script") << QStringLiteral(u"東京") << QStringLiteral(u"東京");
    }
    void presentLibraryStems()
    {
        QFETCH(QString, word);
        QFETCH(QString, stem);
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        m.LoadFrom({kLibrary}, {kData});
        QVERIFY(m.isLoaded());
        QVERIFY(m.hasDictionary());
        QCOMPARE(m.GetStem(word), stem);
        QCOMPARE(m.GetStem(word), stem); // again, from the cache
    }

    void normalizeWordLowerCasesThenStems()
    {
        MorphologyLibrary::Instance().LoadFrom({kLibrary}, {kData});
        const QString word = QStringLiteral(u"КНИГАМИ");
        QCOMPARE(NormalizeWord(word), QStringLiteral(u"книга"));
        QCOMPARE(word, QStringLiteral(u"КНИГАМИ"));
        QCOMPARE(NormalizeWord(QStringLiteral(u"Читали")), NormalizeWord(QStringLiteral(u"читаю")));
    }

    void dataFileFallsBackInOrder()
    {
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        QTemporaryDir dir;
        const QString absent = dir.filePath(QStringLiteral("mhelper.dat"));
        m.LoadFrom({kLibrary}, {absent, kData});
        QCOMPARE(m.dataPath(), kData);
        QVERIFY(m.hasDictionary());
    }

    void missingDataStemsBySuffixRules()
    {
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        QTemporaryDir dir;
        const QString absent = dir.filePath(QStringLiteral("mhelper.dat"));
        m.LoadFrom({kLibrary}, {absent});
        QVERIFY(m.isLoaded());
        QVERIFY(!m.hasDictionary());
        QCOMPARE(m.dataPath(), absent);
        QCOMPARE(m.GetStem(QStringLiteral(u"книгами")), QStringLiteral(u"книг"));
    }

    void longWordsComeBackBounded()
    {
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        m.LoadFrom({kLibrary}, {kData});
        const QString stem = m.GetStem(QString(500, QChar(u'ж')));
        QCOMPARE(stem, QString(49, QChar(u'ж')));
    }

    void unloadRestoresTheWord()
    {
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        m.LoadFrom({kLibrary}, {kData});
        QCOMPARE(m.GetStem(QStringLiteral(u"книгами")), QStringLiteral(u"книга"));
        m.Unload();
        QVERIFY(!m.isLoaded());
        QCOMPARE(m.GetStem(QStringLiteral(u"книгами")), QStringLiteral(u"книгами"));
        m.Unload(); // twice is harmless
    }

    void loadTwiceKeepsTheFirst()
    {
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        m.LoadFrom({kLibrary}, {kData});
        m.LoadFrom({kLibrary}, {QStringLiteral("/nonexistent.dat")});
        QVERIFY(m.hasDictionary());
    }

    void testStemmerOverridesTheLibrary()
    {
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        m.LoadFrom({kLibrary}, {kData});
        MorphologyLibrary::SetTestStemmer([](const QString& w) { return w.left(2); });
        QCOMPARE(m.GetStem(QStringLiteral(u"книгами")), QStringLiteral(u"кн"));
        MorphologyLibrary::SetTestStemmer({});
        QCOMPARE(m.GetStem(QStringLiteral(u"книгами")), QStringLiteral(u"книга"));
    }
};

QTEST_GUILESS_MAIN(TestMorphologyLibrary)
#include "tst_morphologylibrary.moc"
