#include "NearTestText.h"
#include "ThesaurusBytes.h"
#include "compare/NearExplanation.h"
#include "compare/NearRelations.h"
#include "compare/NearSearch.h"
#include "compare/NearVerdict.h"
#include "morph/SynonymFormat.h"
#include "morph/Thesaurus.h"

#include <QTest>

namespace {

const QList<std::pair<QString, QString>> kPairs{
    {u"итог"_qs, u"результат"_qs}, {u"применять"_qs, u"использовать"_qs}, {u"храбрый"_qs, u"смелый"_qs}};

Thesaurus thesaurus()
{
    QString problem;
    return Thesaurus::FromData(ThesaurusBytes(kPairs), &problem);
}

struct Checked
{
    NearMatchList found;
    NearExplanation explanation;
};

// Searches one edited sentence against an original and a background sentence, and
// explains the first match found.
Checked check(const QString& original, const QString& edited, const Thesaurus* synonyms)
{
    NearTestText text;
    const QList<NearSentence> o =
        text.sentences(original + u". Вечером над озером долго кружили белые чайки и кричали."_qs);
    const QList<NearSentence> e = text.sentences(edited);
    const NearRelations relations(text.table().stems(), synonyms);
    NearOptions options;
    options.relations = &relations;
    Checked result;
    result.found = FindNearMatches(o, e, {}, options);
    if (!result.found.matches.isEmpty()) {
        const NearMatch& m = result.found.matches.first();
        result.explanation =
            ExplainNear(std::span(o).subspan(size_t(m.originalFirst), size_t(m.originalCount)),
                        std::span(e).subspan(size_t(m.editedFirst), size_t(m.editedCount)), m.similarity, &relations);
    }
    return result;
}

} // namespace

