#include "FakeStemmer.h"
#include "GoldenCase.h"
#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "check/MatchReport.h"
#include "morph/Thesaurus.h"
#include "phrases/TextOps.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <utility>

// The Check end to end on golden cases (<case>.original.txt, <case>.edited.txt,
// <case>.expected.json under data/golden, with optional <case>.options.json,
// <case>.stems.txt and <case>.synonyms.txt), and its handling of unreadable files.
class TestCheckCommand : public QObject
{
    Q_OBJECT

    CheckOptions m_options;
    FakeStemmer m_stemmer;

    static QString goldenDir() { return QStringLiteral(PARAFRIX_TEST_DATA_DIR "/golden"); }

private slots:
    void init()
    {
        m_options = CheckOptions();
        m_stemmer.set({});
    }

    void golden_data()
    {
        QTest::addColumn<QString>("name");
        const QStringList cases =
            QDir(goldenDir()).entryList({QStringLiteral("*.original.txt")}, QDir::Files, QDir::Name);
        QVERIFY(!cases.isEmpty());
        for (const QString& file : cases) {
            const QString name = file.chopped(int(qstrlen(".original.txt")));
            QTest::newRow(qPrintable(name)) << name;
        }
    }
    void golden()
    {
        QFETCH(QString, name);
        const QString base = goldenDir() + QChar(u'/') + name;
        QVERIFY(GoldenCase::ReadOptions(base, m_options));
        QHash<QString, QString> stems;
        QVERIFY(GoldenCase::ReadStems(base, stems));
        if (!stems.isEmpty())
            m_stemmer.set([stems](const QString& word) { return stems.value(word, word); });
        // <case>.synonyms.txt, when present, is the thesaurus of its case.
        Thesaurus synonyms;
        QVERIFY(GoldenCase::ReadSynonyms(base, synonyms));
        m_options.Synonyms = &synonyms;
        const CheckOutcome outcome = CheckCommand::CheckDocuments(
            base + QStringLiteral(".original.txt"), base + QStringLiteral(".edited.txt"), m_options, m_stemmer);
        QVERIFY(outcome.ok());
        const QByteArray actualJson = MatchReport(outcome, m_options, m_stemmer).ToJson();
        const QJsonDocument actual = QJsonDocument::fromJson(actualJson);
        QFile expectedFile(base + QStringLiteral(".expected.json"));
        // PARAFRIX_UPDATE_GOLDEN=1 writes what the Check gives as the expectation of a
        // new case; read the file before committing it.
        if (qEnvironmentVariableIntValue("PARAFRIX_UPDATE_GOLDEN") == 1) {
            QVERIFY(expectedFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
            expectedFile.write(actual.toJson(QJsonDocument::Indented));
            return;
        }
        QVERIFY(expectedFile.open(QIODevice::ReadOnly));
        const QJsonDocument expected = QJsonDocument::fromJson(expectedFile.readAll());
        QVERIFY(expected.isObject());
        if (actual != expected) {
            qWarning().noquote() << "expected:" << expected.toJson(QJsonDocument::Indented);
            qWarning().noquote() << "actual:  " << actual.toJson(QJsonDocument::Indented);
        }
        QCOMPARE(actual, expected);
    }

    void examplesReadAlikeInEveryFormat()
    {
        // The bundled examples saved by a word processor give the same matches as
        // their plain-text sources.
        const QString examples = QStringLiteral(PARAFRIX_SOURCE_DIR "/examples/");
        const CheckOutcome text = CheckCommand::CheckDocuments(
            examples + QStringLiteral("original.txt"), examples + QStringLiteral("edited.txt"), m_options, m_stemmer);
        const CheckOutcome saved = CheckCommand::CheckDocuments(
            examples + QStringLiteral("original.docx"), examples + QStringLiteral("edited.odt"), m_options, m_stemmer);
        QVERIFY(text.ok());
        QVERIFY2(saved.ok(), qPrintable(saved.original.reason() + saved.edited.reason()));
        QVERIFY(text.matches.size() > 10);
        QCOMPARE(saved.matches, text.matches);
    }

    void bothDocumentsAlwaysRead()
    {
        QTemporaryDir dir;
        const QString edited = dir.filePath(QStringLiteral("edited.txt"));
        QFile file(edited);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("");
        file.close();
        const CheckOutcome outcome =
            CheckCommand::CheckDocuments(dir.filePath(QStringLiteral("missing.doc")), edited, m_options, m_stemmer);
        QVERIFY(!outcome.ok());
        QCOMPARE(outcome.original.error, ExtractError::FileMissing);
        QCOMPARE(outcome.edited.error, ExtractError::NoText);
        QVERIFY(outcome.matches.isEmpty());
        QVERIFY(!outcome.original.reason().isEmpty());
    }

    void reasonsSayWhatTheFileIs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        // Bytes that no reader takes for text, under each document extension.
        const QString damaged = QStringLiteral(u"файл повреждён (или это не ");
        QTest::newRow("doc") << u"курсовая.doc"_qs << damaged + u"документ Word формата .doc)"_qs;
        QTest::newRow("docx") << u"курсовая.docx"_qs << damaged + u"документ Word формата .docx)"_qs;
        QTest::newRow("odt") << u"курсовая.odt"_qs << damaged + u"документ формата .odt)"_qs;
        QTest::newRow("rtf") << u"курсовая.rtf"_qs << damaged + u"документ RTF)"_qs;
        if (PARAFRIX_HAVE_PDF_READER)
            QTest::newRow("pdf") << u"курсовая.pdf"_qs << damaged + u"документ PDF)"_qs;
        else
            QTest::newRow("pdf, no reader in this build")
                << u"курсовая.pdf"_qs
                << u"формат файла не поддерживается (PDF в этой сборке программы не читается: "
                   u"сохраните документ в формате DOCX, ODT, RTF или TXT)"_qs;
    }

