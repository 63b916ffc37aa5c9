#include "FakeStemmer.h"
#include "GoldenCase.h"
#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "check/HtmlReport.h"
#include "check/MatchReport.h"
#include "check/SourceCheck.h"
#include "extract/CDocToText.h"

#include <QBuffer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// The Check of one copy against several originals: each match traced to its source,
// exactly the matches a Check against that source alone finds.
class TestSourceCheck : public QObject
{
    Q_OBJECT

    FakeStemmer m_stemmer;

    static QString goldenDir() { return QStringLiteral(PARAFRIX_TEST_DATA_DIR "/golden"); }

    // Sentences of six words, each about another tree.
    static QString sentences(const QString& topic, int first, int count)
    {
        static const QStringList trees = {u"берёзу"_qs, u"сосну"_qs, u"липу"_qs, u"осину"_qs, u"ольху"_qs,
                                          u"рябину"_qs, u"ель"_qs,   u"дуб"_qs,  u"клён"_qs,  u"ясень"_qs};
        QString text;
        for (int i = first; i < first + count; ++i)
            text += QStringLiteral(u"%1 описывает %2 подробно. ").arg(topic, trees.at(i - 1));
        return text;
    }

    // The exact matches of one source in a Check against several.
    static PhraseMatchList matchesOf(const CheckOutcome& outcome, qint32 source)
    {
        PhraseMatchList matches;
        for (qsizetype i = 0; i < outcome.matches.size(); ++i) {
            if (outcome.sources.exact.at(i) == source)
                matches.append(outcome.matches.at(i));
        }
        return matches;
    }

private slots:
    void init() { m_stemmer.set({}); }

