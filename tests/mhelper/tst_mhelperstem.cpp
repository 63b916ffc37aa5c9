// The mhelper-stem tool on the compiled dictionary: forms that several words make get
// the lemma a student's text most likely means (word lists in data/everyday-lemmas.txt).
#include <QFile>
#include <QProcess>
#include <QTest>

class TestMhelperStem : public QObject
{
    Q_OBJECT

private slots:
    void everydayLemma_data()
    {
        QTest::addColumn<QString>("lemma");
        QTest::addColumn<QStringList>("forms");
        QFile list(QStringLiteral(PARAFRIX_TEST_DATA_DIR "/everyday-lemmas.txt"));
        QVERIFY(list.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines = QString::fromUtf8(list.readAll()).split(u'\n');
        for (const QString& line : lines) {
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            const qsizetype colon = line.indexOf(u':');
            QVERIFY2(colon > 0, qPrintable(line));
            const QString lemma = line.left(colon);
            QTest::newRow(qPrintable(lemma)) << lemma << line.mid(colon + 1).split(u' ', Qt::SkipEmptyParts);
        }
    }
    void everydayLemma()
    {
        QFETCH(QString, lemma);
        QFETCH(QStringList, forms);
        QProcess tool;
        tool.start(QStringLiteral(PARAFRIX_BIN_DIR "/mhelper-stem"), {QStringLiteral(PARAFRIX_BIN_DIR "/mhelper.dat")});
        QVERIFY(tool.waitForStarted());
        tool.write((forms.join(u'\n') + u'\n').toUtf8());
        tool.closeWriteChannel();
        QVERIFY(tool.waitForFinished());
        QCOMPARE(tool.exitCode(), 0);
        const QStringList stems = QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(stems.size(), forms.size());
        for (qsizetype i = 0; i < forms.size(); ++i)
            QVERIFY2(stems[i] == lemma, qPrintable(forms[i] + QStringLiteral(" -> ") + stems[i]));
    }
};

QTEST_GUILESS_MAIN(TestMhelperStem)
#include "tst_mhelperstem.moc"
