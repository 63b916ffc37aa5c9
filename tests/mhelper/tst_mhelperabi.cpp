// The library's C interface at its edges: bad pointers, bad handles, words of any
// length and encoding, many handles, several threads.
#include "mhelper.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <libstemmer.h>
#include <sys/stat.h>
#include <thread>

namespace {

constexpr int32_t kMax = 99;

bool IsValidUtf8(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

QByteArray Stem(uint32_t handle, const QByteArray& word, int32_t max = kMax)
{
    QByteArray out(max + 1 + 16, '\x7f');
    int32_t size = max;
    CalcStem(handle, word.constData(), out.data(), &size);
    const int len = int(qstrnlen(out.constData(), out.size()));
    [&] {
        QVERIFY2(len <= max, "the stem must fit the buffer with its terminator");
        for (int i = max + 1; i < out.size(); ++i)
            QCOMPARE(out.at(i), '\x7f');
    }();
    return out.left(len);
}

} // namespace

class TestMhelperAbi : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // Without a data file the suffix rules stem alone.
        m_handle = OpenMorphology(m_missing.constData());
        QVERIFY(m_handle != 0);
    }
    void cleanup() { QCOMPARE(CloseMorphology(m_handle), 1); }

    void nullAndEmptyArguments()
    {
        char out[100];
        int32_t size = kMax;
        QCOMPARE(CalcStem(m_handle, "книги", nullptr, &size), -1);
        std::memset(out, 'x', sizeof out);
        QCOMPARE(CalcStem(m_handle, nullptr, out, &size), -1);
        QCOMPARE(out[0], '\0');
        std::memset(out, 'x', sizeof out);
        QCOMPARE(CalcStem(m_handle, "книги", out, nullptr), 0); // null size means 99
        QCOMPARE(QByteArray(out), QByteArray("книг"));
        std::memset(out, 'x', sizeof out);
        QCOMPARE(CalcStem(m_handle, "", out, &size), 0);
        QCOMPARE(out[0], '\0');
        size = 0;
        std::memset(out, 'x', sizeof out);
        CalcStem(m_handle, "книги", out, &size);
        QCOMPARE(out[0], '\0');
        size = -5;
        std::memset(out, 'x', sizeof out);
        CalcStem(m_handle, "книги", out, &size);
        QCOMPARE(out[0], '\0');
        const uint32_t nullPath = OpenMorphology(nullptr);
        QVERIFY(nullPath != 0);
        QCOMPARE(Stem(nullPath, "tables"), QByteArray("tabl"));
        QCOMPARE(CloseMorphology(nullPath), 1);
    }

    // A data file that is a pipe is refused at once rather than waited on.
    void pipeAsDataFile()
    {
        QTemporaryDir dir;
        const QByteArray pipe = QFile::encodeName(dir.filePath(QStringLiteral("mhelper.dat")));
        QVERIFY(::mkfifo(pipe.constData(), 0644) == 0);
        const uint32_t handle = OpenMorphology(pipe.constData());
        QVERIFY(handle != 0);
        char out[kMax + 1];
        int32_t size = kMax;
        QCOMPARE(CalcStem(handle, "", out, &size), 0); // no dictionary
        QCOMPARE(CloseMorphology(handle), 1);
    }

    void badHandles_data()
    {
        QTest::addColumn<uint32_t>("handle");
        QTest::newRow("zero") << 0u;
        QTest::newRow("never issued") << 0x7fffff3fu;
        QTest::newRow("all bits") << 0xffffffffu;
    }
    void badHandles()
    {
        QFETCH(uint32_t, handle);
        char out[100];
        std::memset(out, 'x', sizeof out);
        int32_t size = kMax;
        QCOMPARE(CalcStem(handle, "книги", out, &size), -1);
        QCOMPARE(out[0], '\0');
        QCOMPARE(CloseMorphology(handle), 0);
    }

    void closedHandleIsDeadEvenWhenItsSlotIsReused()
    {
        const uint32_t first = OpenMorphology(m_missing.constData());
        QCOMPARE(CloseMorphology(first), 1);
        QCOMPARE(CloseMorphology(first), 0);
        const uint32_t second = OpenMorphology(m_missing.constData());
        QVERIFY(second != first);
        char out[100];
        int32_t size = kMax;
        QCOMPARE(CalcStem(first, "книги", out, &size), -1);
        QCOMPARE(CalcStem(second, "книги", out, &size), 0);
        QCOMPARE(CloseMorphology(second), 1);
    }

    void repeatedOpenAndClose()
    {
        for (int i = 0; i < 300; ++i) {
            const uint32_t h = OpenMorphology(m_missing.constData());
            QVERIFY(h != 0);
            QCOMPARE(Stem(h, "столами"), QByteArray("стол"));
            QCOMPARE(CloseMorphology(h), 1);
        }
    }

    void manyHandlesAtOnce()
    {
        QList<uint32_t> handles;
        for (int i = 0; i < 100; ++i) {
            const uint32_t h = OpenMorphology(m_missing.constData());
            if (h == 0)
                break;
            QVERIFY(!handles.contains(h));
            handles.append(h);
        }
        QVERIFY(handles.size() >= 8);
        for (uint32_t h : handles)
            QCOMPARE(Stem(h, "столами"), QByteArray("стол"));
        for (uint32_t h : handles)
            QCOMPARE(CloseMorphology(h), 1);
        const uint32_t again = OpenMorphology(m_missing.constData());
        QVERIFY(again != 0);
        CloseMorphology(again);
    }

    void longWordsAreCutAtCharacterBoundaries_data()
    {
        // Words too long to be words come back as their own prefix, as long as fits.
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("expectedSize");
        QTest::newRow("cyrillic 1000") << QString(1000, QChar(u'ж')).toUtf8() << 99 << 98;
        QTest::newRow("cyrillic odd max") << QString(300, QChar(u'ж')).toUtf8() << 7 << 6;
        QTest::newRow("latin 5000") << QByteArray(5000, 'a') << 99 << 99;
        QTest::newRow("three-byte") << QString(400, QChar(u'東')).toUtf8() << 99 << 99;
        QTest::newRow("four-byte") << QByteArray("\xF0\x9F\x98\x80").repeated(100) << 98 << 96;
        QTest::newRow("four-byte, max 3") << QByteArray("\xF0\x9F\x98\x80").repeated(100) << 3 << 0;
    }
    void longWordsAreCutAtCharacterBoundaries()
    {
        QFETCH(QByteArray, word);
        QFETCH(int, max);
        QFETCH(int, expectedSize);
        const QByteArray stem = Stem(m_handle, word, max);
        QCOMPARE(stem.size(), expectedSize);
        QVERIFY(IsValidUtf8(stem));
        QVERIFY(word.startsWith(stem));
    }

    void shortBuffersCutStems_data()
    {
        QTest::addColumn<int>("max");
        QTest::addColumn<QByteArray>("stem");
        QTest::newRow("room for all") << 99 << QByteArray("книг");
        QTest::newRow("exactly") << 8 << QByteArray("книг");
        QTest::newRow("mid-character") << 7 << QByteArray("кни");
        QTest::newRow("one byte") << 1 << QByteArray();
    }
    void shortBuffersCutStems()
    {
        QFETCH(int, max);
        QFETCH(QByteArray, stem);
        QCOMPARE(Stem(m_handle, "книгами", max), stem);
    }

    void invalidUtf8_data()
    {
        QTest::addColumn<QByteArray>("word");
        QTest::newRow("lone continuation") << QByteArray("\x80\x81");
        QTest::newRow("truncated cyrillic") << QByteArray("кни\xD0");
        QTest::newRow("overlong") << QByteArray("\xC0\xAF");
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80");
        QTest::newRow("beyond unicode") << QByteArray("\xF4\x90\x80\x80");
        QTest::newRow("latin-1") << QByteArray("caf\xE9s");
        QTest::newRow("cp1251") << QByteArray("\xEA\xED\xE8\xE3\xE8");
        QTest::newRow("0xff") << QByteArray(300, '\xFF');
    }
    void invalidUtf8()
    {
        QFETCH(QByteArray, word);
        const QByteArray stem = Stem(m_handle, word);
        QVERIFY(IsValidUtf8(stem));
        QVERIFY(!stem.contains('\xFF'));
    }

    void caseAndScript_data()
    {
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<QByteArray>("stem");
        QTest::newRow("capital cyrillic") << QByteArray("КНИГАМИ") << QByteArray("книг");
        QTest::newRow("yo") << QByteArray("ЁЛКАМИ") << QByteArray("елк");
        QTest::newRow("capital latin") << QByteArray("Running") << QByteArray("run");
        QTest::newRow("other script") << QByteArray("ΑΒΓ") << QByteArray("ΑΒΓ");
        QTest::newRow("han") << QByteArray("東京") << QByteArray("東京");
        QTest::newRow("digits") << QByteArray("2024") << QByteArray("2024");
    }
    void caseAndScript()
    {
        QFETCH(QByteArray, word);
        QFETCH(QByteArray, stem);
        QCOMPARE(Stem(m_handle, word), stem);
    }

    // Russian words go through the one-byte build of the suffix rules when they can: every
    // stem is the UTF-8 build's, for every ending the rules know and for words of
    // letters, ASCII or both that it cannot hold.
    void suffixRulesGiveTheUtf8Stems()
    {
        sb_stemmer* utf8 = sb_stemmer_new("russian", "UTF_8");
        QVERIFY(utf8);
        const QList<QByteArray> bases = {"", "книг", "красив", "прыга", "мысл", "стран", "з", "кофеin", "їжак", "ўзор"};
        const QList<QByteArray> endings = {
            "",     "а",    "я",     "о",      "е",     "ы",      "и",     "у",    "ю",   "ь",    "ой",   "ей",
            "ий",   "ый",   "ая",    "яя",     "ое",    "ее",     "ие",    "ые",   "ого", "его",  "ому",  "ему",
            "ыми",  "ими",  "ами",   "ями",    "ах",    "ях",     "ов",    "ев",   "ом",  "ем",   "ость", "ости",
            "ение", "ания", "ующий", "ющийся", "вшись", "ившись", "ся",    "сь",   "ть",  "ти",   "ла",   "ло",
            "ли",   "ет",   "ют",    "ут",     "ишь",   "ешь",    "ейший", "ейше", "нн",  "нный", "ннь",  "ость12"};
        for (const QByteArray& base : bases) {
            for (const QByteArray& ending : endings) {
                const QByteArray word = base + ending;
                if (!QString::fromUtf8(word).contains(QRegularExpression(QStringLiteral(u"[а-яўї]"))))
                    continue; // not Russian: the English rules stem it
                const sb_symbol* stem =
                    sb_stemmer_stem(utf8, reinterpret_cast<const sb_symbol*>(word.constData()), int(word.size()));
                const QByteArray expected(reinterpret_cast<const char*>(stem), sb_stemmer_length(utf8));
                QCOMPARE(Stem(m_handle, word), expected);
            }
        }
        sb_stemmer_delete(utf8);
    }

    // Random bytes of random length, from a fixed seed: every answer is bounded,
    // terminated and well-formed.
    void randomBytes()
    {
        QRandomGenerator random(20240611);
        for (int i = 0; i < 20000; ++i) {
            QByteArray word(random.bounded(1, 400), '\0');
            for (char& c : word) {
                // Mostly Cyrillic and ASCII lead bytes, so that lookups happen too.
                const int pick = random.bounded(10);
                c = char(pick < 3   ? 0xD0 + random.bounded(2)
                         : pick < 6 ? 0x80 + random.bounded(64)
                         : pick < 9 ? 'a' + random.bounded(26)
                                    : random.bounded(1, 256));
            }
            const int max = random.bounded(0, 100);
            const QByteArray stem = Stem(m_handle, word, max);
            QVERIFY(stem.size() <= max);
            QVERIFY2(IsValidUtf8(stem), word.toHex().constData());
        }
    }

    void severalThreadsOnOneHandle()
    {
        const QList<QByteArray> words = {"книгами", "столов", "running", "ЁЛКИ", "東京", "домами", "\xFF\xFE"};
        QList<QByteArray> expected;
        for (const QByteArray& w : words)
            expected.append(Stem(m_handle, w));
        std::atomic<int> mismatches{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&, t] {
                char out[100];
                for (int i = 0; i < 2000; ++i) {
                    const int k = (i + t) % int(words.size());
                    int32_t size = kMax;
                    CalcStem(m_handle, words[k].constData(), out, &size);
                    if (expected[k] != QByteArray(out))
                        ++mismatches;
                }
            });
        }
        for (auto& th : threads)
            th.join();
        QCOMPARE(mismatches.load(), 0);
    }

private:
    uint32_t m_handle = 0;
    QTemporaryDir m_dir;
    QByteArray m_missing = QFile::encodeName(m_dir.filePath(QStringLiteral("absent.dat")));
};

QTEST_GUILESS_MAIN(TestMhelperAbi)
#include "tst_mhelperabi.moc"
