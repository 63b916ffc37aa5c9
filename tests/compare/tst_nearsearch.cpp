#include "NearTestText.h"
#include "compare/NearIndex.h"
#include "compare/NearSearch.h"

#include <QTest>
#include <algorithm>
#include <cmath>

namespace {

// Distractors after the cases' own originals, so that stem weights are those of a text
// rather than of one or two sentences.
const QString kBackground = QStringLiteral(
    u"Море в тот год было спокойным и тёплым. Рыбаки выходили на лов ещё до рассвета и возвращались к обеду. "
    u"В порту всегда пахло солью, смолой и свежей рыбой. Дети целыми днями играли на берегу и собирали ракушки. "
    u"По вечерам старики сидели на причале и вспоминали свою молодость. Летом в город приезжали туристы из "
    u"разных стран. Зимой шторма нередко отрывали лодки от причала. На рынке у порта продавали рыбу, овощи и "
    u"сети. Школа стояла на холме, и из её окон было видно море.");

// "o0-e0", "o0+1-e0" (a join), "o0-e0+1" (a split), matches joined by spaces.
QString describe(const NearMatchList& list)
{
    QStringList parts;
    for (const NearMatch& m : list.matches) {
        QString part = QStringLiteral("o%1").arg(m.originalFirst);
        if (m.originalCount == 2)
            part += QStringLiteral("+%1").arg(m.originalFirst + 1);
        part += QStringLiteral("-e%1").arg(m.editedFirst);
        if (m.editedCount == 2)
            part += QStringLiteral("+%1").arg(m.editedFirst + 1);
        parts.append(part);
    }
    return parts.join(QChar(u' '));
}

NearMatchList search(const QString& original, const QString& edited, const QList<qint32>& exact = {},
                     NearOptions options = {})
{
    NearTestText text;
    const QList<NearSentence> originals = text.sentences(original + QChar(u'.') + kBackground);
    const QList<NearSentence> edits = text.sentences(edited);
    return FindNearMatches(originals, edits, exact, options);
}

const QString kSailor =
    QStringLiteral(u"Старый моряк долго рассказывал нам о далёких южных морях и тропических островах.");
const QString kHarbour = QStringLiteral(u"Капитан привёл корабль в гавань поздно ночью.");
const QString kLighthouse = QStringLiteral(u"Маяк на скале светил всю ночь, и корабли видели его за много километров.");

} // namespace

