#include "TempSettings.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CDlgFuck.h"
#include "dialogs/CDlgOptions.h"
#include "dialogs/CDlgThanks.h"
#include "res/Artwork.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

// The program's dialog boxes: how each opens and every way it closes, then what the
// about, thank-you and all-clear boxes show.
class TestDialogs : public QObject
{
    Q_OBJECT

public:
    enum class Closing
    {
        Button, // a click on the named button
        Escape,
        Enter, // Enter where the focus is
        CloseBox,
    };

private:
    std::unique_ptr<TempSettings> m_settings;

    static std::unique_ptr<QDialog> make(const QString& dialog)
    {
        if (dialog == u"about")
            return std::make_unique<CAboutDlg>();
        if (dialog == u"thanks")
            return std::make_unique<CDlgThanks>();
        if (dialog == u"all-clear")
            return std::make_unique<СDlgFuck>();
        if (dialog == u"options")
            return std::make_unique<CDlgOptions>();
        return {};
    }

    static QStringList defaultButtons(const QDialog& dialog)
    {
        QStringList names;
        for (const QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->isDefault())
                names << button->objectName();
        return names;
    }

private slots:
    void init()
    {
        // The options dialog edits the settings record: a private one per test.
        m_settings = std::make_unique<TempSettings>();
        QVERIFY(m_settings->isValid());
    }
    void cleanup() { m_settings.reset(); }

    void opensAndCloses_data();
    void opensAndCloses();
    void buttonsFollowTheFont();
    void aboutShowsVersionAndYear();
    void thanksTextIsReadOnlyAndWraps();
    void allClearPictureKeepsItsSize();
    void allClearPictureIsDrawn();
    void programIconHasItsSizes();
};

Q_DECLARE_METATYPE(TestDialogs::Closing)

void TestDialogs::opensAndCloses_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("defaultButton");
    QTest::addColumn<Closing>("closing");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");

    struct Box
    {
        QString dialog;
        QString objectName;
        QString title;
        QString focus;
        QString defaultButton;
    };
    const QList<Box> boxes = {
        {u"about"_qs, u"aboutDialog"_qs, u"About Parafrix"_qs, u"okButton"_qs, u"okButton"_qs},
        {u"thanks"_qs, u"thanksDialog"_qs, QStringLiteral(u"Спасибо"), u"thanksText"_qs, u"closeButton"_qs},
        {u"all-clear"_qs, u"allClearDialog"_qs, QStringLiteral(u"Все хорошо"), u"closeButton"_qs, u"closeButton"_qs},
        {u"options"_qs, u"optionsDialog"_qs, QStringLiteral(u"Настройки"), u"okButton"_qs, u"okButton"_qs},
    };
    const int accepted = QDialog::Accepted;
    const int rejected = QDialog::Rejected;
    for (const Box& box : boxes) {
        const auto row = [&](const char* how, Closing closing, const QString& button, int result) {
            QTest::addRow("%s, %s", qPrintable(box.dialog), how)
                << box.dialog << box.objectName << box.title << box.focus << box.defaultButton << closing << button
                << result;
        };
        row("default button", Closing::Button, box.defaultButton, accepted);
        row("Esc", Closing::Escape, QString(), rejected);
        row("Enter", Closing::Enter, QString(), accepted);
        row("close box", Closing::CloseBox, QString(), rejected);
    }
    QTest::newRow("options, cancel") << u"options"_qs << u"optionsDialog"_qs << QStringLiteral(u"Настройки")
                                     << u"okButton"_qs << u"okButton"_qs << Closing::Button << u"cancelButton"_qs
                                     << rejected;
}

