#include "FakeStemmer.h"
#include "LimitedDevice.h"
#include "NestedScan.h"
#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "check/HtmlReport.h"
#include "check/MatchReport.h"
#include "check/TrickWarnings.h"
#include "compare/ExplainMatch.h"
#include "compare/NearVerdict.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QXmlStreamReader>

// The reports of a Check: the JSON keys and kinds of every verdict, the bound on the
// number of matches and how both reports say the list was cut, and failed writes.
class TestMatchReport : public QObject
{
    Q_OBJECT

    CheckOptions m_options;
    FakeStemmer m_stemmer;

    QJsonObject json(const CheckOutcome& outcome)
    {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(MatchReport(outcome, m_options, m_stemmer).ToJson(), &error);
        if (error.error != QJsonParseError::NoError)
            qWarning() << error.errorString();
        return doc.object();
    }

    QString text(const CheckOutcome& outcome)
    {
        LimitedDevice out(1 << 20);
        if (!MatchReport(outcome, m_options, m_stemmer).WriteText(out))
            qWarning("the text report was not written");
        return QString::fromUtf8(out.written());
    }

    // One sentence repeated: four times in the original, three times in the copy.
    static QString repeatedOriginal() { return QStringLiteral(u"Тихо шумит старый лес. ").repeated(4); }
    static QString repeatedEdited() { return QStringLiteral(u"Старый лес тихо шумит! ").repeated(3); }

    struct VerdictCase
    {
        const char* name;
        QString original, edited;
        QStringList kinds;
    };
    static QList<VerdictCase> verdictCases()
    {
        return {
            {"identical", u"Лиса бежит через поле."_qs, u"Лиса бежит через поле."_qs, {u"identical"_qs}},
            {"order", u"Лиса бежит через поле."_qs, u"Через поле бежит лиса."_qs, {u"order"_qs}},
            {"added repeated",
             u"Лиса бежит через поле."_qs,
             u"Лиса бежит через поле, бежит."_qs,
             {u"added_repeated"_qs}},
            {"removed repeated",
             u"Лиса бежит через поле, поле."_qs,
             u"Лиса бежит через поле."_qs,
             {u"removed_repeated"_qs}},
            {"forms", u"Лиса бежит через поле."_qs, u"ЛИСА бежит через поле."_qs, {u"forms"_qs}},
            {"order and added",
             u"Лиса бежит через поле."_qs,
             u"Лиса, лиса бежит через поле."_qs,
             {u"order"_qs, u"added_repeated"_qs}},
            {"order and removed",
             u"Лиса бежит через поле, лиса."_qs,
             u"Бежит лиса через поле."_qs,
             {u"order"_qs, u"removed_repeated"_qs}},
            {"order, added and removed",
             u"Лиса бежит через поле, лиса."_qs,
             u"Бежит, бежит лиса через поле."_qs,
             {u"order"_qs, u"added_repeated"_qs, u"removed_repeated"_qs}},
        };
    }

private slots:
    void init()
    {
        m_options = CheckOptions();
        m_stemmer.set({});
    }

