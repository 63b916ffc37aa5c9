#include "FakeStemmer.h"
#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "check/MatchReport.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

// The Check end to end on golden cases (<case>.original.txt, <case>.edited.txt,
// <case>.expected.json under data/golden), and its handling of unreadable files.
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
        // <case>.options.json, when present, sets the options of its case.
        QFile optionsFile(base + QStringLiteral(".options.json"));
        if (optionsFile.open(QIODevice::ReadOnly)) {
            const QJsonObject options = QJsonDocument::fromJson(optionsFile.readAll()).object();
            m_options.Delimiters1 = options.value(QStringLiteral("Delimiters1")).toString(m_options.Delimiters1);
            m_options.Delimiters2 = options.value(QStringLiteral("Delimiters2")).toString(m_options.Delimiters2);
            m_options.MinWords = options.value(QStringLiteral("MinWords")).toInt(m_options.MinWords);
        }
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

    void repeatedChecksGiveTheSameList()
    {
        const QString text = QStringLiteral("one two three four. five six seven eight.");
        const CheckOutcome first = CheckCommand::CheckTexts(text, text, m_options, m_stemmer);
        const CheckOutcome second = CheckCommand::CheckTexts(text, text, m_options, m_stemmer);
        QCOMPARE(first.matches.size(), 2);
        QCOMPARE(first.matches, second.matches);
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
