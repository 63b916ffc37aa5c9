#include "NearTestText.h"
#include "compare/NearIndex.h"

#include <QTest>
#include <cmath>
#include <vector>

// Stem weights, the seeding postings and the similarity measure of the original side.
class TestNearIndex : public QObject
{
    Q_OBJECT

    NearTestText m_text;
    QList<NearSentence> m_sentences;

    qint32 stem(const char16_t* word) { return m_text.table().NumberOf(QString::fromUtf16(word)); }

private slots:
    void initTestCase()
    {
        m_sentences = m_text.sentences(QStringLiteral(u"альфа бета гамма дельта. альфа эпсилон дзета эта. "
                                                      u"альфа тета йота каппа. альфа лямбда мю ню."));
    }

    void weights()
    {
        const NearIndex index(m_sentences);
        QCOMPARE(index.sentenceCount(), 4);
        // ln(1 + N / df): in every sentence, in one, and in none.
        QCOMPARE(index.weight(stem(u"альфа")), std::log(2.0));
        QCOMPARE(index.weight(stem(u"бета")), std::log(5.0));
        QCOMPARE(index.weight(stem(u"омега")), std::log(5.0));
        QCOMPARE(index.weight(-1), std::log(5.0));
    }

    void unitWeights()
    {
        const NearIndex index(m_sentences);
        const double a = std::log(2.0);
        const double r = std::log(5.0);
        QCOMPARE(index.unitWeight(0, 1), a + 3 * r);
        // A pair counts the stem both sentences share once.
        QCOMPARE(index.unitWeight(0, 2), a + 6 * r);
        QCOMPARE(index.frequency(stem(u"альфа")), 4);
        QCOMPARE(index.frequency(stem(u"омега")), 0);
    }

    void stemSets()
    {
        const NearIndex index(m_sentences);
        std::vector<qint32> stems{stem(u"бета"), stem(u"альфа"), stem(u"бета"), stem(u"омега")};
        QCOMPARE(index.MakeStemSet(stems), std::log(2.0) + 2 * std::log(5.0));
        QVERIFY(std::is_sorted(stems.begin(), stems.end()));
        QCOMPARE(stems.size(), size_t(3));
        const std::span<const qint32> first = index.stems(0);
        QCOMPARE(first.size(), size_t(4));
        QVERIFY(std::is_sorted(first.begin(), first.end()));
    }

    void postingsSkipCommonStems()
    {
        // Forty sentences share "альфа": above the limit of 32 it seeds nothing, while
        // a stem of two sentences lists both.
        const auto word = [](const char16_t* prefix, int n) {
            return QString::fromUtf16(prefix) + QChar(u'а' + n / 8) + QChar(u'а' + n % 8);
        };
        QString text;
        for (int i = 0; i < 40; ++i)
            text += u"альфа "_qs + word(u"с", i) + QChar(u' ') + word(u"р", i / 2) + u". "_qs;
        NearTestText local;
        const QList<NearSentence> sentences = local.sentences(text);
        const NearIndex index(sentences);
        QCOMPARE(NearIndex::commonLimit(40), 32);
        QVERIFY(index.sentencesWith(local.table().NumberOf(u"альфа"_qs)).empty());
        const std::span<const qint32> rare = index.sentencesWith(local.table().NumberOf(word(u"р", 7)));
        QCOMPARE(std::vector<qint32>(rare.begin(), rare.end()), (std::vector<qint32>{14, 15}));
        QVERIFY(index.sentencesWith(local.table().NumberOf(u"нигде"_qs)).empty());
        QVERIFY(index.sentencesWith(-1).empty());
    }

    void commonLimit_data()
    {
        QTest::addColumn<qint32>("sentences");
        QTest::addColumn<qint32>("limit");
        QTest::newRow("small") << 10 << 32;
        QTest::newRow("3200") << 3200 << 32;
        QTest::newRow("17000") << 17000 << 170;
        QTest::newRow("capped") << 83000 << 256;
    }

    void commonLimit()
    {
        QFETCH(qint32, sentences);
        QFETCH(qint32, limit);
        QCOMPARE(NearIndex::commonLimit(sentences), limit);
    }

    void emptyDocument()
    {
        const NearIndex index({});
        QCOMPARE(index.sentenceCount(), 0);
        QCOMPARE(index.weight(0), 0.0);
    }
};

QTEST_GUILESS_MAIN(TestNearIndex)
#include "tst_nearindex.moc"
