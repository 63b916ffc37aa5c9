#include "FakeWordProcessor.h"
#include "ModalBoxes.h"
#include "TempSettings.h"
#include "compare/ExplainMatch.h"
#include "morph/Stemmer.h"
#include "settings/AppSettings.h"
#include "settings/QtSettingsStore.h"
#include "window/CParafrixDlg.h"
#include "window/PathLabel.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kIdentical = QStringLiteral(u"Фразы одинаковые, следует что-нибудь поменять");

} // namespace

class TestCParafrixDlg : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startState();
    void tabOrderFollowsTemplate();
    void checkButtonEnabledWhenBothChosen_data();
    void checkButtonEnabledWhenBothChosen();
    void cancelledDialogKeepsPathButQuitsOwnInstances();
    void longPathIsCompactedWithFullPathKept();
    void checkListsMatchesAndShowsTheFirst();
    void selectingAnotherMatchShowsItsVerdict();
    void checkWithoutMatchesShowsAllClearOnce();
    void unreadableDocumentShowsOneErrorAndClears();
    void repeatedChecksDoNotAccumulate();
    void choosingAnotherDocumentClearsResults();
    void commandLineDocumentsActLikeBrowsing();
    void closingSavesSettings_data();
    void closingSavesSettings();
    void onlyClosingSavesSettings();
    void buttonsOpenTheirBoxes();
    void aboutItemInContextMenuAndOnF1();
    void enterStartsNothing();
    void openInWordPassesShownPhrase();
    void openInWordReportsMessage();

private:
    std::unique_ptr<CParafrixDlg> makeWindow();
    // Writes o.txt and e.txt, chooses them and runs the Check.
    std::unique_ptr<CParafrixDlg> checkedWindow(const QString& originalText, const QString& editedText);
    QString originalPath() const { return m_dir->filePath(QStringLiteral("o.txt")); }
    QString editedPath() const { return m_dir->filePath(QStringLiteral("e.txt")); }
    void verifyResultsEmpty(CParafrixDlg& window);
    QString writeFile(const QString& name, const QString& text);
    void choose(CParafrixDlg& window, const QString& original, const QString& edited);
    void click(CParafrixDlg& window, const QString& button);
    template <typename T> T* child(CParafrixDlg& window, const QString& name);
    QStringList listLabels(CParafrixDlg& window);

    std::unique_ptr<TempSettings> m_settings;
    LowerCaseStemmer m_stemmer;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<WordLog> m_word;
    std::unique_ptr<ModalBoxes> m_boxes;
    QString m_ini;
};

void TestCParafrixDlg::init()
{
    m_settings = std::make_unique<TempSettings>();
    QVERIFY(m_settings->isValid());
    m_ini = m_settings->iniPath();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_word = std::make_shared<WordLog>();
    m_boxes = std::make_unique<ModalBoxes>();
}

void TestCParafrixDlg::cleanup()
{
    m_boxes.reset();
    m_settings.reset();
    m_dir.reset();
}

std::unique_ptr<CParafrixDlg> TestCParafrixDlg::makeWindow()
{
    auto window = std::make_unique<CParafrixDlg>(std::make_unique<FakeWordProcessor>(m_word), &m_stemmer);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("window not exposed");
    return window;
}

std::unique_ptr<CParafrixDlg> TestCParafrixDlg::checkedWindow(const QString& originalText, const QString& editedText)
{
    const QString original = writeFile(QStringLiteral("o.txt"), originalText);
    const QString edited = writeFile(QStringLiteral("e.txt"), editedText);
    auto window = makeWindow();
    choose(*window, original, edited);
    click(*window, QStringLiteral("checkButton"));
    return window;
}

void TestCParafrixDlg::verifyResultsEmpty(CParafrixDlg& window)
{
    QCOMPARE(child<QListWidget>(window, QStringLiteral("matchList"))->count(), 0);
    QVERIFY(window.matches().isEmpty());
    QVERIFY(child<QPlainTextEdit>(window, QStringLiteral("originalPhraseEdit"))->toPlainText().isEmpty());
    QVERIFY(child<QPlainTextEdit>(window, QStringLiteral("editedPhraseEdit"))->toPlainText().isEmpty());
    QVERIFY(child<QLabel>(window, QStringLiteral("verdictLabel"))->text().isEmpty());
}

QString TestCParafrixDlg::writeFile(const QString& name, const QString& text)
{
    const QString path = m_dir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write test file");
    file.write(text.toUtf8());
    return path;
}