    // Split in the middle, or joined with the next case's original: the renumbered
    // stems of the other part never make or break an exact match.
    void goldenCasesSplitAcrossTwoSources_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("other");
        const QStringList cases =
            QDir(goldenDir()).entryList({QStringLiteral("*.original.txt")}, QDir::Files, QDir::Name);
        QVERIFY(cases.size() > 1);
        for (qsizetype i = 0; i < cases.size(); ++i) {
            const QString name = cases.at(i).chopped(int(qstrlen(".original.txt")));
            const QString next = cases.at((i + 1) % cases.size()).chopped(int(qstrlen(".original.txt")));
            QTest::newRow(qPrintable(name + QStringLiteral(" halves"))) << name << QString();
            QTest::newRow(qPrintable(name + QStringLiteral(" + ") + next)) << name << next;
        }
    }
    void goldenCasesSplitAcrossTwoSources()
    {
        QFETCH(QString, name);
        QFETCH(QString, other);
        const QString base = goldenDir() + QChar(u'/') + name;
        CheckOptions options;
        QVERIFY(GoldenCase::ReadOptions(base, options));
        options.MaxMatches = CheckOptions::DefaultMaxMatches; // a cut list lists other matches
        QHash<QString, QString> stems;
        QVERIFY(GoldenCase::ReadStems(base, stems));
        if (!stems.isEmpty())
            m_stemmer.set([stems](const QString& word) { return stems.value(word, word); });
        CDocToText extractor;
        const QString original = extractor.Extract(base + QStringLiteral(".original.txt")).text;
        const QString edited = extractor.Extract(base + QStringLiteral(".edited.txt")).text;
        QStringList parts;
        if (other.isEmpty())
            parts = {original.first(original.size() / 2), original.sliced(original.size() / 2)};
        else
            parts = {original,
                     extractor.Extract(goldenDir() + QChar(u'/') + other + QStringLiteral(".original.txt")).text};

        const CheckOutcome joined = SourceCheck::CheckTexts(parts, edited, options, m_stemmer);
        for (qint32 source = 0; source < 2; ++source) {
            const CheckOutcome alone = CheckCommand::CheckTexts(parts.at(source), edited, options, m_stemmer);
            if (!alone.ok()) {
                // A half without a letter stops the Check against both.
                QVERIFY(!joined.ok());
                return;
            }
            QVERIFY(joined.ok());
            QCOMPARE(matchesOf(joined, source), alone.matches);
        }
    }

    void copyOfTwoHalvesIsHalfEach()
    {
        const QString first = sentences(QStringLiteral(u"Первый закон термодинамики"), 1, 10);
        const QString second = sentences(QStringLiteral(u"Второй принцип механики"), 1, 10);
        const QString copy = sentences(QStringLiteral(u"Первый закон термодинамики"), 1, 5) +
                             sentences(QStringLiteral(u"Второй принцип механики"), 6, 5);
        CheckOptions options;
        options.NearMatches = true;
        const CheckOutcome outcome = SourceCheck::CheckTexts({first, second}, copy, options, m_stemmer);
        QVERIFY(outcome.ok());
        QCOMPARE(outcome.originality, 0.0);
        QCOMPARE(outcome.sources.shares.size(), 2);
        QCOMPARE(outcome.sources.shares.at(0), 0.5);
        QCOMPARE(outcome.sources.shares.at(1), 0.5);
        QCOMPARE(outcome.matches.size(), 10);
        for (qsizetype i = 0; i < outcome.matches.size(); ++i)
            QCOMPARE(outcome.sources.exact.at(i), i < 5 ? 0 : 1);
    }

    void sentenceNeverRunsAcrossSources_data()
    {
        QTest::addColumn<QString>("delimiters");
        QTest::newRow("full stops") << QStringLiteral(".!?");
        QTest::newRow("none") << QString();
    }
    void sentenceNeverRunsAcrossSources()
    {
        // The first source ends without a full stop: its last words must not join the
        // second source's first sentence, whatever ends a sentence.
        QFETCH(QString, delimiters);
        CheckOptions options;
        options.Delimiters1 = delimiters;
        options.NearMatches = true;
        const QString first = QStringLiteral(u"Река течёт с гор в долину весной");
        const QString second = QStringLiteral(u"Птицы летят на юг осенью стаями");
        const CheckOutcome outcome = SourceCheck::CheckTexts({first, second}, second, options, m_stemmer);
        QVERIFY(outcome.ok());
        QCOMPARE(outcome.matches.size(), 1);
        QCOMPARE(outcome.matches.first().original, second);
        QCOMPARE(outcome.sources.exact, QList<qint32>{1});
        QCOMPARE(outcome.originalSentences.size(), 2);
        QVERIFY(outcome.originalSentences.first().end.isNull());
    }

    void sentenceJoinedFromTwoSourcesGoesToTheCloserOne()
    {
        const QString first = QStringLiteral(u"Весной лёд тает очень быстро. Зимой озеро покрывается льдом.");
        const QString second =
            QStringLiteral(u"Рыбаки сверлят во льду глубокие лунки и ловят крупных окуней. Летом все купаются.");
        const QString copy =
            QStringLiteral(u"Зимой озеро покрывается льдом, и рыбаки сверлят во льду глубокие лунки и ловят крупных "
                           u"окуней.");
        CheckOptions options;
        options.NearMatches = true;
        const CheckOutcome outcome = SourceCheck::CheckTexts({first, second}, copy, options, m_stemmer);
        QCOMPARE(outcome.near.matches.size(), 1);
        QCOMPARE(outcome.near.matches.first().originalCount, 2);
        QCOMPARE(outcome.sources.sentences.value(outcome.near.matches.first().originalFirst), 0);
        QCOMPARE(outcome.sources.near, QList<qint32>{1});
    }

    void reportsNameTheSources()
    {
        const QString first = sentences(QStringLiteral(u"Закон сохранения энергии"), 1, 2);
        const QString second = sentences(QStringLiteral(u"Правило правой руки"), 1, 2);
        CheckOptions options;
        CheckOutcome outcome = SourceCheck::CheckTexts({first, second}, second, options, m_stemmer);
        outcome.sources.paths = {QStringLiteral("a/first.txt"), QStringLiteral("b/second.txt")};
        const MatchReport report(outcome, options, m_stemmer);
        const QJsonObject json = QJsonDocument::fromJson(report.ToJson()).object();
        const QJsonArray sources = json.value(QStringLiteral("sources")).toArray();
        QCOMPARE(sources.size(), 2);
        QCOMPARE(sources.at(1).toObject().value(QStringLiteral("path")).toString(), QStringLiteral("b/second.txt"));
        QCOMPARE(sources.at(0).toObject().value(QStringLiteral("matched_words")).toDouble(), 0.0);
        QCOMPARE(sources.at(1).toObject().value(QStringLiteral("matched_words")).toDouble(), 1.0);
        const QJsonArray matches = json.value(QStringLiteral("matches")).toArray();
        QCOMPARE(matches.size(), 2);
        for (const QJsonValue& match : matches)
            QCOMPARE(match.toObject().value(QStringLiteral("source")).toInt(-1), 1);

        QByteArray text;
        QBuffer buffer(&text);
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QVERIFY(report.WriteText(buffer));
        const QString shown = QString::fromUtf8(text);
        QCOMPARE(shown.count(QStringLiteral(u"  Источник:  second.txt\n")), 2);
        QVERIFY(shown.contains(QStringLiteral(u"Совпадает с источником «first.txt»: 0% копии\n"
                                              u"Совпадает с источником «second.txt»: 100% копии\n"
                                              u"Оригинальность копии: 0%")));

        QBuffer page;
        QVERIFY(page.open(QIODevice::WriteOnly));
        QVERIFY(HtmlReport(outcome, options, m_stemmer, {}).Write(page));
        const QString html = QString::fromUtf8(page.data());
        QVERIFY(html.contains(QStringLiteral(u"<li>first.txt: 0%</li>\n<li>second.txt: 100%</li>")));
        QCOMPARE(html.count(QStringLiteral(u"<p class=\"source\">Источник: second.txt</p>")), 2);
    }

    void oneOriginalIsTheTwoDocumentCheck()
    {
        const QString text = sentences(QStringLiteral(u"Закон сохранения энергии"), 1, 3);
        CheckOptions options;
        const CheckOutcome outcome = SourceCheck::CheckTexts({text}, text, options, m_stemmer);
        QVERIFY(outcome.ok());
        QVERIFY(!outcome.sources.several());
        QVERIFY(!MatchReport(outcome, options, m_stemmer).ToJson().contains("source"));
    }

    void blankSourceIsNamed()
    {
        const QString text = sentences(QStringLiteral(u"Закон сохранения энергии"), 1, 3);
        const CheckOutcome outcome =
            SourceCheck::CheckTexts({text, QStringLiteral(" ... "), QString()}, text, CheckOptions(), m_stemmer);
        QVERIFY(!outcome.ok());
        QCOMPARE(outcome.sources.unread.size(), 2);
        QCOMPARE(outcome.sources.unread.at(0).source, 1);
        QCOMPARE(outcome.sources.unread.at(1).source, 2);
        QCOMPARE(outcome.sources.unread.at(1).result.error, ExtractError::NoText);
    }
};

QTEST_GUILESS_MAIN(TestSourceCheck)
#include "tst_sourcecheck.moc"
