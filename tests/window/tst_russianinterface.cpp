#include "window/RussianInterface.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {

bool hasCyrillic(const QString& text)
{
    return text.contains(QRegularExpression(QStringLiteral(u"[а-яА-Я]")));
}

} // namespace

// Qt's own dialogs speak Russian, although the tests run in the C locale.
class TestRussianInterface : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // English before: the test would prove nothing in a Russian environment.
        QMessageBox box(QMessageBox::Warning, QStringLiteral("t"), QStringLiteral("t"), QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text().remove(QChar(u'&')), QStringLiteral("Cancel"));
        QVERIFY(RussianInterface::Install());
    }

    void localeIsRussian() { QCOMPARE(QLocale().language(), QLocale::Russian); }

    void messageBoxButtons_data()
    {
        QTest::addColumn<int>("button");
        // "OK" reads the same in Russian.
        QTest::newRow("Cancel") << int(QMessageBox::Cancel);
        QTest::newRow("Yes") << int(QMessageBox::Yes);
        QTest::newRow("No") << int(QMessageBox::No);
        QTest::newRow("Close") << int(QMessageBox::Close);
    }

    void messageBoxButtons()
    {
        QFETCH(int, button);
        const auto which = QMessageBox::StandardButton(button);
        QMessageBox box(QMessageBox::Warning, QStringLiteral("t"), QStringLiteral("t"), which);
        const QString text = box.button(which)->text();
        QVERIFY2(hasCyrillic(text), qPrintable(text));
    }

    void fileDialogLabelsAndButtons_data()
    {
        QTest::addColumn<QString>("label");
        QTest::newRow("look in") << QStringLiteral("lookInLabel");
        QTest::newRow("file name") << QStringLiteral("fileNameLabel");
        QTest::newRow("file type") << QStringLiteral("fileTypeLabel");
    }

    void fileDialogLabelsAndButtons()
    {
        QFETCH(QString, label);
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        auto* widget = dialog.findChild<QLabel*>(label);
        QVERIFY(widget);
        QVERIFY2(hasCyrillic(widget->text()), qPrintable(widget->text()));
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        const QString cancel = buttons->button(QDialogButtonBox::Cancel)->text();
        QVERIFY2(hasCyrillic(cancel), qPrintable(cancel));
    }
};

QTEST_MAIN(TestRussianInterface)
#include "tst_russianinterface.moc"