template <typename T> T* TestCParafrixDlg::child(CParafrixDlg& window, const QString& name)
{
    T* widget = window.findChild<T*>(name);
    if (!widget)
        qFatal("no child %s", qPrintable(name));
    return widget;
}

void TestCParafrixDlg::click(CParafrixDlg& window, const QString& button)
{
    QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
}

void TestCParafrixDlg::choose(CParafrixDlg& window, const QString& original, const QString& edited)
{
    m_boxes->queueFile(original);
    click(window, QStringLiteral("browseOriginalButton"));
    m_boxes->queueFile(edited);
    click(window, QStringLiteral("browseEditedButton"));
}

QStringList TestCParafrixDlg::listLabels(CParafrixDlg& window)
{
    QStringList labels;
    auto* list = child<QListWidget>(window, QStringLiteral("matchList"));
    for (int i = 0; i < list->count(); ++i)
        labels << list->item(i)->text();
    return labels;
}

void TestCParafrixDlg::startState()
{
    auto window = makeWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("Parafrix"));
    QVERIFY(child<PathLabel>(*window, QStringLiteral("originalPathLabel"))->text().isEmpty());
    QVERIFY(child<PathLabel>(*window, QStringLiteral("editedPathLabel"))->text().isEmpty());
    QVERIFY(!child<QPushButton>(*window, QStringLiteral("checkButton"))->isEnabled());
    QCOMPARE(child<QListWidget>(*window, QStringLiteral("matchList"))->count(), 0);
    QVERIFY(child<QPlainTextEdit>(*window, QStringLiteral("originalPhraseEdit"))->toPlainText().isEmpty());
    QVERIFY(child<QPlainTextEdit>(*window, QStringLiteral("editedPhraseEdit"))->toPlainText().isEmpty());
    QVERIFY(child<QLabel>(*window, QStringLiteral("verdictLabel"))->text().isEmpty());
    QCOMPARE(window->focusWidget(), child<QPushButton>(*window, QStringLiteral("exitButton")));
    QVERIFY(!window->hasStemDictionary());
    QVERIFY(m_boxes->shown.isEmpty());
    // No push button is a default one.
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        QVERIFY2(!button->isDefault() && !button->autoDefault(), qPrintable(button->objectName()));
    }
}

void TestCParafrixDlg::tabOrderFollowsTemplate()
{
    auto window = makeWindow();
    const QStringList expected = {QStringLiteral("exitButton"),         QStringLiteral("browseOriginalButton"),
                                  QStringLiteral("browseEditedButton"), QStringLiteral("matchList"),
                                  QStringLiteral("checkButton"),        QStringLiteral("originalPhraseEdit"),
                                  QStringLiteral("optionsButton"),      QStringLiteral("openInWordButton"),
                                  QStringLiteral("editedPhraseEdit"),   QStringLiteral("thanksButton")};
    QStringList order;
    QWidget* widget = child<QPushButton>(*window, QStringLiteral("exitButton"));
    for (int guard = 0; guard < 200 && order.size() < expected.size(); ++guard) {
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().startsWith(QLatin1String("qt_")) &&
            !widget->objectName().isEmpty() && widget->window() == window.get())
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    }
    QCOMPARE(order, expected);
}

void TestCParafrixDlg::checkButtonEnabledWhenBothChosen_data()
{
    QTest::addColumn<bool>("originalFirst");
    QTest::newRow("original first") << true;
    QTest::newRow("edited first") << false;
}

void TestCParafrixDlg::checkButtonEnabledWhenBothChosen()
{
    QFETCH(bool, originalFirst);
    const QString original = writeFile(QStringLiteral("o.txt"), QStringLiteral("Один два три."));
    const QString edited = writeFile(QStringLiteral("e.txt"), QStringLiteral("Четыре пять шесть."));
    auto window = makeWindow();
    auto* check = child<QPushButton>(*window, QStringLiteral("checkButton"));
    const QString first = originalFirst ? QStringLiteral("browseOriginalButton") : QStringLiteral("browseEditedButton");
    const QString second =
        originalFirst ? QStringLiteral("browseEditedButton") : QStringLiteral("browseOriginalButton");
    m_boxes->queueFile(originalFirst ? original : edited);
    click(*window, first);
    QVERIFY(!check->isEnabled());
    m_boxes->queueFile(originalFirst ? edited : original);
    click(*window, second);
    QVERIFY(check->isEnabled());
    QCOMPARE(window->originalPath(), originalPath());
    QCOMPARE(window->editedPath(), editedPath());
    QCOMPARE(m_boxes->countFileDialogs(), 2);
    QCOMPARE(m_word->count(QStringLiteral("quitOwn")), 2);
    QCOMPARE(m_word->count(QStringLiteral("quitActive")), 0);
}