void TestDialogs::opensAndCloses()
{
    QFETCH(QString, dialog);
    QFETCH(QString, objectName);
    QFETCH(QString, title);
    QFETCH(QString, focus);
    QFETCH(QString, defaultButton);
    QFETCH(Closing, closing);
    QFETCH(QString, button);
    QFETCH(int, result);

    const std::unique_ptr<QDialog> box = make(dialog);
    QVERIFY(box);
    QCOMPARE(box->objectName(), objectName);
    QCOMPARE(box->windowTitle(), title);
    QVERIFY(!box->isVisible());
    QVERIFY(!box->windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
    // One default button, so Enter has one meaning wherever the focus is.
    QCOMPARE(defaultButtons(*box), QStringList{defaultButton});

    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QVERIFY(box->focusWidget());
    QCOMPARE(box->focusWidget()->objectName(), focus);

    switch (closing) {
    case Closing::Button:
        QTest::mouseClick(box->findChild<QPushButton*>(button), Qt::LeftButton);
        break;
    case Closing::Escape:
        QTest::keyClick(box->focusWidget(), Qt::Key_Escape);
        break;
    case Closing::Enter:
        QTest::keyClick(box->focusWidget(), Qt::Key_Return);
        break;
    case Closing::CloseBox:
        QVERIFY(box->close());
        break;
    }
    QVERIFY(!box->isVisible());
    QCOMPARE(box->result(), result);
}

void TestDialogs::buttonsFollowTheFont()
{
    // Sizes are in dialog units: a box built with a larger font has larger buttons.
    const QFont original = QApplication::font();
    QSize sizes[2];
    for (int i = 0; i < 2; ++i) {
        QFont font = original;
        font.setPointSize(i == 0 ? 8 : 16);
        QApplication::setFont(font);
        CAboutDlg box;
        sizes[i] = box.findChild<QPushButton*>(QStringLiteral("okButton"))->minimumSize();
    }
    QApplication::setFont(original);
    QVERIFY2(sizes[1].width() > sizes[0].width() && sizes[1].height() > sizes[0].height(),
             qPrintable(QStringLiteral("%1x%2 then %3x%4")
                            .arg(sizes[0].width())
                            .arg(sizes[0].height())
                            .arg(sizes[1].width())
                            .arg(sizes[1].height())));
}

void TestDialogs::aboutShowsVersionAndYear()
{
    CAboutDlg box;
    QCOMPARE(box.findChild<QLabel*>(QStringLiteral("versionLabel"))->text(), QStringLiteral("Parafrix Version 1.0"));
    QVERIFY(box.findChild<QLabel*>(QStringLiteral("copyrightLabel"))->text().contains(QStringLiteral("2007")));
    QVERIFY(!box.findChild<QLabel*>(QStringLiteral("iconLabel"))->pixmap().isNull());
    QCOMPARE(box.findChild<QPushButton*>(QStringLiteral("okButton"))->text(), QStringLiteral("OK"));
}

void TestDialogs::thanksTextIsReadOnlyAndWraps()
{
    CDlgThanks box;
    auto* text = box.findChild<QPlainTextEdit*>(QStringLiteral("thanksText"));
    QVERIFY(text);
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    // Each CR LF of the text is one line break in the box.
    QCOMPARE(text->document()->blockCount(), int(CDlgThanks::Text().count(QStringLiteral("\r\n"))) + 1);
    QCOMPARE(text->toPlainText(), QString(CDlgThanks::Text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(box.findChild<QPushButton*>(QStringLiteral("closeButton"))->text(), QStringLiteral(u"Закрыть"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QString shown = text->toPlainText();
    QTest::keyClicks(text, QStringLiteral("abc"));
    QTest::keyClick(text, Qt::Key_Delete);
    QTest::keyClick(text, Qt::Key_Backspace);
    QCOMPARE(text->toPlainText(), shown);
}

void TestDialogs::allClearPictureKeepsItsSize()
{
    СDlgFuck box;
    const QLabel* picture = box.findChild<QLabel*>(QStringLiteral("pictureLabel"));
    QVERIFY(picture);
    QCOMPARE(picture->pixmap().size(), QSize(265, 124));
    QCOMPARE(picture->size(), QSize(265, 124));
    QCOMPARE(box.findChild<QPushButton*>(QStringLiteral("closeButton"))->text(), QStringLiteral(u"Закрыть"));
}

void TestDialogs::allClearPictureIsDrawn()
{
    const QImage image = Artwork::AllClearPicture().toImage();
    QCOMPARE(image.size(), QSize(265, 124));
    QVERIFY(!image.hasAlphaChannel() || image.pixelColor(0, 0).alpha() == 255);
    // The red stamp is there: plenty of strongly red pixels.
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += (c.red() > 180 && c.green() < 110 && c.blue() < 110) ? 1 : 0;
        }
    QVERIFY2(red > 1000, qPrintable(QString::number(red)));
}

void TestDialogs::programIconHasItsSizes()
{
    const QIcon icon = Artwork::ProgramIcon();
    QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}}));
    const QImage small = icon.pixmap(16, 16).toImage();
    int opaque = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            opaque += small.pixelColor(x, y).alpha() > 0 ? 1 : 0;
    QVERIFY(opaque > 64);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
