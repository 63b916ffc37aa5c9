#include "TempSettings.h"
#include "dialogs/CDlgOptions.h"
#include "settings/AppSettings.h"
#include "settings/QtSettingsStore.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestCDlgOptions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsTheRecord();
    void okStoresAsTyped();
    void cancelDropsTypedText();
    void sliderStoresAtOnce();
    void sliderMoveSurvivesCancel();
    void defaultsSurviveCancel();
    void outOfRangeMinWords_data();
    void outOfRangeMinWords();
    void emptySetsAreStored();
    void tabSurvivesOk();
    void neverWritesTheStore();
    void layoutAndTabOrder();
    void nearMatchChoice_data();
    void nearMatchChoice();

private:
    QLineEdit* edit(CDlgOptions& dialog, const char* name);
    QSlider* slider(CDlgOptions& dialog);
    QLabel* minWordsLabel(CDlgOptions& dialog);
    void click(CDlgOptions& dialog, const char* name);

    std::unique_ptr<TempSettings> m_settings;
};

void TestCDlgOptions::init()
{
    m_settings = std::make_unique<TempSettings>();
    QVERIFY(m_settings->isValid());
}

void TestCDlgOptions::cleanup()
{
    m_settings.reset();
}

QLineEdit* TestCDlgOptions::edit(CDlgOptions& dialog, const char* name)
{
    return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
}

QSlider* TestCDlgOptions::slider(CDlgOptions& dialog)
{
    return dialog.findChild<QSlider*>(QStringLiteral("minWordsSlider"));
}

QLabel* TestCDlgOptions::minWordsLabel(CDlgOptions& dialog)
{
    return dialog.findChild<QLabel*>(QStringLiteral("minWordsLabel"));
}

void TestCDlgOptions::click(CDlgOptions& dialog, const char* name)
{
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

void TestCDlgOptions::showsTheRecord()
{
    AppSettings::Instance().Delimiters1 = QStringLiteral(".;");
    AppSettings::Instance().MinWords = 5;
    CDlgOptions dialog;
    QCOMPARE(edit(dialog, "sentenceDelimitersEdit")->text(), QStringLiteral(".;"));
    QCOMPARE(edit(dialog, "wordDelimitersEdit")->text(), AppSettings::DefaultDelimiters2());
    QCOMPARE(slider(dialog)->minimum(), 3);
    QCOMPARE(slider(dialog)->maximum(), 10);
    QCOMPARE(slider(dialog)->value(), 5);
    QCOMPARE(minWordsLabel(dialog)->text(), QStringLiteral("5"));
    QCOMPARE(minWordsLabel(dialog)->alignment(), Qt::AlignCenter);
}

void TestCDlgOptions::okStoresAsTyped()
{
    CDlgOptions dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    edit(dialog, "sentenceDelimitersEdit")->setText(QStringLiteral(".!?;;"));
    edit(dialog, "wordDelimitersEdit")->setText(QStringLiteral(" ,,"));
    slider(dialog)->setValue(8);
    click(dialog, "okButton");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(AppSettings::Instance().Delimiters1, QStringLiteral(".!?;;"));
    QCOMPARE(AppSettings::Instance().Delimiters2, QStringLiteral(" ,,"));
    QCOMPARE(AppSettings::Instance().MinWords, 8);
}

void TestCDlgOptions::cancelDropsTypedText()
{
    CDlgOptions dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(edit(dialog, "sentenceDelimitersEdit"), QStringLiteral(";"));
    QCOMPARE(edit(dialog, "sentenceDelimitersEdit")->text(), QStringLiteral(".!?;"));
    click(dialog, "cancelButton");
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(AppSettings::Instance().Delimiters1, AppSettings::DefaultDelimiters1());
}

void TestCDlgOptions::sliderStoresAtOnce()
{
    CDlgOptions dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSlider* s = slider(dialog);
    s->setFocus();
    QTest::keyClick(s, Qt::Key_Right);
    QCOMPARE(AppSettings::Instance().MinWords, 4);
    QCOMPARE(minWordsLabel(dialog)->text(), QStringLiteral("4"));
    QTest::keyClick(s, Qt::Key_End);
    QCOMPARE(AppSettings::Instance().MinWords, 10);
    QCOMPARE(minWordsLabel(dialog)->text(), QStringLiteral("10"));
}

void TestCDlgOptions::sliderMoveSurvivesCancel()
{
    CDlgOptions dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    slider(dialog)->setValue(6);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(AppSettings::Instance().MinWords, 6);
}

void TestCDlgOptions::defaultsSurviveCancel()
{
    AppSettings::Instance().Delimiters1 = QStringLiteral(";");
    AppSettings::Instance().Delimiters2 = QStringLiteral("-");
    AppSettings::Instance().MinWords = 9;
    CDlgOptions dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    click(dialog, "defaultsButton");
    QCOMPARE(edit(dialog, "sentenceDelimitersEdit")->text(), QStringLiteral(".!?"));
    QCOMPARE(edit(dialog, "wordDelimitersEdit")->text(), AppSettings::DefaultDelimiters2WithoutTab());
    QCOMPARE(slider(dialog)->value(), 3);
    QCOMPARE(minWordsLabel(dialog)->text(), QStringLiteral("3"));
    click(dialog, "cancelButton");
    QCOMPARE(AppSettings::Instance().Delimiters1, QStringLiteral(".!?"));
    QCOMPARE(AppSettings::Instance().Delimiters2, AppSettings::DefaultDelimiters2WithoutTab());
    QCOMPARE(AppSettings::Instance().MinWords, 3);
}

void TestCDlgOptions::outOfRangeMinWords_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("thumb");
    QTest::newRow("zero") << 0 << 3;
    QTest::newRow("negative") << -4 << 3;
    QTest::newRow("twenty-five") << 25 << 10;
}