void TestCParafrixDlg::cancelledDialogKeepsPathButQuitsOwnInstances()
{
    const QString original = writeFile(QStringLiteral("o.txt"), QStringLiteral("Один два три."));
    const QString edited = writeFile(QStringLiteral("e.txt"), QStringLiteral("Один два три."));
    auto window = makeWindow();
    auto* check = child<QPushButton>(*window, QStringLiteral("checkButton"));
    auto* originalLabel = child<PathLabel>(*window, QStringLiteral("originalPathLabel"));

    m_boxes->queueFile(original);
    click(*window, QStringLiteral("browseOriginalButton"));
    const QString shown = originalLabel->text();
    QVERIFY(!shown.isEmpty());

    m_boxes->queueFile(QString()); // cancel
    click(*window, QStringLiteral("browseEditedButton"));
    QVERIFY(!check->isEnabled());
    QVERIFY(window->editedPath().isEmpty());
    QCOMPARE(m_word->count(QStringLiteral("quitOwn")), 2);

    m_boxes->queueFile(edited);
    click(*window, QStringLiteral("browseEditedButton"));
    QVERIFY(check->isEnabled());

    m_boxes->queueFile(QString()); // cancel again: the original stays
    click(*window, QStringLiteral("browseOriginalButton"));
    QCOMPARE(window->originalPath(), originalPath());
    QCOMPARE(originalLabel->text(), shown);
    QVERIFY(check->isEnabled());
    QCOMPARE(m_word->count(QStringLiteral("quitOwn")), 4);
    QCOMPARE(m_word->callsWithoutBusyCursor, 0);
}

void TestCParafrixDlg::longPathIsCompactedWithFullPathKept()
{
    QDir dir(m_dir->path());
    const QString deep = QString(60, u'д') + QChar(u'/') + QString(60, u'ж') + QChar(u'/') + QString(60, u'з');
    QVERIFY(dir.mkpath(deep));
    const QString original =
        writeFile(deep + QStringLiteral("/оригинал-с-очень-длинным-именем.txt"), QStringLiteral("Один два три."));
    auto window = makeWindow();
    m_boxes->queueFile(original);
    click(*window, QStringLiteral("browseOriginalButton"));
    auto* label = child<PathLabel>(*window, QStringLiteral("originalPathLabel"));
    QCOMPARE(window->originalPath(), original);
    QCOMPARE(label->toolTip(), QDir::toNativeSeparators(original));
    QVERIFY(label->text() != original);
    QVERIFY(label->text().contains(QChar(0x2026)));
    QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width());
    // The file name end stays visible.
    QVERIFY(label->text().endsWith(QLatin1String(".txt")));
}