    void reasonsSayWhatTheFileIs()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray bytes(2048, '\0');
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = char((i * 37 + 11) % 256);
        file.write(bytes);
        file.close();
        const CheckOutcome outcome = CheckCommand::CheckDocuments(path, path, m_options, m_stemmer);
        QCOMPARE(outcome.original.reason(), reason);
    }

    void repeatedChecksGiveTheSameList()
    {
        const QString text = QStringLiteral("one two three four. five six seven eight.");
        const CheckOutcome first = CheckCommand::CheckTexts(text, text, m_options, m_stemmer);
        const CheckOutcome second = CheckCommand::CheckTexts(text, text, m_options, m_stemmer);
        QCOMPARE(first.matches.size(), 2);
        QCOMPARE(first.matches, second.matches);
    }

    void copySharesMakeUpTheWhole_data()
    {
        QTest::addColumn<bool>("near");
        QTest::newRow("near matches searched") << true;
        QTest::newRow("exact matches only") << false;
    }
    void copySharesMakeUpTheWhole()
    {
        QFETCH(bool, near);
        m_options.NearMatches = near;
        // Five words matched exactly, six nearly, four of the copy's own: fifteen.
        const CheckOutcome outcome = CheckCommand::CheckTexts(
            QStringLiteral("one two three four five. six seven eight nine ten eleven."),
            QStringLiteral("one two three four five. six seven eight nine ten twelve. alpha beta gamma delta."),
            m_options, m_stemmer);
        QCOMPARE(outcome.matches.size(), 1);
        QCOMPARE(outcome.near.matches.size(), near ? 1 : 0);
        QCOMPARE(outcome.exactShare, 5.0 / 15.0);
        QCOMPARE(outcome.nearShare, near ? 6.0 / 15.0 : 0.0);
        QCOMPARE(outcome.originality + outcome.exactShare + outcome.nearShare, 1.0);
        // One list of rows, exact first: what every front end shows.
        QCOMPARE(outcome.matchCount(), near ? 2 : 1);
        QCOMPARE(outcome.exactAt(0), &outcome.matches.at(0));
        QCOMPARE(outcome.nearAt(0), nullptr);
        if (near) {
            QCOMPARE(outcome.nearAt(1), &outcome.near.matches.at(0));
            QCOMPARE(outcome.exactAt(1), nullptr);
        }
    }

    void exactSentencesIncludeRepeatsBeyondTheCut_data()
    {
        QTest::addColumn<qsizetype>("maxMatches");
        QTest::addColumn<QList<qint32>>("expected");
        // The copy's sentences 2 and 3 are alike; both differ from sentence 0 by the space
        // before them, though all three have the same fingerprint.
        QTest::newRow("whole list") << CheckOptions::DefaultMaxMatches << QList<qint32>{0, 1, 2, 3};
        QTest::newRow("cut before a repeat") << qsizetype(3) << QList<qint32>{0, 1, 2, 3};
        QTest::newRow("cut before look-alikes") << qsizetype(2) << QList<qint32>{0, 1};
    }
    void exactSentencesIncludeRepeatsBeyondTheCut()
    {
        QFETCH(qsizetype, maxMatches);
        QFETCH(QList<qint32>, expected);
        m_options.MaxMatches = maxMatches;
        const CheckOutcome outcome = CheckCommand::CheckTexts(
            QStringLiteral("one two three four. five six seven eight."),
            QStringLiteral("one two three four. five six seven eight. one two three four. one two three four."),
            m_options, m_stemmer);
        QCOMPARE(CheckCommand::ExactEditedIndices(outcome.matches, outcome.editedWords), expected);
    }

    void runsOfDigitsAreStems_data()
    {
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QStringList>("runs");
        QTest::newRow("none") << u"one two three four"_qs << QStringList();
        QTest::newRow("between delimiters")
            << u"in 1990 and the 70-х and 1990"_qs << QStringList{u"1990"_qs, u"70"_qs, u"1990"_qs};
        QTest::newRow("Arabic-Indic") << u"one ١٢ two ٣"_qs << QStringList{u"١٢"_qs, u"٣"_qs};
        QTest::newRow("across a delimiter into a word") << u"one 12٣ two 12"_qs << QStringList{u"12٣"_qs, u"12"_qs};
        QTest::newRow("last") << u"one two three 5"_qs << QStringList{u"5"_qs};
    }
    void runsOfDigitsAreStems()
    {
        QFETCH(QString, sentence);
        QFETCH(QStringList, runs);
        m_options.NearMatches = true;
        const CheckOutcome outcome =
            CheckCommand::CheckTexts(sentence, u"five six seven eight"_qs, m_options, m_stemmer);
        QCOMPARE(outcome.originalSentences.size(), 1);
        const QList<qint32>& numbers = outcome.originalSentences.first().numbers;
        QCOMPARE(numbers.size(), runs.size());
        // Equal runs have equal numbers, different runs different ones.
        for (qsizetype i = 0; i < runs.size(); ++i)
            for (qsizetype j = 0; j < runs.size(); ++j)
                QCOMPARE(numbers.at(i) == numbers.at(j), runs.at(i) == runs.at(j));
    }

    void nearSentenceTextsOutliveTheOutcome()
    {
        // A sentence's text copied out, as into a row of the window, stays readable when a
        // new Check replaces its outcome.
        m_options.NearMatches = true;
        QString original;
        QString edited;
        {
            const CheckOutcome outcome =
                CheckCommand::CheckTexts(u"one two three four. five six seven eight."_qs,
                                         u"one two three four. nine ten eleven twelve."_qs, m_options, m_stemmer);
            original = outcome.originalSentences.at(1).text;
            edited = outcome.editedSentences.at(1).text;
            // The exactly matched sentence is not searched again: its words are left out,
            // not its count.
            QVERIFY(outcome.editedSentences.at(0).words.isEmpty());
            QCOMPARE(outcome.editedWordCounts, (std::vector<qint32>{4, 4}));
        }
        QCOMPARE(original, u" five six seven eight"_qs);
        QCOMPARE(edited, u" nine ten eleven twelve"_qs);
    }

    void optionsApplyToTheCheckTheyArePassedTo()
    {
        const QString text = QStringLiteral("one two three four.");
        QCOMPARE(CheckCommand::CheckTexts(text, text, m_options, m_stemmer).matches.size(), 1);
        m_options.MinWords = 4;
        QCOMPARE(CheckCommand::CheckTexts(text, text, m_options, m_stemmer).matches.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestCheckCommand)
#include "tst_checkcommand.moc"
