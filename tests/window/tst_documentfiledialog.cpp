#include "extract/DocumentFormat.h"
#include "window/DocumentFileDialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>

class TestDocumentFileDialog : public QObject
{
    Q_OBJECT

private slots:
    void entriesInOrder();
    void labelsAsShown();
    void dialogSetUp();
    void allFilesMatchesFilesWithoutExtension();
};

void TestDocumentFileDialog::entriesInOrder()
{
    const QStringList filters = DocumentFileDialog::NameFilters({QStringLiteral("*.txt"), QStringLiteral("*.docx")});
    QCOMPARE(filters.size(), 3);
    QCOMPARE(filters.at(0), QStringLiteral(u"Документы (*.txt *.docx) (*.txt *.docx)"));
    QCOMPARE(filters.at(1), QStringLiteral("Word Files (*.doc) (*.doc)"));
    QCOMPARE(filters.at(2), QStringLiteral("All Files (*.*) (*)"));
}

void TestDocumentFileDialog::labelsAsShown()
{
    QCOMPARE(DocumentFileDialog::NameFilterLabels({QStringLiteral("*.txt")}),
             (QStringList{QStringLiteral(u"Документы (*.txt)"), QStringLiteral("Word Files (*.doc)"),
                          QStringLiteral("All Files (*.*)")}));
}

void TestDocumentFileDialog::dialogSetUp()
{
    QFileDialog dialog;
    DocumentFileDialog::Configure(dialog);
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(dialog.fileMode(), QFileDialog::AnyFile);
    QCOMPARE(dialog.defaultSuffix(), QStringLiteral("doc"));
    QCOMPARE(dialog.nameFilters(), DocumentFileDialog::NameFilters(DocumentFileDialog::ReadablePatterns()));
    // The readable formats are selected first. Qt's own dialog reports the shown label (the
    // text before the patterns), a native one the whole filter.
    const QString selected = dialog.selectedNameFilter();
    const QString label =
        QStringLiteral(u"Документы (%1)").arg(DocumentFileDialog::ReadablePatterns().join(QChar(u' ')));
    QVERIFY2(selected == label || selected == dialog.nameFilters().constFirst(), qPrintable(selected));
    const QStringList readable = DocumentFileDialog::ReadablePatterns();
    for (const char* pattern : {"*.doc", "*.docx", "*.odt", "*.rtf", "*.txt", "*.pdf"})
        QVERIFY2(readable.contains(QLatin1String(pattern)), pattern);
    // Every pattern the dialog offers is one the filters pick a reader for.
    for (const QString& pattern : readable)
        QVERIFY2(DocumentFormatSniffer::FromExtension(QStringLiteral("x") + pattern.mid(1)) != DocumentFormat::Unknown,
                 qPrintable(pattern));
}

void TestDocumentFileDialog::allFilesMatchesFilesWithoutExtension()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString& name : {QStringLiteral("README"), QStringLiteral("essay.doc")}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QString allFiles = DocumentFileDialog::NameFilters({QStringLiteral("*.txt")}).at(2);
    const QString patterns = allFiles.mid(allFiles.lastIndexOf(u'(') + 1).chopped(1);
    const QStringList found = QDir(dir.path()).entryList(patterns.split(u' '), QDir::Files, QDir::Name);
    QCOMPARE(found, (QStringList{QStringLiteral("README"), QStringLiteral("essay.doc")}));
}

QTEST_MAIN(TestDocumentFileDialog)
#include "tst_documentfiledialog.moc"