void TestCParafrixDlg::checkListsMatchesAndShowsTheFirst()
{
    // Eleven sentences found again unchanged: labels run 1 to 11, 10 after 9.
    QString text;
    for (int i = 0; i < 11; ++i)
        text += QStringLiteral(u"Предложение номер %1 стоит здесь. ").arg(QString(i + 1, u'я'));
    auto window = checkedWindow(text, text);

    QStringList expected;
    for (int i = 1; i <= 11; ++i)
        expected << QStringLiteral(u"Совпадение #%1").arg(i);
    QCOMPARE(listLabels(*window), expected);
    QCOMPARE(window->matches().size(), 11);
    auto* list = child<QListWidget>(*window, QStringLiteral("matchList"));
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(child<QPlainTextEdit>(*window, QStringLiteral("originalPhraseEdit"))->toPlainText(),
             window->matches().first().original);
    QCOMPARE(child<QPlainTextEdit>(*window, QStringLiteral("editedPhraseEdit"))->toPlainText(),
             window->matches().first().edited);
    QCOMPARE(child<QLabel>(*window, QStringLiteral("verdictLabel"))->text(), kIdentical);
    QCOMPARE(m_boxes->count(QStringLiteral("allClearDialog")), 0);
    QCOMPARE(m_boxes->count(QStringLiteral("messageBox")), 0);
    // The running word processor is asked to quit first, under the busy cursor.
    QCOMPARE(m_word->calls.last(), QStringLiteral("quitActive"));
    QCOMPARE(m_word->callsWithoutBusyCursor, 0);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestCParafrixDlg::selectingAnotherMatchShowsItsVerdict()
{
    const QString original =
        writeFile(QStringLiteral("o.txt"), QStringLiteral(u"Кот ест рыбу дома. Пёс грызёт кость во дворе."));
    const QString edited =
        writeFile(QStringLiteral("e.txt"), QStringLiteral(u"Кот ест рыбу дома. Во дворе пёс грызёт кость."));
    auto window = makeWindow();
    choose(*window, original, edited);
    click(*window, QStringLiteral("checkButton"));
    QCOMPARE(window->matches().size(), 2);
    auto* list = child<QListWidget>(*window, QStringLiteral("matchList"));
    auto* verdict = child<QLabel>(*window, QStringLiteral("verdictLabel"));
    QCOMPARE(verdict->text(), kIdentical);

    list->setCurrentRow(1);
    const PhraseMatch second = window->matches().at(1);
    QCOMPARE(child<QPlainTextEdit>(*window, QStringLiteral("editedPhraseEdit"))->toPlainText(), second.edited);
    QVERIFY(verdict->text().startsWith(Verdict::order()));

    // No selection: the boxes keep their text.
    list->setCurrentRow(-1);
    QVERIFY(verdict->text().startsWith(Verdict::order()));
    QCOMPARE(child<QPlainTextEdit>(*window, QStringLiteral("editedPhraseEdit"))->toPlainText(), second.edited);
}

void TestCParafrixDlg::checkWithoutMatchesShowsAllClearOnce()
{
    auto window = checkedWindow(QStringLiteral(u"Кот ест рыбу дома."), QStringLiteral(u"Собака спит на диване."));
    QCOMPARE(m_boxes->count(QStringLiteral("allClearDialog")), 1);
    QCOMPARE(m_boxes->shown.last().caption, QStringLiteral(u"Все хорошо"));
    verifyResultsEmpty(*window);
    QVERIFY(window->hasStemDictionary());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestCParafrixDlg::unreadableDocumentShowsOneErrorAndClears()
{
    const QString text = QStringLiteral(u"Кот ест рыбу дома.");
    auto window = checkedWindow(text, text);
    QCOMPARE(window->matches().size(), 1);

    QVERIFY(QFile::remove(originalPath()));
    const int quitsBefore = m_word->count(QStringLiteral("quitActive"));
    click(*window, QStringLiteral("checkButton"));
    QCOMPARE(m_boxes->count(QStringLiteral("messageBox")), 1);
    const ModalBoxes::Shown box = m_boxes->shown.last();
    QCOMPARE(box.caption, QStringLiteral(u"Ошибка"));
    QCOMPARE(box.icon, int(QMessageBox::Warning));
    QVERIFY(box.text.startsWith(QStringLiteral(u"Механизм извлечения текста не работает.")));
    QVERIFY(box.text.contains(QDir::toNativeSeparators(originalPath())));
    QVERIFY(!box.text.contains(QDir::toNativeSeparators(editedPath())));
    QCOMPARE(m_boxes->count(QStringLiteral("allClearDialog")), 0);
    // Asked to quit also when the Check then fails.
    QCOMPARE(m_word->count(QStringLiteral("quitActive")), quitsBefore + 1);
    verifyResultsEmpty(*window);
    QVERIFY(!window->hasStemDictionary());
    QCOMPARE(window->originalPath(), originalPath());
    QCOMPARE(window->editedPath(), editedPath());
    QVERIFY(child<QPushButton>(*window, QStringLiteral("checkButton"))->isEnabled());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestCParafrixDlg::repeatedChecksDoNotAccumulate()
{
    const QString text = QStringLiteral(u"Кот ест рыбу дома. Пёс грызёт кость во дворе. Птица поёт песню утром.");
    auto window = checkedWindow(text, text);
    const QStringList first = listLabels(*window);
    const PhraseMatchList firstMatches = window->matches();
    QCOMPARE(first.size(), 3);
    child<QListWidget>(*window, QStringLiteral("matchList"))->setCurrentRow(2);
    click(*window, QStringLiteral("checkButton"));
    QCOMPARE(listLabels(*window), first);
    QCOMPARE(window->matches(), firstMatches);
    QCOMPARE(child<QListWidget>(*window, QStringLiteral("matchList"))->currentRow(), 0);
}

void TestCParafrixDlg::choosingAnotherDocumentClearsResults()
{
    const QString text = QStringLiteral(u"Кот ест рыбу дома.");
    const QString original = writeFile(QStringLiteral("o.txt"), text);
    const QString edited = writeFile(QStringLiteral("e.txt"), text);
    const QString other = writeFile(QStringLiteral("other.txt"), QStringLiteral(u"Совсем другой текст здесь."));
    auto window = makeWindow();
    choose(*window, original, edited);
    click(*window, QStringLiteral("checkButton"));
    QVERIFY(!child<QLabel>(*window, QStringLiteral("verdictLabel"))->text().isEmpty());

    // The same file chosen again, or the dialog cancelled: the results stay.
    m_boxes->queueFile(edited);
    click(*window, QStringLiteral("browseEditedButton"));
    click(*window, QStringLiteral("browseOriginalButton")); // nothing queued: cancelled
    QCOMPARE(listLabels(*window), QStringList{QStringLiteral(u"Совпадение #1")});

    // Another file: the list, the boxes, the verdict and the dictionary belonged to the old pair.
    m_boxes->queueFile(other);
    click(*window, QStringLiteral("browseEditedButton"));
    QCOMPARE(window->editedPath(), other);
    verifyResultsEmpty(*window);
    QVERIFY(child<QPushButton>(*window, QStringLiteral("checkButton"))->isEnabled());
    // Nothing is selected, so the word processor is not asked to show an old sentence.
    click(*window, QStringLiteral("openInWordButton"));
    QCOMPARE(m_word->phrases.size(), 1);
    QVERIFY(m_word->phrases.first().isEmpty());
}

void TestCParafrixDlg::commandLineDocumentsActLikeBrowsing()
{
    const QString original = writeFile(QStringLiteral("o.txt"), QStringLiteral(u"Кот ест рыбу дома."));
    const QString edited = writeFile(QStringLiteral("e.txt"), QStringLiteral(u"Кот ест рыбу дома."));
    auto window = makeWindow();
    QDir::setCurrent(m_dir->path());
    window->SetDocuments(QStringLiteral("o.txt"), edited);
    QCOMPARE(window->originalPath(), originalPath());
    QCOMPARE(window->editedPath(), editedPath());
    QVERIFY(child<QPushButton>(*window, QStringLiteral("checkButton"))->isEnabled());
    QCOMPARE(child<PathLabel>(*window, QStringLiteral("originalPathLabel"))->path(), original);
    QCOMPARE(m_word->count(QStringLiteral("quitOwn")), 1);
    QVERIFY(m_boxes->shown.isEmpty());
}

void TestCParafrixDlg::closingSavesSettings_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("exit button") << 0;
    QTest::newRow("escape key") << 1;
    QTest::newRow("close box") << 2;
}

void TestCParafrixDlg::closingSavesSettings()
{
    QFETCH(int, way);
    const QString text = QStringLiteral(u"Кот ест рыбу дома.");
    auto window = checkedWindow(text, text);
    QVERIFY(window->hasStemDictionary());
    const int quitsBefore = m_word->count(QStringLiteral("quitOwn"));
    AppSettings::Instance().MinWords = 7;
    QVERIFY(!QFile::exists(m_ini));

    if (way == 0)
        click(*window, QStringLiteral("exitButton"));
    else if (way == 1)
        QTest::keyClick(window.get(), Qt::Key_Escape);
    else
        QVERIFY(window->close());

    QVERIFY(!window->isVisible());
    QCOMPARE(window->result(), int(QDialog::Rejected));
    QVERIFY(!window->hasStemDictionary());
    QCOMPARE(m_word->count(QStringLiteral("quitOwn")), quitsBefore + 1);
    QVERIFY(QFile::exists(m_ini));
    // The record was destroyed: the next one is loaded from what was saved.
    QCOMPARE(AppSettings::Instance().MinWords, 7);
    QCOMPARE(AppSettings::Instance().Delimiters2, AppSettings::DefaultDelimiters2());
}

void TestCParafrixDlg::onlyClosingSavesSettings()
{
    const QString text = QStringLiteral(u"Кот ест рыбу дома.");
    auto window = checkedWindow(text, text);
    click(*window, QStringLiteral("optionsButton"));
    click(*window, QStringLiteral("thanksButton"));
    click(*window, QStringLiteral("openInWordButton"));
    QVERIFY(!QFile::exists(m_ini));
    window.reset();
    // Destroying the window is not closing it.
    QVERIFY(!QFile::exists(m_ini));
}

void TestCParafrixDlg::buttonsOpenTheirBoxes()
{
    auto window = makeWindow();
    click(*window, QStringLiteral("optionsButton"));
    click(*window, QStringLiteral("thanksButton"));
    QCOMPARE(m_boxes->shown.size(), 2);
    QCOMPARE(m_boxes->shown.at(0).name, QStringLiteral("optionsDialog"));
    QCOMPARE(m_boxes->shown.at(0).caption, QStringLiteral(u"Настройки"));
    QCOMPARE(m_boxes->shown.at(1).name, QStringLiteral("thanksDialog"));
    QVERIFY(window->isVisible());
}

void TestCParafrixDlg::aboutItemInContextMenuAndOnF1()
{
    auto window = makeWindow();
    QCOMPARE(window->contextMenuPolicy(), Qt::ActionsContextMenu);
    const QList<QAction*> actions = window->actions();
    QCOMPARE(actions.size(), 2);
    QVERIFY(actions.at(0)->isSeparator());
    QCOMPARE(actions.at(1)->text(), QStringLiteral("&About Parafrix..."));
    QCOMPARE(actions.at(1)->shortcut(), QKeySequence(Qt::Key_F1));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_F1);
    QCOMPARE(m_boxes->count(QStringLiteral("aboutDialog")), 1);
    QCOMPARE(m_boxes->shown.last().caption, QStringLiteral("About Parafrix"));
}

void TestCParafrixDlg::enterStartsNothing()
{
    const QString text = QStringLiteral(u"Кот ест рыбу дома.");
    const QString original = writeFile(QStringLiteral("o.txt"), text);
    const QString edited = writeFile(QStringLiteral("e.txt"), text);
    auto window = makeWindow();
    choose(*window, original, edited);
    const int callsBefore = int(m_word->calls.size());
    const int boxesBefore = int(m_boxes->shown.size());
    for (const QString& name : {QStringLiteral("matchList"), QStringLiteral("originalPhraseEdit")}) {
        QWidget* widget = window->findChild<QWidget*>(name);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_Return);
        QTest::keyClick(widget, Qt::Key_Enter);
    }
    QVERIFY(window->isVisible());
    QCOMPARE(int(m_word->calls.size()), callsBefore);
    QCOMPARE(int(m_boxes->shown.size()), boxesBefore);
    QVERIFY(window->matches().isEmpty());
}