// Synonyms and family words: the thesaurus file, the family rule, and what both do to
// near matches and their verdicts.
class TestNearRelations : public QObject
{
    Q_OBJECT

private slots:
    void family_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("diminutive") << u"город"_qs << u"городок"_qs << true;
        QTest::newRow("reflexive") << u"считать"_qs << u"считаться"_qs << true;
        QTest::newRow("noun and adjective") << u"женственность"_qs << u"женственный"_qs << true;
        QTest::newRow("adjective with suffixes") << u"иллюзия"_qs << u"иллюзионный"_qs << true;
        QTest::newRow("aspect") << u"выполнять"_qs << u"выполнить"_qs << true;
        QTest::newRow("shared prefix only") << u"передать"_qs << u"передний"_qs << false;
        QTest::newRow("root cut short by a prefix") << u"простой"_qs << u"простить"_qs << false;
        QTest::newRow("short root: too few letters shared") << u"решать"_qs << u"решить"_qs << false;
        QTest::newRow("short root: verb and its noun") << u"развитие"_qs << u"развиваться"_qs << true;
        QTest::newRow("short root: two aspects") << u"раскатать"_qs << u"раскатывать"_qs << true;
        QTest::newRow("short root: suffixes of two verbs") << u"раскалить"_qs << u"раскалывать"_qs << false;
        QTest::newRow("short root: noun in -ть") << u"повесть"_qs << u"повеситься"_qs << false;
        QTest::newRow("four letters: verb and its noun") << u"изучение"_qs << u"изучать"_qs << true;
        QTest::newRow("four letters: two verbs") << u"старить"_qs << u"стараться"_qs << false;
        QTest::newRow("five letters: -и- and -а-") << u"разрушить"_qs << u"разрушать"_qs << true;
        QTest::newRow("four letters: -и- and -а-") << u"вручить"_qs << u"вручать"_qs << false;
        QTest::newRow("noun of another verb suffix") << u"толкание"_qs << u"толковать"_qs << false;
        QTest::newRow("short root: not a verb") << u"застой"_qs << u"застолье"_qs << false;
        QTest::newRow("rest is no suffix") << u"корабль"_qs << u"корабельщик"_qs << false;
        QTest::newRow("equal") << u"город"_qs << u"город"_qs << false;
        QTest::newRow("latin") << u"stemming"_qs << u"stemmer"_qs << false;
    }

    void family()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QCOMPARE(SameFamily(a, b), same);
        QCOMPARE(SameFamily(b, a), same);
    }

    void thesaurusReadsBothEnds()
    {
        const Thesaurus t = thesaurus();
        QCOMPARE(t.pairCount(), 3);
        const qint32 result = t.find(u"результат"_qs);
        QCOMPARE(t.synonyms(result).size(), size_t(1));
        QCOMPARE(t.word(qint32(t.synonyms(result)[0])), u"итог"_qs);
        QCOMPARE(t.word(qint32(t.synonyms(t.find(u"итог"_qs))[0])), u"результат"_qs);
        QCOMPARE(t.find(u"итоги"_qs), -1);
    }

    void damagedThesaurus_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = ThesaurusBytes(kPairs);
        QByteArray badLink = good;
        // The first link points past the last word; the checksum is made to fit, so
        // only the bounds check can refuse it.
        const qsizetype firstLink = 32 + 8 * 7;
        badLink[firstLink] = char(100);
        const QByteArray body = badLink.mid(32);
        const quint32 sum =
            synonymformat::Checksum(reinterpret_cast<const unsigned char*>(body.constData()), quint64(body.size()));
        for (int i = 0; i < 4; ++i)
            badLink[24 + i] = char((sum >> (8 * i)) & 0xFF);
        QByteArray flipped = good;
        flipped[flipped.size() - 1] = char(flipped.at(flipped.size() - 1) ^ 1);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a thesaurus") << QByteArray(64, 'x');
        QTest::newRow("truncated") << good.left(good.size() - 3);
        QTest::newRow("checksum") << flipped;
        QTest::newRow("link out of range") << badLink;
    }

    void damagedThesaurus()
    {
        QFETCH(QByteArray, bytes);
        QString problem;
        const Thesaurus t = Thesaurus::FromData(bytes, &problem);
        QVERIFY(t.isEmpty());
        QVERIFY(!problem.isEmpty());
        QCOMPARE(t.find(u"итог"_qs), -1);
    }

    void missingFileTurnsSynonymsOff()
    {
        InstalledThesaurus& installed = InstalledThesaurus::Instance();
        QVERIFY(!installed.LoadFrom({u"/nonexistent/synonyms.dat"_qs}));
        QVERIFY(installed.loadProblem().contains(u"synonyms.dat"_qs));
        QVERIFY(installed.thesaurus().isEmpty());
    }

    // Three words of seven replaced by synonyms and one by another word: below the
    // threshold as unrelated words, above it once the thesaurus pairs them, and named
    // in the verdict.
    void synonymsLiftAMatch()
    {
        const QString original = u"Результат опыта смелый учёный применять решил сразу"_qs;
        const QString edited = u"Итог опыта храбрый учёный использовать решил потом"_qs;
        QVERIFY(check(original, edited, nullptr).found.matches.isEmpty());
        const Thesaurus t = thesaurus();
        const Checked checked = check(original, edited, &t);
        QCOMPARE(checked.found.matches.size(), 1);
        const double plainShare = 2.0 * 3 / 14;
        QVERIFY(checked.found.matches.first().similarity > plainShare);
        QVERIFY(checked.found.matches.first().similarity < 1);
        const NearExplanation& e = checked.explanation;
        using Pairs = QList<NearExplanation::FormChange>;
        QCOMPARE(e.synonyms, (Pairs{{u"Результат"_qs, u"Итог"_qs},
                                    {u"смелый"_qs, u"храбрый"_qs},
                                    {u"применять"_qs, u"использовать"_qs}}));
        QCOMPARE(e.removed, QStringList{u"сразу"_qs});
        QCOMPARE(e.added, QStringList{u"потом"_qs});
        QCOMPARE(e.editedRelated.size(), 3);
        QVERIFY(NearVerdict(e).contains(
            u"Заменены синонимы: «Результат» → «Итог», «смелый» → «храбрый», «применять» → «использовать»."_qs));
    }

    // Stems are compared in sorted order within a shared beginning: one of four letters
    // must keep изучать and изучение together across изучающий.
    void familyAcrossSortedStems()
    {
        const NearRelations relations({u"изучение"_qs, u"изучать"_qs, u"изучающий"_qs, u"город"_qs}, nullptr);
        NearRelations::Kind kind = NearRelations::Kind::Synonym;
        QVERIFY(relations.related(0, 1, &kind));
        QCOMPARE(kind, NearRelations::Kind::Family);
        QVERIFY(!relations.related(1, 2));
        QVERIFY(relations.of(3).empty());
    }

    void familyWordsWithoutThesaurus()
    {
        const Checked checked = check(u"Маленький городок стоял на берегу широкой реки"_qs,
                                      u"Маленький город стоял у широкой реки"_qs, nullptr);
        QCOMPARE(checked.found.matches.size(), 1);
        QCOMPARE(checked.explanation.family, (QList<NearExplanation::FormChange>{{u"городок"_qs, u"город"_qs}}));
        QVERIFY(NearVerdict(checked.explanation).contains(u"Однокоренные слова: «городок» → «город»."_qs));
        QVERIFY(checked.explanation.synonyms.isEmpty());
    }

    // The half of a split sentence: most of its runs of three words lie in one long
    // original sentence, far too little of whose weight it holds.
    void halfOfASplitSentence()
    {
        NearTestText text;
        const QList<NearSentence> o = text.sentences(
            u"Старый моряк долго рассказывал нам о далёких южных морях, тропических островах, пальмах, "
            u"коралловых рифах, песчаных пляжах, бурях, штормах и о китах, которых он видел в молодости, когда "
            u"служил юнгой на торговом паруснике. Вечером над озером долго кружили белые чайки."_qs);
        const QList<NearSentence> e = text.sentences(u"О штормах и о китах, которых он видел в молодости."_qs);
        const NearMatchList found = FindNearMatches(o, e, {}, NearOptions{});
        QCOMPARE(found.matches.size(), 1);
        QCOMPARE(found.matches.first().originalFirst, 0);
        QVERIFY(found.matches.first().similarity >= 0.5);
    }
};

QTEST_GUILESS_MAIN(TestNearRelations)
#include "tst_nearrelations.moc"
