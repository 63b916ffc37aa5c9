#include "NearTestText.h"
#include "compare/NearSeeder.h"

#include <QTest>
#include <cmath>
#include <vector>

// Choosing the original sentences worth comparing with an edited sentence.
class TestNearSeeder : public QObject
{
    Q_OBJECT

    static std::vector<qint32> stemsOf(NearTestText& text, const QString& sentence, const NearIndex& index)
    {
        std::vector<qint32> stems;
        const QList<NearSentence> sentences = text.sentences(sentence);
        for (const NearSentence::Word& word : sentences.first().words)
            stems.push_back(word.stem);
        index.MakeStemSet(stems);
        return stems;
    }

private slots:
    void seeds_data()
    {
        QTest::addColumn<QString>("edited");
        QTest::addColumn<std::vector<qint32>>("seeds");
        // "общее" is in every sentence; "пара" in sentences 1 and 2; the rest in one each.
        QTest::newRow("the sentence with most shared weight first")
            << u"общее бета пара гамма"_qs << std::vector<qint32>{1, 2, 0, 3};
        QTest::newRow("ties in sentence order") << u"пара"_qs << std::vector<qint32>{1, 2};
        QTest::newRow("in a small text every stem seeds") << u"общее"_qs << std::vector<qint32>{0, 1, 2, 3};
        QTest::newRow("stems the original lacks seed nothing") << u"омега пси"_qs << std::vector<qint32>{};
    }

    void seeds()
    {
        QFETCH(QString, edited);
        QFETCH(std::vector<qint32>, seeds);
        NearTestText text;
        const QList<NearSentence> original =
            text.sentences(u"общее альфа. общее бета пара гамма. общее пара дельта. общее эпсилон."_qs);
        const NearIndex index(original);
        NearSeeder seeder(index);
        seeder.Score(stemsOf(text, edited, index));
        QCOMPARE(seeder.seeds(), seeds);
    }

    void budgetAndUnreadWeight()
    {
        // "частое" is in all 301 sentences, far above the common limit of 32, so only
        // the rare stem is read, and "частое" counts as unread wherever a sentence's
        // signature may hold it.
        NearTestText text;
        QString document;
        for (int i = 0; i < 300; ++i)
            document += u"частое слово. "_qs;
        document += u"редкое частое слово."_qs;
        const QList<NearSentence> original = text.sentences(document);
        const NearIndex index(original);
        QVERIFY(index.sentencesWith(text.table().NumberOf(u"частое"_qs)).empty());
        NearSeeder seeder(index);
        seeder.Score(stemsOf(text, u"редкое частое"_qs, index));
        QCOMPARE(seeder.seeds(), std::vector<qint32>{300});
        const qint32 rare = text.table().NumberOf(u"редкое"_qs);
        const qint32 frequent = text.table().NumberOf(u"частое"_qs);
        QCOMPARE(seeder.scoreOf(300), index.weight(rare));
        QCOMPARE(seeder.scoreOf(0), 0.0);
        QCOMPARE(seeder.scoreOf(-1), 0.0);
        QCOMPARE(seeder.unread(index.signature(0)), index.weight(frequent));
        QCOMPARE(seeder.unread(0), 0.0);
        seeder.clear();
        QVERIFY(seeder.seeds().empty());
        QCOMPARE(seeder.scoreOf(300), 0.0);
    }

    void postingsReadAreBounded()
    {
        // Two stems of 200 sentences each: the rarer is read, the second would pass
        // the budget, so it is left unread and its sentences are no seeds.
        NearTestText text;
        QString document;
        for (int i = 0; i < 200; ++i)
            document += u"первое слово. "_qs;
        for (int i = 0; i < 201; ++i)
            document += u"второе слово. "_qs;
        for (int i = 0; i < 20000; ++i)
            document += u"прочее. "_qs;
        const QList<NearSentence> original = text.sentences(document);
        const NearIndex index(original);
        QCOMPARE(NearIndex::commonLimit(index.sentenceCount()), 204);
        NearSeeder seeder(index);
        seeder.Score(stemsOf(text, u"первое второе"_qs, index));
        QCOMPARE(seeder.scoreOf(0), index.weight(text.table().NumberOf(u"первое"_qs)));
        QCOMPARE(seeder.scoreOf(200), 0.0);
        QCOMPARE(seeder.seeds().size(), size_t(NearSeeder::kSeeds));
        QVERIFY(seeder.unread(index.signature(200)) > 0);
    }
};

QTEST_GUILESS_MAIN(TestNearSeeder)
#include "tst_nearseeder.moc"
