#include "TestSettings.h"
#include "cli/CheckCli.h"
#include "check/CheckCommand.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

// The Check end to end on golden cases (<case>.original.txt, <case>.edited.txt,
// <case>.expected.json under data/golden), and its handling of unreadable files.
class TestCheckCommand : public QObject
{
    Q_OBJECT

    TestSettings m_settings;

    static QString goldenDir() { return QStringLiteral(PARAFRIX_TEST_DATA_DIR "/golden"); }

private slots:
    void init() { TestSettings::reset(); }

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
        const CheckOutcome outcome =
            CheckCommand::CheckDocuments(base + QStringLiteral(".original.txt"), base + QStringLiteral(".edited.txt"));
        QVERIFY(outcome.ok());
        QFile expectedFile(base + QStringLiteral(".expected.json"));
        QVERIFY(expectedFile.open(QIODevice::ReadOnly));
        const QJsonDocument expected = QJsonDocument::fromJson(expectedFile.readAll());
        QVERIFY(expected.isObject());
        const QByteArray actualJson = CheckCli::MatchesToJson(outcome);
        const QJsonDocument actual = QJsonDocument::fromJson(actualJson);
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
        const CheckOutcome text = CheckCommand::CheckDocuments(examples + QStringLiteral("original.txt"),
                                                               examples + QStringLiteral("edited.txt"));
        const CheckOutcome saved = CheckCommand::CheckDocuments(examples + QStringLiteral("original.docx"),
                                                                examples + QStringLiteral("edited.odt"));
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
        const CheckOutcome outcome = CheckCommand::CheckDocuments(dir.filePath(QStringLiteral("missing.doc")), edited);
        QVERIFY(!outcome.ok());
        QCOMPARE(outcome.original.error, ExtractError::FileMissing);
        QCOMPARE(outcome.edited.error, ExtractError::NoText);
        QVERIFY(outcome.matches.isEmpty());
        QVERIFY(!outcome.original.reason().isEmpty());
    }

    void repeatedChecksGiveTheSameList()
    {
        const QString text = QStringLiteral("one two three four. five six seven eight.");
        const CheckOutcome first = CheckCommand::CheckTexts(text, text);
        const CheckOutcome second = CheckCommand::CheckTexts(text, text);
        QCOMPARE(first.matches.size(), 2);
        QCOMPARE(first.matches, second.matches);
    }

    void settingsApplyFromTheNextCheck()
    {
        const QString text = QStringLiteral("one two three four.");
        QCOMPARE(CheckCommand::CheckTexts(text, text).matches.size(), 1);
        AppSettings::Instance().MinWords = 4;
        QCOMPARE(CheckCommand::CheckTexts(text, text).matches.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestCheckCommand)
#include "tst_checkcommand.moc"