    void kindsPerVerdict_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QStringList>("kinds");
        for (const VerdictCase& c : verdictCases())
            QTest::newRow(c.name) << c.original << c.edited << c.kinds;
    }
    void kindsPerVerdict()
    {
        QFETCH(QString, original);
        QFETCH(QString, edited);
        QFETCH(QStringList, kinds);
        const CheckOutcome outcome = CheckCommand::CheckTexts(original, edited, m_options, m_stemmer);
        QCOMPARE(outcome.matches.size(), 1);
        const QJsonObject report = json(outcome);
        QCOMPARE(report.keys(), (QStringList{u"matches"_qs, u"originality"_qs, u"suspicious"_qs, u"truncated"_qs}));
        QVERIFY(report.value(u"truncated"_qs).isBool());
        QVERIFY(!report.value(u"truncated"_qs).toBool());
        const QJsonArray matches = report.value(u"matches"_qs).toArray();
        QCOMPARE(matches.size(), 1);
        const QJsonObject match = matches.at(0).toObject();
        QCOMPARE(match.keys(), (QStringList{u"edited"_qs, u"kinds"_qs, u"original"_qs, u"verdict"_qs}));
        QCOMPARE(match.value(u"original"_qs).toString(), outcome.matches.at(0).original);
        QCOMPARE(match.value(u"edited"_qs).toString(), outcome.matches.at(0).edited);
        QCOMPARE(match.value(u"kinds"_qs).toVariant().toStringList(), kinds);
        // The verdict is the text the window shows for the same match.
        QCOMPARE(match.value(u"verdict"_qs).toString(),
                 ExplainMatch(outcome.matches.at(0).original, outcome.matches.at(0).edited, *outcome.dictionary,
                              m_options, m_stemmer));
    }

    // In one report many matches share kinds, texts or both: each entry still has its own
    // verdict, in the JSON and in the text.
    void verdictsOfOneReport()
    {
        QString original;
        QString edited;
        for (const VerdictCase& c : verdictCases()) {
            original += c.original + QChar(u' ');
            edited += c.edited + QChar(u' ');
        }
        const CheckOutcome outcome = CheckCommand::CheckTexts(original, edited, m_options, m_stemmer);
        QVERIFY(outcome.matches.size() > verdictCases().size());
        const QJsonArray entries = json(outcome).value(u"matches"_qs).toArray();
        const QString report = text(outcome);
        QCOMPARE(entries.size(), outcome.matches.size());
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const PhraseMatch& match = outcome.matches.at(i);
            const QString verdict =
                ExplainMatch(match.original, match.edited, *outcome.dictionary, m_options, m_stemmer);
            QCOMPARE(entries.at(i).toObject().value(u"verdict"_qs).toString(), verdict);
            QString why = verdict;
            while (why.endsWith(QChar(u'\n')))
                why.chop(1);
            const QString entry =
                QStringLiteral(u"Совпадение #%1\n  Оригинал:  %2\n  Изменено:  %3\n  Почему:\n    %4\n\n")
                    .arg(i + 1)
                    .arg(match.original, match.edited, why.replace(u"\n"_qs, u"\n    "_qs));
            QVERIFY2(report.contains(entry), qPrintable(entry));
        }
    }

    void boundedList_data()
    {
        QTest::addColumn<qsizetype>("maxMatches");
        QTest::addColumn<qsizetype>("maxBytes");
        QTest::addColumn<qsizetype>("listed");
        QTest::addColumn<bool>("truncated");
        const qsizetype bytes = CheckOptions::DefaultMaxReportBytes;
        // Four originals times three copies: twelve matches in all.
        QTest::newRow("one") << qsizetype(1) << bytes << qsizetype(1) << true;
        QTest::newRow("within the first copy") << qsizetype(3) << bytes << qsizetype(3) << true;
        QTest::newRow("into the second copy") << qsizetype(5) << bytes << qsizetype(5) << true;
        QTest::newRow("one short") << qsizetype(11) << bytes << qsizetype(11) << true;
        QTest::newRow("exactly all") << qsizetype(12) << bytes << qsizetype(12) << false;
        QTest::newRow("more than all") << qsizetype(13) << bytes << qsizetype(12) << false;
        QTest::newRow("default") << CheckOptions::DefaultMaxMatches << bytes << qsizetype(12) << false;
        // An entry takes its two sentences in UTF-8 and the allowance.
        const CheckOutcome all = CheckCommand::CheckTexts(repeatedOriginal(), repeatedEdited(), m_options, m_stemmer);
        const auto firstEntries = [&all](qsizetype n) {
            qsizetype total = 0;
            for (const PhraseMatch& match : all.matches.first(n))
                total +=
                    CheckOptions::kReportEntryBytes + match.original.toUtf8().size() + match.edited.toUtf8().size();
            return total;
        };
        const qsizetype count = CheckOptions::DefaultMaxMatches;
        QTest::newRow("bytes of five entries") << count << firstEntries(5) << qsizetype(5) << true;
        QTest::newRow("a byte short of five") << count << firstEntries(5) - 1 << qsizetype(4) << true;
        QTest::newRow("bytes of all twelve") << count << firstEntries(12) << qsizetype(12) << false;
    }
    void boundedList()
    {
        QFETCH(qsizetype, maxMatches);
        QFETCH(qsizetype, maxBytes);
        QFETCH(qsizetype, listed);
        QFETCH(bool, truncated);
        m_options.MaxMatches = maxMatches;
        m_options.MaxReportBytes = maxBytes;
        const CheckOutcome outcome =
            CheckCommand::CheckTexts(repeatedOriginal(), repeatedEdited(), m_options, m_stemmer);
        QVERIFY(outcome.ok());
        QCOMPARE(outcome.truncated, truncated);
        // The matches kept are the first ones of the plain nested scan, in its order.
        const PhraseMatchList all =
            NestedScan(*outcome.dictionary, repeatedOriginal(), repeatedEdited(), m_options, m_stemmer);
        QCOMPARE(all.size(), 12);
        QCOMPARE(outcome.matches, all.first(listed));

        const QJsonObject report = json(outcome);
        QCOMPARE(report.value(u"matches"_qs).toArray().size(), listed);
        QVERIFY(report.value(u"truncated"_qs).isBool());
        QCOMPARE(report.value(u"truncated"_qs).toBool(), truncated);

        const QString closing = text(outcome).section(u'\n', -4);
        QVERIFY2(closing.contains(QStringLiteral(u"Найдено совпадений: %1.\n").arg(listed)), qPrintable(closing));
        const QString cut = QStringLiteral(u"Список обрезан: показаны первые %1 совпадений.\n").arg(listed);
        QCOMPARE(closing.endsWith(cut), truncated);
    }

    // An entry's bytes count each character as UTF-8 does, one to four bytes: the bound
    // falls exactly on them.
    void boundedBytesOfEveryWidth_data()
    {
        QTest::addColumn<qsizetype>("spare");
        QTest::addColumn<bool>("listed");
        QTest::newRow("exactly the entry") << qsizetype(0) << true;
        QTest::newRow("a byte short") << qsizetype(-1) << false;
    }
    void boundedBytesOfEveryWidth()
    {
        QFETCH(qsizetype, spare);
        QFETCH(bool, listed);
        const QString sentence = QString::fromUtf16(u"Цена 5 € за улыбку \U0001F600 сегодня утром.");
        const qsizetype entry = CheckOptions::kReportEntryBytes + 2 * sentence.chopped(1).toUtf8().size();
        m_options.MaxReportBytes = entry + spare;
        const CheckOutcome outcome = CheckCommand::CheckTexts(sentence, sentence, m_options, m_stemmer);
        QCOMPARE(outcome.matches.size(), listed ? 1 : 0);
        QCOMPARE(outcome.truncatedBySize, !listed);
    }

    void nearMatches_data()
    {
        QTest::addColumn<bool>("near");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<qsizetype>("maxMatches");
        QTest::addColumn<qsizetype>("maxBytes");
        QTest::addColumn<int>("nearListed");
        QTest::addColumn<double>("originality");
        QTest::addColumn<bool>("truncated");
        const qsizetype bytes = CheckOptions::DefaultMaxReportBytes;
        // The copy: a near match (8 words, 7 shared with its original's 8: 87%), an exact
        // one (7 words) and a new sentence (8 words).
        QTest::newRow("near off") << false << 50 << CheckOptions::DefaultMaxMatches << bytes << 0 << 0.6957 << false;
        QTest::newRow("near on") << true << 50 << CheckOptions::DefaultMaxMatches << bytes << 1 << 0.3478 << false;
        QTest::newRow("threshold at the similarity")
            << true << 87 << CheckOptions::DefaultMaxMatches << bytes << 1 << 0.3478 << false;
        QTest::newRow("threshold above it")
            << true << 88 << CheckOptions::DefaultMaxMatches << bytes << 0 << 0.6957 << false;
        QTest::newRow("bound taken by the exact match") << true << 50 << qsizetype(1) << bytes << 0 << 0.6957 << true;
        QTest::newRow("bound just enough") << true << 50 << qsizetype(2) << bytes << 1 << 0.3478 << false;
        // About 450 bytes of entry each: room for the exact match only.
        QTest::newRow("bytes taken by the exact match")
            << true << 50 << CheckOptions::DefaultMaxMatches << qsizetype(600) << 0 << 0.6957 << true;
    }

    void nearMatches()
    {
        QFETCH(bool, near);
        QFETCH(int, threshold);
        QFETCH(qsizetype, maxMatches);
        QFETCH(qsizetype, maxBytes);
        QFETCH(int, nearListed);
        QFETCH(double, originality);
        QFETCH(bool, truncated);
        m_options.NearMatches = near;
        m_options.Near.threshold = threshold;
        m_options.MaxMatches = maxMatches;
        m_options.MaxReportBytes = maxBytes;
        const QString original = u"Лиса быстро бежит через широкое поле к лесу. "
                                 u"Совсем другое предложение о погоде сегодня утром."_qs;
        const QString edited = u"Лиса быстро бежит через поле к тёмному лесу. "
                               u"Совсем другое предложение о погоде сегодня утром. "
                               u"Здесь написано что-то совсем новое автором работы."_qs;
        const CheckOutcome outcome = CheckCommand::CheckTexts(original, edited, m_options, m_stemmer);
        QCOMPARE(outcome.matches.size(), 1);
        QCOMPARE(outcome.near.matches.size(), nearListed);
        QCOMPARE(outcome.truncated, truncated);

        const QByteArray bytes = MatchReport(outcome, m_options, m_stemmer).ToJson();
        const QJsonObject report = json(outcome);
        QStringList keys{u"matches"_qs, u"originality"_qs, u"suspicious"_qs, u"truncated"_qs};
        if (near)
            keys.insert(1, u"near_matches"_qs);
        // The root keys come in this order in the bytes written.
        qsizetype last = -1;
        for (const QString& key : keys) {
            const qsizetype at = bytes.indexOf(QByteArray(1, '"') + key.toUtf8() + QByteArrayLiteral("\":"));
            QVERIFY2(at > last, qPrintable(key));
            last = at;
        }
        keys.sort();
        QCOMPARE(report.keys(), keys);
        QCOMPARE(report.value(u"originality"_qs).toDouble(), originality);
        QCOMPARE(report.value(u"truncated"_qs).toBool(), truncated);
        const QJsonArray nearMatches = report.value(u"near_matches"_qs).toArray();
        QCOMPARE(nearMatches.size(), nearListed);
        const QString report_text = text(outcome);
        QVERIFY(report_text.contains(QStringLiteral(u"Оригинальность копии: %1%\n").arg(qint32(originality * 100))));
        QCOMPARE(report_text.contains(u"Похожая фраза #1 (87%)\n"_qs), nearListed > 0);
        if (nearListed == 0)
            return;
        const QJsonObject match = nearMatches.at(0).toObject();
        QCOMPARE(match.keys(), (QStringList{u"added"_qs, u"edited"_qs, u"family"_qs, u"original"_qs, u"removed"_qs,
                                            u"similarity"_qs, u"synonyms"_qs, u"verdict"_qs}));
        QVERIFY(match.value(u"synonyms"_qs).toArray().isEmpty());
        QVERIFY(match.value(u"family"_qs).toArray().isEmpty());
        QCOMPARE(match.value(u"original"_qs).toString(), u"Лиса быстро бежит через широкое поле к лесу"_qs);
        QCOMPARE(match.value(u"edited"_qs).toString(), u"Лиса быстро бежит через поле к тёмному лесу"_qs);
        QCOMPARE(match.value(u"similarity"_qs).toDouble(), 0.87);
        QCOMPARE(match.value(u"removed"_qs).toVariant().toStringList(), QStringList{u"широкое"_qs});
        QCOMPARE(match.value(u"added"_qs).toVariant().toStringList(), QStringList{u"тёмному"_qs});
        QVERIFY2(match.value(u"verdict"_qs).toString().contains(u"«широкое»"_qs),
                 qPrintable(match.value(u"verdict"_qs).toString()));
    }

    // Words of one family are paired, original first, as written.
    void familyPairsInJson()
    {
        m_options.NearMatches = true;
        const CheckOutcome outcome =
            CheckCommand::CheckTexts(u"Маленький городок стоял на берегу широкой реки."_qs,
                                     u"Маленький Город стоял у широкой реки."_qs, m_options, m_stemmer);
        const QJsonArray near = json(outcome).value(u"near_matches"_qs).toArray();
        QCOMPARE(near.size(), 1);
        const QJsonObject match = near.at(0).toObject();
        // One pair in a list; braces alone would copy the inner list with some compilers.
        QJsonArray family;
        family.append(QJsonArray{u"городок"_qs, u"Город"_qs});
        QCOMPARE(match.value(u"family"_qs).toArray(), family);
        QCOMPARE(match.value(u"removed"_qs).toVariant().toStringList(), (QStringList{u"на"_qs, u"берегу"_qs}));
    }

    // A copy disguised with Latin letters and a hidden filler: the match is listed as
    // written, and both reports name the tricks before anything else.
    void tricksAreReported()
    {
        CheckOutcome outcome;
        outcome.original.text = u"Лиса быстро бежит через поле. Ещё одно предложение тут."_qs;
        outcome.edited.text = u"Лиca быcтpo бежит чеpез кстати поле. Ещё одно предложение тут."_qs;
        const qsizetype filler = outcome.edited.text.indexOf(u"кстати "_qs);
        outcome.edited.hidden = {{filler, 7}};
        CheckCommand::Search(outcome, m_options, m_stemmer);
        QCOMPARE(outcome.matches.size(), 2);

        const QJsonObject report = json(outcome);
        QCOMPARE(report.value(u"matches"_qs).toArray().at(0).toObject().value(u"edited"_qs).toString(),
                 u"Лиca быcтpo бежит чеpез кстати поле"_qs);
        const QJsonArray suspicious = report.value(u"suspicious"_qs).toArray();
        QCOMPARE(suspicious.size(), 2);
        const QJsonObject letters = suspicious.at(0).toObject();
        QCOMPARE(letters.value(u"document"_qs).toString(), u"edited"_qs);
        QCOMPARE(letters.value(u"kind"_qs).toString(), u"mixed_letters"_qs);
        QCOMPARE(letters.value(u"count"_qs).toInt(), 3);
        QCOMPARE(letters.value(u"samples"_qs).toVariant().toStringList(),
                 (QStringList{u"Лиca"_qs, u"быcтpo"_qs, u"чеpез"_qs}));
        QCOMPARE(suspicious.at(1).toObject().value(u"kind"_qs).toString(), u"hidden_text"_qs);
        QCOMPARE(suspicious.at(1).toObject().value(u"count"_qs).toInt(), 1);

        QVERIFY2(text(outcome).startsWith(u"Подозрительные приёмы в изменённой копии:\n"
                                          u"  3 слова с латинскими буквами вместо русских (например, «Лиca»)\n"
                                          u"  скрытый текст: 1 слово (невидимый, белый или крошечный шрифт)\n"
                                          u"Сервисы проверки распознают эти приёмы и помечают документ как "
                                          u"подозрительный.\n\nСовпадение #1\n"_qs),
                 qPrintable(text(outcome)));
    }

    void warningLines_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<qsizetype>("count");
        QTest::addColumn<QString>("line");
        QTest::newRow("one word") << int(TrickKind::MixedLetters) << qsizetype(1)
                                  << u"1 слово с латинскими буквами вместо русских (например, «пpимер»)"_qs;
        QTest::newRow("invisible, 22") << int(TrickKind::Invisible) << qsizetype(22)
                                       << u"22 слова с невидимыми символами внутри (например, «пpимер»)"_qs;
        QTest::newRow("odd spaces, 111") << int(TrickKind::OddSpaces) << qsizetype(111)
                                         << u"111 слов с необычными пробелами вместо обычных (например, «пpимер»)"_qs;
        QTest::newRow("hidden, 240") << int(TrickKind::HiddenText) << qsizetype(240)
                                     << u"скрытый текст: 240 слов (невидимый, белый или крошечный шрифт)"_qs;
    }
    void warningLines()
    {
        QFETCH(int, kind);
        QFETCH(qsizetype, count);
        QFETCH(QString, line);
        QCOMPARE(TrickWarnings::Line({TrickKind(kind), count, {u"пpимер"_qs, u"oн"_qs}}), line);
    }

    // The original's warnings come after the copy's, under their own heading.
    void originalWarnedToo()
    {
        const CheckOutcome outcome = CheckCommand::CheckTexts(u"Сло\u200Bво одно и два тут. Конец"_qs,
                                                              u"Слово одно и два тут. Конец"_qs, m_options, m_stemmer);
        QCOMPARE(outcome.matches.size(), 1);
        QVERIFY(text(outcome).startsWith(u"Подозрительные приёмы в оригинале:\n  1 слово с невидимыми символами "
                                         u"внутри (например, «Сло\u200Bво»)\n"_qs));
        const QJsonObject entry = json(outcome).value(u"suspicious"_qs).toArray().at(0).toObject();
        QCOMPARE(entry.value(u"document"_qs).toString(), u"original"_qs);
    }

    // The HTML report parses as XML; every row is there with both sides as written
    // (escaped), the shared words marked and the verdict; the map has a block per
    // sentence of the copy; the figure and the tricks are given.
    void htmlReport()
    {
        m_options.NearMatches = true;
        m_options.Near.threshold = 50;
        const QString original = u"Лиса быстро бежит через широкое поле к лесу. "
                                 u"Кот & пёс <спят> под \"крышей\" вместе. Совсем другое предложение о погоде."_qs;
        const QString edited = u"Лиса быстро бежит через поле к тёмному лесу. "
                               u"Кот & пёс <спят> под \"крышей\" вместе. Здесь напиcано что-то новое автором."_qs;
        const CheckOutcome outcome = CheckCommand::CheckTexts(original, edited, m_options, m_stemmer);
        QCOMPARE(outcome.matches.size(), 1);
        QCOMPARE(outcome.near.matches.size(), 1);
        QVERIFY(!outcome.editedReading.findings().isEmpty());

        LimitedDevice out(1 << 20);
        const HtmlReport report(outcome, m_options, m_stemmer, {u"/a/оригинал.docx"_qs, u"/a/b&c.docx"_qs, {}});
        QVERIFY(report.Write(out));

        struct Row
        {
            QString original, edited, verdict, shared;
        };
        QList<Row> rows;
        QStringList cells;
        QString originality, editedPath;
        qsizetype trickLines = 0;
        QStringList open; // class of each open element
        QXmlStreamReader xml(out.written());
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                const QString cls = xml.attributes().value(u"class"_qs).toString();
                open << cls;
                if (xml.name() == u"div" && cls.startsWith(u"match"_qs))
                    rows.append(Row{});
                if (cls.startsWith(u"cell "_qs))
                    cells << cls.mid(5);
                trickLines += xml.name() == u"li" ? 1 : 0;
            } else if (xml.isEndElement()) {
                open.removeLast();
            } else if (xml.isCharacters() && !open.isEmpty() && !open.contains(u"label"_qs)) {
                const QString text = xml.text().toString();
                if (open.contains(u"originality"_qs))
                    originality += text;
                if (open.contains(u"edited-path"_qs))
                    editedPath += text;
                if (rows.isEmpty())
                    continue;
                Row& row = rows.last();
                if (open.contains(u"side original"_qs))
                    row.original += text;
                if (open.contains(u"side edited"_qs))
                    row.edited += text;
                if (open.contains(u"side edited"_qs) && open.last() == u"sh")
                    row.shared += text + u' ';
                if (open.contains(u"verdict"_qs))
                    row.verdict += text;
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(editedPath, u"/a/b&c.docx"_qs);
        QCOMPARE(originality, MatchReport::OriginalityText(outcome.originality) +
                                  QStringLiteral(u" (совпадения %1%, похожие фразы %2% слов)")
                                      .arg(NearPercent(outcome.exactShare))
                                      .arg(100 - NearPercent(outcome.originality) - NearPercent(outcome.exactShare)));
        QCOMPARE(trickLines, outcome.editedReading.findings().size());
        QCOMPARE(cells, (QStringList{u"near"_qs, u"exact"_qs, u"own tricked"_qs}));

        QCOMPARE(rows.size(), 2);
        const PhraseMatch& exact = outcome.matches.at(0);
        QCOMPARE(rows.at(0).original, u"Кот & пёс <спят> под \"крышей\" вместе"_qs);
        QCOMPARE(rows.at(0).edited, rows.at(0).original);
        QCOMPARE(
            rows.at(0).verdict,
            AnalyseMatch(exact.original, exact.edited, *outcome.dictionary, m_options, m_stemmer).text().trimmed());
        QCOMPARE(rows.at(1).original, u"Лиса быстро бежит через широкое поле к лесу"_qs);
        QCOMPARE(rows.at(1).edited, u"Лиса быстро бежит через поле к тёмному лесу"_qs);
        QCOMPARE(rows.at(1).shared, u"Лиса быстро бежит через поле к лесу "_qs);
        QCOMPARE(rows.at(1).verdict, NearVerdict(MatchReport::Explain(outcome, outcome.near.matches.at(0))).trimmed());

        // Past the byte bound of the reports the rows stop after a whole one, and the page says so.
        CheckOptions bounded = m_options;
        const QByteArray whole = out.written();
        bounded.MaxReportBytes =
            whole.indexOf("<div class=\"match near\"") - whole.indexOf("<div class=\"match exact\"");
        LimitedDevice cut(1 << 20);
        QVERIFY(HtmlReport(outcome, bounded, m_stemmer, {}).Write(cut));
        const QString page = QString::fromUtf8(cut.written());
        QVERIFY2(page.contains(u"Отчёт обрезан: показано строк — 1 из 2;"_qs), qPrintable(page));
        QVERIFY(!page.contains(u"id=\"n1\""_qs));
        QVERIFY(page.endsWith(u"</html>\n"_qs));
    }

    // What XML cannot carry never reaches the page; the rest passes as it is.
    void htmlEscape_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("markup") << u"a<b>&\"c'"_qs << u"a&lt;b&gt;&amp;&quot;c'"_qs;
        QTest::newRow("line breaks") << u"a\vb\fc\nd\te"_qs << u"a\nb\nc\nd\te"_qs;
        QTest::newRow("controls") << u"a\u0001b\u001Fc\uFFFF"_qs << u"a\uFFFDb\uFFFDc\uFFFD"_qs;
        QTest::newRow("surrogates") << (u"\U0001F600x"_qs + QChar(0xD800) + u"y"_qs) << u"\U0001F600x\uFFFDy"_qs;
    }
    void htmlEscape()
    {
        QFETCH(QString, text);
        QFETCH(QString, escaped);
        QCOMPARE(HtmlReport::Escape(text), escaped);
    }

    void failedWritesAreReported_data()
    {
        QTest::addColumn<bool>("asJson");
        QTest::addColumn<int>("room");
        QTest::addColumn<bool>("written");
        for (const bool asJson : {true, false}) {
            const char* report = asJson ? "json" : "text";
            // A negative room counts back from the full report's size: -1 is exactly its size.
            QTest::addRow("%s, no room", report) << asJson << 0 << false;
            QTest::addRow("%s, room for the first bytes", report) << asJson << 5 << false;
            QTest::addRow("%s, all but the last byte", report) << asJson << -2 << false;
            QTest::addRow("%s, exactly enough", report) << asJson << -1 << true;
        }
    }
    void failedWritesAreReported()
    {
        QFETCH(bool, asJson);
        QFETCH(int, room);
        QFETCH(bool, written);
        const CheckOutcome outcome =
            CheckCommand::CheckTexts(repeatedOriginal(), repeatedEdited(), m_options, m_stemmer);
        const MatchReport report(outcome, m_options, m_stemmer);
        const auto writeTo = [&](QIODevice& out) { return asJson ? report.WriteJson(out) : report.WriteText(out); };
        LimitedDevice unbounded(1 << 20);
        QVERIFY(writeTo(unbounded));
        const qint64 size = unbounded.written().size();
        const qint64 limit = room >= 0 ? room : size + 1 + room;
        LimitedDevice out(limit);
        QCOMPARE(writeTo(out), written);
        QCOMPARE(out.written(), unbounded.written().first(limit));
    }
};

QTEST_GUILESS_MAIN(TestMatchReport)
#include "tst_matchreport.moc"