void TestCDlgOptions::outOfRangeMinWords()
{
    QFETCH(int, stored);
    QFETCH(int, thumb);
    AppSettings::Instance().MinWords = stored;
    {
        CDlgOptions dialog;
        QCOMPARE(slider(dialog)->value(), thumb);
        QCOMPARE(minWordsLabel(dialog)->text(), QString::number(stored));
        // Placing the thumb is not a move.
        QCOMPARE(AppSettings::Instance().MinWords, stored);
        dialog.reject();
        QCOMPARE(AppSettings::Instance().MinWords, stored);
    }
    CDlgOptions dialog;
    dialog.accept();
    QCOMPARE(AppSettings::Instance().MinWords, thumb);
}

void TestCDlgOptions::emptySetsAreStored()
{
    CDlgOptions dialog;
    edit(dialog, "sentenceDelimitersEdit")->clear();
    edit(dialog, "wordDelimitersEdit")->clear();
    dialog.accept();
    QVERIFY(AppSettings::Instance().Delimiters1.isEmpty());
    QVERIFY(AppSettings::Instance().Delimiters2.isEmpty());
}

void TestCDlgOptions::tabSurvivesOk()
{
    // The stored set ends with a tab, which the edit box must hand back unchanged.
    QVERIFY(AppSettings::Instance().Delimiters2.endsWith(u'\t'));
    CDlgOptions dialog;
    dialog.accept();
    QCOMPARE(AppSettings::Instance().Delimiters2, AppSettings::DefaultDelimiters2());
}

void TestCDlgOptions::neverWritesTheStore()
{
    CDlgOptions dialog;
    slider(dialog)->setValue(7);
    dialog.findChild<QPushButton*>(QStringLiteral("defaultsButton"))->click();
    dialog.accept();
    QVERIFY(!QFile::exists(m_settings->iniPath()));
}

void TestCDlgOptions::nearMatchChoice_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("near");
    QTest::addColumn<int>("threshold");
    // The dialog opens on "off, 70"; the user ticks the box and sets 35%.
    QTest::newRow("ok stores both") << u"okButton"_qs << true << 35;
    QTest::newRow("cancel drops both") << u"cancelButton"_qs << false << 70;
    QTest::newRow("defaults: on, default threshold")
        << u"defaultsButton"_qs << true << AppSettings::DefaultNearThreshold;
}

void TestCDlgOptions::nearMatchChoice()
{
    QFETCH(QString, button);
    QFETCH(bool, near);
    QFETCH(int, threshold);
    AppSettings::Instance().NearMatches = false;
    AppSettings::Instance().NearThreshold = 70;
    CDlgOptions dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* check = dialog.findChild<QCheckBox*>(QStringLiteral("nearMatchesCheck"));
    auto* spin = dialog.findChild<QSpinBox*>(QStringLiteral("nearThresholdSpin"));
    QVERIFY(check && spin);
    QCOMPARE(check->text(), u"Показывать похожие фразы"_qs);
    QVERIFY(!check->isChecked());
    QCOMPARE(spin->value(), 70);
    QCOMPARE(spin->minimum(), 1);
    QCOMPARE(spin->maximum(), 100);
    QVERIFY(!spin->isEnabled());
    check->setChecked(true);
    QVERIFY(spin->isEnabled());
    spin->setValue(35);
    QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(AppSettings::Instance().NearMatches, near);
    QCOMPARE(AppSettings::Instance().NearThreshold, threshold);
}

void TestCDlgOptions::layoutAndTabOrder()
{
    CDlgOptions dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("okButton"));
    QCOMPARE(slider(dialog)->tickPosition(), QSlider::NoTicks);
    const QStringList expected = {QStringLiteral("okButton"),
                                  QStringLiteral("cancelButton"),
                                  QStringLiteral("sentenceDelimitersEdit"),
                                  QStringLiteral("wordDelimitersEdit"),
                                  QStringLiteral("defaultsButton"),
                                  QStringLiteral("minWordsSlider")};
    QStringList order;
    QWidget* widget = ok;
    for (int guard = 0; guard < 100 && order.size() < expected.size(); ++guard) {
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty() && widget->window() == &dialog)
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    }
    QCOMPARE(order, expected);
    // Enter in an edit box is OK.
    edit(dialog, "sentenceDelimitersEdit")->setText(QStringLiteral("!"));
    QTest::keyClick(edit(dialog, "sentenceDelimitersEdit"), Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(AppSettings::Instance().Delimiters1, QStringLiteral("!"));
}

QTEST_MAIN(TestCDlgOptions)
#include "tst_cdlgoptions.moc"
