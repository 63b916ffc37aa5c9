// The adapter: the library missing, present with and without its data, from the
// build tree without installing.
#include "morph/MorphologyLibrary.h"
#include "phrases/TextOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kLibrary = QStringLiteral(PARAFRIX_BIN_DIR "/mhelper");
const QString kData = QStringLiteral(PARAFRIX_BIN_DIR "/mhelper.dat");

} // namespace

class TestMorphologyLibrary : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { MorphologyLibrary::Instance().Unload(); }

    void missingLibraryGivesTheWordBackAndSaysWhy()
    {
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        QVERIFY(
            !m.LoadFrom({QStringLiteral("/nonexistent/mhelper"), QStringLiteral("no-such-mhelper-library")}, {kData}));
        QVERIFY(!m.isLoaded());
        QVERIFY(m.loadProblem().contains(QStringLiteral("mhelper")));
        QCOMPARE(m.GetStem(QStringLiteral(u"книгами")), QStringLiteral(u"книгами"));
        m.Unload();
        // A later load that works says nothing any more.
        QVERIFY(m.LoadFrom({kLibrary}, {kData}));
        QVERIFY(m.loadProblem().isEmpty());
    }

    void libraryWithoutTheEntryPoints()
    {
        // Any shared library that lacks them will do: the C library has none.
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        QVERIFY(!m.LoadFrom({QStringLiteral("libc.so.6")}, {kData}));
        QVERIFY(!m.isLoaded());
        QVERIFY(!m.loadProblem().isEmpty());
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
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        QCOMPARE(NormalizeWord(word, m), QStringLiteral(u"книга"));
        QCOMPARE(word, QStringLiteral(u"КНИГАМИ"));
        QCOMPARE(NormalizeWord(QStringLiteral(u"Читали"), m), NormalizeWord(QStringLiteral(u"читаю"), m));
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
        QVERIFY(!m.LoadFrom({kLibrary}, {absent}));
        QVERIFY(m.isLoaded());
        QVERIFY(!m.hasDictionary());
        QVERIFY2(m.loadProblem().contains(QDir::toNativeSeparators(absent)), qPrintable(m.loadProblem()));
        QCOMPARE(m.dataPath(), absent);
        QCOMPARE(m.GetStem(QStringLiteral(u"книгами")), QStringLiteral(u"книг"));
    }

    // A data candidate that is there but is no regular file is never opened: a pipe
    // would wait for a writer forever. The next candidate is used, else the rules alone.
    void dataThatIsNoFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("fallback");
        QTest::newRow("folder") << u"folder"_qs << false;
        QTest::newRow("folder, then the data file") << u"folder"_qs << true;
#ifndef Q_OS_WIN
        QTest::newRow("pipe") << u"pipe"_qs << false;
        QTest::newRow("pipe, then the data file") << u"pipe"_qs << true;
#endif
    }
    void dataThatIsNoFile()
    {
        QFETCH(QString, kind);
        QFETCH(bool, fallback);
        QTemporaryDir dir;
        const QString odd = dir.filePath(QStringLiteral("mhelper.dat"));
#ifndef Q_OS_WIN
        if (kind == u"pipe"_qs)
            QVERIFY(::mkfifo(QFile::encodeName(odd).constData(), 0644) == 0);
#endif
        if (kind == u"folder"_qs)
            QVERIFY(QDir().mkdir(odd));
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        QStringList candidates{odd};
        if (fallback)
            candidates << kData;
        QCOMPARE(m.LoadFrom({kLibrary}, candidates), fallback);
        QVERIFY(m.isLoaded());
        QCOMPARE(m.hasDictionary(), fallback);
        QCOMPARE(m.dataPath(), fallback ? kData : QString());
        if (!fallback)
            QVERIFY2(m.loadProblem().contains(QDir::toNativeSeparators(odd)), qPrintable(m.loadProblem()));
    }

    void wordsTooLongForTheStemBufferAreTheirOwnStems()
    {
        // 101 Cyrillic letters take 101 bytes in a code page and 202 in UTF-8, more than
        // the 99 the buffer holds: cut to it, these four would share a stem.
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        m.LoadFrom({kLibrary}, {kData});
        const QString head(99, QChar(u'ж'));
        QSet<QString> stems;
        for (const QString& tail : {u"аа"_qs, u"об"_qs, u"ув"_qs, u"ыг"_qs}) {
            const QString word = head + tail;
            QCOMPARE(m.GetStem(word), word);
            stems.insert(m.GetStem(word));
        }
        QCOMPARE(stems.size(), 4);
        // A word that fits is still stemmed.
        QCOMPARE(m.GetStem(QStringLiteral(u"книгами")), QStringLiteral(u"книга"));
    }

#ifndef Q_OS_WIN
    void wordsOfExactlyTheStemBufferAreStemmed()
    {
        // In UTF-8 a word of 99 bytes still reaches the library; one of 100 does not.
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        m.LoadFrom({kLibrary}, {kData});
        const QString fits = QString(85, QChar(u'a')) + u"книгами"_qs;
        QCOMPARE(fits.toUtf8().size(), 99);
        QVERIFY(m.GetStem(fits) != fits);
        const QString longer = u'a' + fits;
        QCOMPARE(m.GetStem(longer), longer);
    }
#endif

    void wordsTheNarrowEncodingCannotCarryAreTheirOwnStems()
    {
        // Under a Western ANSI code page Cyrillic cannot be passed; in UTF-8 broken
        // surrogates cannot. Either way both words would reach the library as "??".
        MorphologyLibrary& m = MorphologyLibrary::Instance();
        m.LoadFrom({kLibrary}, {kData});
        const QString first = QString(QChar(0xD800)) + QChar(0xD801);
        const QString second = QString(QChar(0xDC00)) + QChar(0xDC01);
        QCOMPARE(m.GetStem(first), first);
        QCOMPARE(m.GetStem(second), second);
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
};

QTEST_GUILESS_MAIN(TestMorphologyLibrary)
#include "tst_morphologylibrary.moc"
