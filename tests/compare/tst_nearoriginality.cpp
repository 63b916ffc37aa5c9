#include "NearTestText.h"
#include "compare/NearOriginality.h"

#include <QTest>

Q_DECLARE_METATYPE(QList<NearMatch>)

// The share of the copy's words outside every match.
class TestNearOriginality : public QObject
{
    Q_OBJECT

private slots:
    void originality_data()
    {
        QTest::addColumn<QList<qint32>>("exact");
        QTest::addColumn<QList<NearMatch>>("near");
        QTest::addColumn<double>("expected");
        // The copy has sentences of 4, 6 and 10 words: 20 in all.
        QTest::newRow("nothing matched") << QList<qint32>{} << QList<NearMatch>{} << 1.0;
        QTest::newRow("an exact match") << QList<qint32>{0} << QList<NearMatch>{} << 16.0 / 20;
        QTest::newRow("a near match") << QList<qint32>{} << QList<NearMatch>{{0, 1, 2, 1, 0.8}} << 10.0 / 20;
        QTest::newRow("a split") << QList<qint32>{} << QList<NearMatch>{{0, 1, 1, 2, 0.8}} << 4.0 / 20;
        QTest::newRow("exact and near") << QList<qint32>{0} << QList<NearMatch>{{3, 2, 2, 1, 0.6}} << 6.0 / 20;
        QTest::newRow("everything") << QList<qint32>{0, 1, 2} << QList<NearMatch>{} << 0.0;
        QTest::newRow("one sentence listed twice")
            << QList<qint32>{2} << QList<NearMatch>{{0, 1, 2, 1, 0.8}} << 10.0 / 20;
        QTest::newRow("indices beyond the copy")
            << QList<qint32>{-1, 3} << QList<NearMatch>{{0, 1, 2, 2, 0.7}} << 10.0 / 20;
    }

    void originality()
    {
        QFETCH(QList<qint32>, exact);
        QFETCH(QList<NearMatch>, near);
        QFETCH(double, expected);
        NearTestText text;
        const QList<NearSentence> copy = text.sentences(
            u"Раз два три четыре. Раз два три четыре пять шесть. Один два три четыре пять шесть семь восемь девять десять."_qs);
        QCOMPARE(CopyOriginality(WordCounts(copy), exact, near), expected);
    }

    void emptyCopyIsOriginal()
    {
        QCOMPARE(CopyOriginality({}, {}, {}), 1.0);
        NearTestText text;
        QCOMPARE(CopyOriginality(WordCounts(text.sentences(u"— … —"_qs)), QList<qint32>{0}, {}), 1.0);
    }
};

QTEST_GUILESS_MAIN(TestNearOriginality)
#include "tst_nearoriginality.moc"