// The near-match rule: which edited sentences are still made from which originals.
class TestNearSearch : public QObject
{
    Q_OBJECT

private slots:
    void rule_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QList<qint32>>("exact");
        QTest::addColumn<QString>("expected");
        const QList<qint32> none;
        QTest::newRow("words deleted") << kSailor << QStringLiteral(u"Моряк рассказывал нам о южных морях и островах.")
                                       << none << u"o0-e0"_qs;
        QTest::newRow("words added") << kHarbour
                                     << QStringLiteral(u"Опытный капитан всё-таки привёл свой корабль в тихую гавань "
                                                       u"поздно ночью.")
                                     << none << u"o0-e0"_qs;
        QTest::newRow("forms changed, a word replaced")
            << QStringLiteral(u"Его дед был старым моряком и ходил в дальние плавания.")
            << QStringLiteral(u"Его дед был старый моряк и ходил в долгие плавания.") << none << u"o0-e0"_qs;
        QTest::newRow("order changed, a word replaced")
            << QStringLiteral(u"Каждое лето рыбаки чинили сети на старом причале.")
            << QStringLiteral(u"На старом причале рыбаки каждое лето латали сети.") << none << u"o0-e0"_qs;
        QTest::newRow("punctuation changed")
            << QStringLiteral(u"Шторм начался внезапно, и лодки едва успели вернуться.")
            << QStringLiteral(u"Шторм начался внезапно — и лодки едва успели вернуться!") << none << u"o0-e0"_qs;
        QTest::newRow("exact matches are listed once, as exact")
            << QStringLiteral(u"Шторм начался внезапно, и лодки едва успели вернуться.")
            << QStringLiteral(u"Шторм начался внезапно, и лодки едва успели вернуться!") << QList<qint32>{0}
            << QString();
        QTest::newRow("quotation marks and numbers")
            << QStringLiteral(u"В 1812 году «Великая армия» вошла в Москву.")
            << QStringLiteral(u"В тысяча восемьсот двенадцатом году \"Великая армия\" вошла в Москву.") << none
            << u"o0-e0"_qs;
        QTest::newRow("split") << kLighthouse
                               << QStringLiteral(u"Маяк на скале светил всю ночь. Корабли видели его за много "
                                                 u"километров.")
                               << none << u"o0-e0+1"_qs;
        QTest::newRow("joined") << QStringLiteral(u"Утром пришёл пароход из столицы. На нём привезли почту и новые "
                                                  u"книги.")
                                << QStringLiteral(u"Утром пришёл пароход из столицы, и на нём привезли почту и новые "
                                                  u"книги.")
                                << none << u"o0+1-e0"_qs;
        QTest::newRow("unrelated, same topic")
            << kSailor << QStringLiteral(u"Многие моряки боялись южных морей из-за частых штормов.") << none
            << QString();
        QTest::newRow("earnest rewrite") << kHarbour
                                         << QStringLiteral(
                                                u"Судно вошло в порт лишь к полуночи под командой опытного шкипера.")
                                         << none << QString();
        QTest::newRow("empty copy") << kSailor << QString() << none << QString();
        QTest::newRow("copy without words") << kSailor << QStringLiteral(u"— … !") << none << QString();
        QTest::newRow("three words are too few") << QStringLiteral(u"Моряк вернулся домой.")
                                                 << QStringLiteral(u"Домой вернулся моряк.") << none << QString();
        QTest::newRow("four words are enough") << QStringLiteral(u"Моряк вернулся домой вчера.")
                                               << QStringLiteral(u"Вчера моряк вернулся домой!") << none << u"o0-e0"_qs;
        QTest::newRow("one-word sentences")
            << QStringLiteral(u"Море. Моряк.") << QStringLiteral(u"Море. Моряк.") << none << QString();
        QTest::newRow("most similar first")
            << kHarbour + QChar(u' ') + kLighthouse
            << QStringLiteral(u"Капитан привёл свой корабль в гавань ночью. Маяк на скале светил всю ночь — и "
                              u"корабли видели его за много километров.")
            << none << u"o1-e1 o0-e0"_qs;
        QTest::newRow("two edits of one original, no split")
            << kHarbour
            << QStringLiteral(u"Капитан привёл корабль в гавань ночью. Поздно ночью капитан привёл корабль в "
                              u"гавань.")
            << none << u"o0-e1 o0-e0"_qs;
        QTest::newRow("an exact sentence is no half of a split, the other half stands alone")
            << kLighthouse << QStringLiteral(u"Маяк на скале светил всю ночь. Корабли видели его за много километров.")
            << QList<qint32>{0} << u"o0-e1"_qs;
    }

    void rule()
    {
        QFETCH(QString, original);
        QFETCH(QString, edited);
        QFETCH(QList<qint32>, exact);
        QFETCH(QString, expected);
        const NearMatchList found = search(original, edited, exact);
        QCOMPARE(describe(found), expected);
        QVERIFY(!found.truncated);
        for (const NearMatch& m : found.matches)
            QVERIFY2(m.percent() >= NearOptions::kDefaultThreshold && m.similarity <= 1.0,
                     qPrintable(QString::number(m.similarity)));
    }

    void similarity_data()
    {
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<double>("similarity");
        // Four sentences: "альфа" is in all (weight a = ln 2), every other stem in one or
        // none (weight r = ln 5). Twice the shared weight over the sum of both weights.
        const double a = std::log(2.0);
        const double r = std::log(5.0);
        QTest::newRow("same stems") << u"дельта гамма бета альфа"_qs << u"o0-e0"_qs << 1.0;
        QTest::newRow("one stem replaced")
            << u"альфа бета гамма омега"_qs << u"o0-e0"_qs << 2 * (a + 2 * r) / (2 * a + 6 * r);
        QTest::newRow("only the common stem") << u"альфа омега пси хи"_qs << u"o0-e0"_qs << 2 * a / (2 * a + 6 * r);
        QTest::newRow("pair against their union") << u"бета эпсилон"_qs << u"o0+1-e0"_qs << 4 * r / (a + 8 * r);
    }

    void similarity()
    {
        QFETCH(QString, edited);
        QFETCH(QString, expected);
        QFETCH(double, similarity);
        NearTestText text;
        const QList<NearSentence> original = text.sentences(
            u"альфа бета гамма дельта. альфа эпсилон дзета эта. альфа тета йота каппа. альфа лямбда мю ню."_qs);
        NearOptions options;
        options.threshold = 1;
        options.minWords = 0;
        const NearMatchList found = FindNearMatches(original, text.sentences(edited), {}, options);
        QCOMPARE(describe(found), expected);
        QCOMPARE(found.matches.first().similarity, similarity);
    }

    void noOriginal()
    {
        NearTestText text;
        const QList<NearSentence> edits = text.sentences(kSailor);
        QVERIFY(FindNearMatches({}, edits, {}, NearOptions{}).matches.isEmpty());
    }

    void similarityIsOneForEqualStems()
    {
        const NearMatchList found = search(QStringLiteral(u"Моряк вернулся домой вчера."),
                                           QStringLiteral(u"ВЧЕРА моряк вернулся домой, домой!"));
        QCOMPARE(found.matches.size(), 1);
        QCOMPARE(found.matches.first().similarity, 1.0);
        QCOMPARE(found.matches.first().percent(), 100);
    }

    void threshold_data()
    {
        QTest::addColumn<qint32>("threshold");
        QTest::addColumn<bool>("found");
        QTest::newRow("1") << 1 << true;
        QTest::newRow("below the similarity") << 60 << true;
        QTest::newRow("above the similarity") << 95 << false;
        QTest::newRow("100 needs equal stems") << 100 << false;
    }

    void threshold()
    {
        QFETCH(qint32, threshold);
        QFETCH(bool, found);
        NearOptions options;
        options.threshold = threshold;
        const NearMatchList list =
            search(kSailor, QStringLiteral(u"Моряк рассказывал нам о южных морях и островах."), {}, options);
        QCOMPARE(!list.matches.isEmpty(), found);
    }

    void thresholdIsReachedExactly()
    {
        // Whatever the similarity, a threshold of its own percentage lets the match through.
        const NearMatchList loose = search(kSailor, QStringLiteral(u"Моряк рассказывал нам о южных морях и островах."));
        QCOMPARE(loose.matches.size(), 1);
        NearOptions options;
        options.threshold = loose.matches.first().percent();
        QCOMPARE(search(kSailor, QStringLiteral(u"Моряк рассказывал нам о южных морях и островах."), {}, options)
                     .matches.size(),
                 1);
        options.threshold += 1;
        QVERIFY(search(kSailor, QStringLiteral(u"Моряк рассказывал нам о южных морях и островах."), {}, options)
                    .matches.isEmpty());
    }

    void boundKeepsTheMostSimilar()
    {
        NearOptions options;
        options.maxMatches = 1;
        const NearMatchList found =
            search(kHarbour + QChar(u' ') + kLighthouse,
                   QStringLiteral(u"Капитан привёл свой корабль в гавань ночью. Маяк на скале светил всю ночь — и "
                                  u"корабли видели его за много километров."),
                   {}, options);
        QCOMPARE(describe(found), u"o1-e1"_qs);
        QVERIFY(found.truncated);
        options.maxMatches = 2;
        QVERIFY(!search(kHarbour + QChar(u' ') + kLighthouse,
                        QStringLiteral(u"Капитан привёл свой корабль в гавань ночью. Маяк на скале светил всю ночь."),
                        {}, options)
                     .truncated);
        options.maxMatches = 0;
        QVERIFY(search(kHarbour, kHarbour, {}, options).matches.isEmpty());
    }

    void manyCopiesOfOneSentence()
    {
        // Every copy of an edited sentence is listed, each against the same original,
        // and a thousand copies cost one seed lookup each.
        QString edited;
        for (int i = 0; i < 1000; ++i)
            edited += QStringLiteral(u"Капитан привёл свой корабль в гавань ночью. ");
        const NearMatchList found = search(kHarbour, edited);
        QCOMPARE(found.matches.size(), 1000);
        QCOMPARE(found.matches.first().editedFirst, 0);
        QCOMPARE(found.matches.last().editedFirst, 999);
    }

    void longSentences()
    {
        // One original sentence of 60,000 words, and a copy holding 2,000 short sentences
        // made of its words and the long sentence with ten words dropped. Only the long
        // one is similar; a short one costs a few lookups, not a pass over 60,000 stems.
        const auto word = [](int n) {
            QString text;
            for (int i = 0; i < 4; ++i, n /= 32)
                text += QChar(u'а' + n % 32);
            return text;
        };
        QStringList longWords;
        for (int i = 0; i < 60000; ++i)
            longWords.append(word(i));
        QString edited;
        for (int i = 0; i < 2000; ++i)
            edited += QStringList(longWords.mid(i * 5, 5)).join(QChar(u' ')) + u". "_qs;
        edited += QStringList(longWords.mid(10)).join(QChar(u' ')) + u"."_qs;
        NearTestText text;
        const QList<NearSentence> original = text.sentences(longWords.join(QChar(u' ')));
        const NearMatchList found = FindNearMatches(original, text.sentences(edited), {}, NearOptions{});
        QCOMPARE(describe(found), u"o0-e2000"_qs);
        QVERIFY(found.matches.first().similarity > 0.99);
    }

    void sentencesOfCommonStemsOnly()
    {
        // 200 sentences of twelve words from a vocabulary of twelve: every stem is in far
        // more sentences than seed candidates. Each copy changes one word, and each is
        // still found near its original.
        const QStringList vocabulary =
            QStringLiteral(u"дом лес река поле город сад мост луг берег холм гора дорога").split(QChar(u' '));
        quint32 random = 7;
        const auto next = [&random](int n) {
            random = random * 1103515245u + 12345u;
            return int((random >> 16) % quint32(n));
        };
        QString original;
        QString edited;
        for (int i = 0; i < 200; ++i) {
            QStringList words;
            for (int k = 0; k < 12; ++k)
                words.append(vocabulary.at(next(12)));
            original += words.join(QChar(u' ')) + u". "_qs;
            const int changed = next(12);
            words[changed] = vocabulary.at((vocabulary.indexOf(words.at(changed)) + 1 + next(11)) % 12);
            edited += words.join(QChar(u' ')) + u". "_qs;
        }
        NearTestText text;
        const QList<NearSentence> originals = text.sentences(original);
        QVERIFY(NearIndex::commonLimit(qint32(originals.size())) < 100);
        const NearMatchList found = FindNearMatches(originals, text.sentences(edited), {}, NearOptions{});
        std::vector<bool> covered(200, false);
        for (const NearMatch& match : found.matches)
            for (qint32 j = match.editedFirst; j < match.editedFirst + match.editedCount; ++j)
                covered[size_t(j)] = true;
        QCOMPARE(std::count(covered.begin(), covered.end(), true), 200);
    }

    // Digits are word delimiters, yet a number both documents hold counts as shared;
    // a number only one of them holds changes nothing.
    void numbersBothHoldKeepMatching()
    {
        const QString original = u"В 1836 году повесть напечатали в журнале Современник."_qs;
        const auto similarity = [&original](const QString& edited) {
            const NearMatchList found = search(original, edited);
            return found.matches.isEmpty() ? 0.0 : found.matches.first().similarity;
        };
        const double same = similarity(u"Повесть напечатали в 1836-м году в журнале."_qs);
        const double other = similarity(u"Повесть напечатали в 1837-м году в журнале."_qs);
        QVERIFY(other > 0);
        QVERIFY(same > other);
        QCOMPARE(similarity(u"Повесть напечатали в 1837 году в журнале."_qs),
                 similarity(u"Повесть напечатали в году в журнале."_qs));
    }

    void outOfRangeExactIndicesAreIgnored()
    {
        QCOMPARE(describe(search(kHarbour, QStringLiteral(u"Капитан привёл корабль в гавань ночью."), {-1, 5})),
                 u"o0-e0"_qs);
    }
};

QTEST_GUILESS_MAIN(TestNearSearch)
#include "tst_nearsearch.moc"