void TestCParafrixDlg::openInWordPassesShownPhrase()
{
    // The phrase reaches the word processor exactly as found, line separator included,
    // although the box shows that separator as a line break.
    const QString text = QStringLiteral(u"Кот\u2028ест рыбу дома вечером.");
    const QString original = writeFile(QStringLiteral("o.txt"), text);
    const QString edited = writeFile(QStringLiteral("e.txt"), text);
    auto window = makeWindow();
    click(*window, QStringLiteral("openInWordButton"));
    QCOMPARE(m_word->phrases, QStringList{QString()});
    choose(*window, original, edited);
    click(*window, QStringLiteral("checkButton"));
    QCOMPARE(window->matches().size(), 1);
    click(*window, QStringLiteral("openInWordButton"));
    QCOMPARE(m_word->phrases.last(), window->matches().first().edited);
    QVERIFY(m_word->phrases.last().contains(QChar(0x2028)));
    QCOMPARE(m_word->paths.last(), edited);
    QCOMPARE(m_word->callsWithoutBusyCursor, 0);
    QVERIFY(m_boxes->shown.size() == 2); // the two file dialogs only
}

void TestCParafrixDlg::openInWordReportsMessage()
{
    auto window = makeWindow();
    m_word->nextResult = {false, QStringLiteral(u"Текстовый процессор не найден.")};
    click(*window, QStringLiteral("openInWordButton"));
    QCOMPARE(m_boxes->count(QStringLiteral("messageBox")), 1);
    QCOMPARE(m_boxes->shown.last().text, QStringLiteral(u"Текстовый процессор не найден."));
    QCOMPARE(m_boxes->shown.last().icon, int(QMessageBox::Warning));
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(TestCParafrixDlg)
#include "tst_cparafrixdlg.moc"
