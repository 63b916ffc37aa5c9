#include "FakeWordProcessor.h"
#include "ModalBoxes.h"
#include "TempSettings.h"
#include "check/CheckErrorText.h"
#include "check/TrickWarnings.h"
#include "compare/ExplainMatch.h"
#include "morph/Stemmer.h"
#include "settings/AppSettings.h"
#include "settings/QtSettingsStore.h"
#include "window/CParafrixDlg.h"
#include "window/CopyMap.h"
#include "window/PathLabel.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

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
    void checkButtonEnabledWhenBothChosen();
    void cancelledDialogKeepsPath();
    void longPathIsCompactedWithFullPathKept();
    void checkListsMatchesAndShowsTheFirst();
    void selectingAnotherMatchShowsItsVerdict();
    void checkWithoutMatchesShowsAllClearOnce();
    void unreadableDocumentShowsOneErrorAndClears();
    void recheckKeepsTheStudentsPlace();
    void blankDocumentShowsTheErrorNotTheAllClear();
    void choosingAnotherDocumentClearsResults();
    void fileDialogOpensInTheDocumentsFolder();
    void unsavedChangesAreAskedAbout_data();
    void unsavedChangesAreAskedAbout();
    void failedSaveChecksNothing();
    void commandLineDocumentsActLikeBrowsing();
    void oneCommandLineDocumentIsTheCopy();
    void sameFileIsRefused_data();
    void sameFileIsRefused();
    void newSettingsRelistTheRows();
    void savingChecksAgainByItself();
    void everyFocusableControlShowsFocus();
    void closingSavesSettings_data();
    void closingSavesSettings();
    void onlyClosingSavesSettings();
    void buttonsOpenTheirBoxes();
    void aboutItemInContextMenuAndOnF1();
    void enterStartsNothing();
    void openInWordPassesShownPhrase();
    void openInWordReportsMessage();
    void nearMatchesFollowExactOnes_data();
    void nearMatchesFollowExactOnes();
    void selectedMatchHighlightsSharedWords_data();
    void selectedMatchHighlightsSharedWords();
    void openInWordSearchesNearMatch();
    void copyMapShowsTheCopyAndLeadsToRows();
    void disguisedCopyIsWarnedAndShownAsWritten();
    void reportIsSavedAfterACheck();

private:
    std::unique_ptr<CParafrixDlg> makeWindow();
    // Writes o.txt and e.txt, chooses them and runs the Check.
    std::unique_ptr<CParafrixDlg> checkedWindow(const QString& originalText, const QString& editedText);
    QString originalPath() const { return m_dir->filePath(QStringLiteral("o.txt")); }
    QString editedPath() const { return m_dir->filePath(QStringLiteral("e.txt")); }
    void verifyResultsEmpty(CParafrixDlg& window);
    QString writeFile(const QString& name, const QString& text);
    void choose(CParafrixDlg& window, const QString& original, const QString& edited);
    static void verifyNamesOnly(const QString& text, const QString& unreadable, const QString& readable,
                                const QString& reason = QString());
    void click(CParafrixDlg& window, const QString& button);
    template <typename T> T* child(CParafrixDlg& window, const QString& name);
    QStringList listLabels(CParafrixDlg& window);
    // The highlighted pieces of a phrase box's text, in order.
    QStringList highlighted(CParafrixDlg& window, const QString& box);

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

// The error names the unreadable document with its reason and not the other one; where the
// platform's message is the one sentence about the indexing service, it is that sentence.
void TestCParafrixDlg::verifyNamesOnly(const QString& text, const QString& unreadable, const QString& readable,
                                       const QString& reason)
{
    if (DefaultCheckErrorStyle() == CheckErrorStyle::IndexingServiceHint) {
        QCOMPARE(text, QStringLiteral(u"Механизм извлечения текста не работает. "
                                      u"Возможно не запущена Служба индексирования Windows."));
        return;
    }
    QVERIFY2(text.contains(QDir::toNativeSeparators(unreadable)), qPrintable(text));
    QVERIFY2(!text.contains(QDir::toNativeSeparators(readable)), qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
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

QStringList TestCParafrixDlg::highlighted(CParafrixDlg& window, const QString& box)
{
    QStringList pieces;
    const QTextDocument* document = child<QPlainTextEdit>(window, box)->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (const QTextLayout::FormatRange& range : block.layout()->formats())
            pieces << block.text().mid(range.start, range.length);
    }
    return pieces;
}

namespace {

// Three originals; the copy changes the fox sentence (7 of 8 words kept, one added:
// 87%), drops a word of the fisher sentence (7 of 8: 93%), keeps the cat sentence and
// adds a sentence of its own: 8 + 7 + 6 + 7 words.
const QString kNearOriginal = QStringLiteral(u"Кот ест рыбу дома каждый вечер. Лиса быстро бежит через широкое "
                                             u"поле к лесу. Старый рыбак чинит сети на берегу реки утром.");
const QString kNearEdited = QStringLiteral(u"Лиса быстро бежит через поле к тёмному лесу. Старый рыбак чинит сети "
                                           u"на берегу утром. Кот ест рыбу дома каждый вечер. Зимой в горах часто "
                                           u"идёт густой снег.");

} // namespace

void TestCParafrixDlg::nearMatchesFollowExactOnes_data()
{
    QTest::addColumn<bool>("near");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("originality");
    QTest::newRow("default: most similar first")
        << true << 50 << QStringList{u"Совпадение #1"_qs, u"Похожая фраза #1 (93%)"_qs, u"Похожая фраза #2 (87%)"_qs}
        << u"Оригинальность копии: 25% (совпадения 21%, похожие фразы 54% слов)"_qs;
    // The figure rises without the near matches, and says why.
    QTest::newRow("near matches off")
        << false << 50 << QStringList{u"Совпадение #1"_qs}
        << u"Оригинальность копии: 78% (совпадения 21% слов; похожие фразы выключены в настройках и не учтены)"_qs;
}

void TestCParafrixDlg::nearMatchesFollowExactOnes()
{
    QFETCH(bool, near);
    QFETCH(int, threshold);
    QFETCH(QStringList, labels);
    QFETCH(QString, originality);
    AppSettings::Instance().NearMatches = near;
    AppSettings::Instance().NearThreshold = threshold;
    auto window = checkedWindow(kNearOriginal, kNearEdited);
    QCOMPARE(listLabels(*window), labels);
    QCOMPARE(child<QLabel>(*window, QStringLiteral("originalityLabel"))->text(), originality);
    QCOMPARE(m_boxes->count(QStringLiteral("allClearDialog")), 0);
}

void TestCParafrixDlg::selectedMatchHighlightsSharedWords_data()
{
    QTest::addColumn<QString>("edited");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("originalBox");
    QTest::addColumn<QString>("editedBox");
    QTest::addColumn<QStringList>("originalShared");
    QTest::addColumn<QStringList>("editedShared");
    QTest::addColumn<QString>("verdictPart");
    const QStringList fox{u"Лиса"_qs, u"быстро"_qs, u"бежит"_qs, u"через"_qs, u"поле"_qs, u"к"_qs, u"лесу"_qs};
    QTest::newRow("exact match: every word")
        << kNearEdited << 0 << u"Кот ест рыбу дома каждый вечер"_qs << u"Кот ест рыбу дома каждый вечер"_qs
        << QStringList{u"Кот"_qs, u"ест"_qs, u"рыбу"_qs, u"дома"_qs, u"каждый"_qs, u"вечер"_qs}
        << QStringList{u"Кот"_qs, u"ест"_qs, u"рыбу"_qs, u"дома"_qs, u"каждый"_qs, u"вечер"_qs}
        // The copy's sentence keeps its leading space: the exact verdict calls it a change of form.
        << u"Следует удалить"_qs;
    QTest::newRow("near match: shared words only")
        << kNearEdited << 2 << u"Лиса быстро бежит через широкое поле к лесу"_qs
        << u"Лиса быстро бежит через поле к тёмному лесу"_qs << fox << fox << u"«тёмному»"_qs;
    // A split pair: both edited sentences are shown, and highlighted, in one box.
    QTest::newRow("split pair") << u"Лиса быстро бежит через широкое поле. Она спешит к лесу."_qs << 0
                                << u"Лиса быстро бежит через широкое поле к лесу"_qs
                                << u"Лиса быстро бежит через широкое поле. Она спешит к лесу"_qs
                                << QStringList{u"Лиса"_qs,    u"быстро"_qs, u"бежит"_qs, u"через"_qs,
                                               u"широкое"_qs, u"поле"_qs,   u"к"_qs,     u"лесу"_qs}
                                << QStringList{u"Лиса"_qs,    u"быстро"_qs, u"бежит"_qs, u"через"_qs,
                                               u"широкое"_qs, u"поле"_qs,   u"к"_qs,     u"лесу"_qs}
                                << u"«спешит»"_qs;
}

void TestCParafrixDlg::selectedMatchHighlightsSharedWords()
{
    QFETCH(QString, edited);
    QFETCH(int, row);
    QFETCH(QString, originalBox);
    QFETCH(QString, editedBox);
    QFETCH(QStringList, originalShared);
    QFETCH(QStringList, editedShared);
    QFETCH(QString, verdictPart);
    auto window = checkedWindow(kNearOriginal, edited);
    child<QListWidget>(*window, QStringLiteral("matchList"))->setCurrentRow(row);
    QCOMPARE(child<QPlainTextEdit>(*window, QStringLiteral("originalPhraseEdit"))->toPlainText(), originalBox);
    QCOMPARE(child<QPlainTextEdit>(*window, QStringLiteral("editedPhraseEdit"))->toPlainText(), editedBox);
    QCOMPARE(highlighted(*window, QStringLiteral("originalPhraseEdit")), originalShared);
    QCOMPARE(highlighted(*window, QStringLiteral("editedPhraseEdit")), editedShared);
    const QString verdict = child<QLabel>(*window, QStringLiteral("verdictLabel"))->text();
    QVERIFY2(verdict.contains(verdictPart), qPrintable(verdict));
}

void TestCParafrixDlg::openInWordSearchesNearMatch()
{
    auto window = checkedWindow(kNearOriginal, u"Лиса быстро бежит через широкое поле. Она спешит к лесу."_qs);
    QCOMPARE(listLabels(*window).size(), 1);
    // A near match alone is a finding: no all-clear box.
    QCOMPARE(m_boxes->count(QStringLiteral("allClearDialog")), 0);
    click(*window, QStringLiteral("openInWordButton"));
    // A split is shown and searched for as written, full stop between its halves, so
    // that both halves are selected.
    const QString split = u"Лиса быстро бежит через широкое поле. Она спешит к лесу"_qs;
    QCOMPARE(child<QPlainTextEdit>(*window, QStringLiteral("editedPhraseEdit"))->toPlainText(), split);
    QCOMPARE(m_word->phrases.last(), split);
    QCOMPARE(m_word->paths.last(), editedPath());
}

void TestCParafrixDlg::copyMapShowsTheCopyAndLeadsToRows()
{
    auto window = checkedWindow(kNearOriginal, kNearEdited);
    auto* map = child<CopyMap>(*window, QStringLiteral("copyMap"));
    // The session's cells, one per sentence of the copy.
    QList<qsizetype> rows;
    for (const CheckSession::MapCell& cell : map->cells())
        rows << cell.row;
    QCOMPARE(rows, (QList<qsizetype>{2, 1, 0, -1}));
    QVERIFY(!map->toolTip().isEmpty());

    // Clicking a sentence of the map selects its row; the copy's own leaves the selection.
    auto* list = child<QListWidget>(*window, QStringLiteral("matchList"));
    const auto centreOf = [map](qsizetype cell) {
        int y = 0;
        while (y < map->height() && map->cellAt(y) != cell)
            ++y;
        return QPoint(map->width() / 2, y + 1);
    };
    QTest::mouseClick(map, Qt::LeftButton, {}, centreOf(2));
    QCOMPARE(list->currentRow(), 0);
    QTest::mouseClick(map, Qt::LeftButton, {}, centreOf(0));
    QCOMPARE(list->currentRow(), 2);
    QTest::mouseClick(map, Qt::LeftButton, {}, centreOf(3));
    QCOMPARE(list->currentRow(), 2);
}

// A copy disguised with Latin letters and a braille blank: the strip above the list
// warns, the sentence is shown, marked and searched for as written, and the verdict
// says the disguise does not hide the match. An honest copy hides the strip again.
void TestCParafrixDlg::disguisedCopyIsWarnedAndShownAsWritten()
{
    const QString written = u"Лиca быcтpo бежит через\u2800широкое поле к лесу"_qs;
    auto window = checkedWindow(kNearOriginal, written + u"."_qs);
    QCOMPARE(listLabels(*window), QStringList{u"Совпадение #1"_qs});
    auto* strip = child<QLabel>(*window, QStringLiteral("suspiciousLabel"));
    QVERIFY(!strip->isHidden());
    QVERIFY2(strip->text().startsWith(u"Подозрительные приёмы в изменённой копии:"_qs), qPrintable(strip->text()));
    QCOMPARE(child<QPlainTextEdit>(*window, QStringLiteral("editedPhraseEdit"))->toPlainText(), written);
    const QStringList marked = highlighted(*window, QStringLiteral("editedPhraseEdit"));
    for (const QString& odd : {u"ca"_qs, u"c"_qs, u"po"_qs, u"\u2800"_qs})
        QVERIFY2(marked.contains(odd), qPrintable(marked.join(u'|')));
    QVERIFY(
        child<QLabel>(*window, QStringLiteral("verdictLabel"))->text().endsWith(TrickWarnings::SeenThrough() + u'\n'));

    writeFile(QStringLiteral("e.txt"), u"Лиса быстро бежит через широкое поле к лесу."_qs);
    click(*window, QStringLiteral("checkButton"));
    QVERIFY(strip->isHidden());
    QVERIFY(!child<QLabel>(*window, QStringLiteral("verdictLabel"))->text().contains(TrickWarnings::SeenThrough()));
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
    QVERIFY(!child<QPushButton>(*window, QStringLiteral("openInWordButton"))->isEnabled());
    // The first step is choosing the original.
    QCOMPARE(window->focusWidget(), child<QPushButton>(*window, QStringLiteral("browseOriginalButton")));
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
    const QStringList expected = {
        QStringLiteral("exitButton"),    QStringLiteral("browseOriginalButton"), QStringLiteral("browseEditedButton"),
        QStringLiteral("matchList"),     QStringLiteral("checkButton"),          QStringLiteral("originalPhraseEdit"),
        QStringLiteral("optionsButton"), QStringLiteral("openInWordButton"),     QStringLiteral("editedPhraseEdit"),
        QStringLiteral("thanksButton"),  QStringLiteral("saveReportButton")};
    QStringList order;
    QWidget* widget = child<QPushButton>(*window, QStringLiteral("exitButton"));
    for (int guard = 0; guard < 200 && order.size() < expected.size(); ++guard) {
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().startsWith(QLatin1String("qt_")) &&
            !widget->objectName().isEmpty() && widget->window() == window.get() && widget->isVisibleTo(window.get()))
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    }
    QCOMPARE(order, expected);
}

void TestCParafrixDlg::checkButtonEnabledWhenBothChosen()
{
    const QString original = writeFile(QStringLiteral("o.txt"), QStringLiteral("Один два три."));
    const QString edited = writeFile(QStringLiteral("e.txt"), QStringLiteral("Четыре пять шесть."));
    auto window = makeWindow();
    auto* check = child<QPushButton>(*window, QStringLiteral("checkButton"));
    m_boxes->queueFile(edited);
    click(*window, QStringLiteral("browseEditedButton"));
    QVERIFY(!check->isEnabled());
    m_boxes->queueFile(original);
    click(*window, QStringLiteral("browseOriginalButton"));
    QVERIFY(check->isEnabled());
    QCOMPARE(window->originalPath(), originalPath());
    QCOMPARE(window->editedPath(), editedPath());
    QCOMPARE(m_boxes->countFileDialogs(), 2);
    // Browsing never touches the word processor.
    QVERIFY(m_word->calls.isEmpty());
}

void TestCParafrixDlg::cancelledDialogKeepsPath()
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

    m_boxes->queueFile(edited);
    click(*window, QStringLiteral("browseEditedButton"));
    QVERIFY(check->isEnabled());

    m_boxes->queueFile(QString()); // cancel again: the original stays
    click(*window, QStringLiteral("browseOriginalButton"));
    QCOMPARE(window->originalPath(), originalPath());
    QCOMPARE(originalLabel->text(), shown);
    QVERIFY(check->isEnabled());
    QVERIFY(m_word->calls.isEmpty());
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
    // The word processor is only asked about unsaved changes, under the busy cursor.
    QCOMPARE(m_word->calls.last(), QStringLiteral("unsaved"));
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
    QCOMPARE(child<QPlainTextEdit>(*window, QStringLiteral("editedPhraseEdit"))->toPlainText(),
             second.edited.trimmed());
    QVERIFY(verdict->text().startsWith(Verdict::order()));

    // No selection: the boxes keep their text.
    list->setCurrentRow(-1);
    QVERIFY(verdict->text().startsWith(Verdict::order()));
    QCOMPARE(child<QPlainTextEdit>(*window, QStringLiteral("editedPhraseEdit"))->toPlainText(),
             second.edited.trimmed());
}

void TestCParafrixDlg::checkWithoutMatchesShowsAllClearOnce()
{
    auto window = checkedWindow(QStringLiteral(u"Кот ест рыбу дома."), QStringLiteral(u"Собака спит на диване."));
    QCOMPARE(m_boxes->count(QStringLiteral("allClearDialog")), 1);
    QCOMPARE(m_boxes->shown.last().caption, QStringLiteral(u"Все хорошо"));
    verifyResultsEmpty(*window);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestCParafrixDlg::unreadableDocumentShowsOneErrorAndClears()
{
    const QString text = QStringLiteral(u"Кот ест рыбу дома.");
    auto window = checkedWindow(text, text);
    QCOMPARE(window->matches().size(), 1);

    QVERIFY(QFile::remove(originalPath()));
    click(*window, QStringLiteral("checkButton"));
    QCOMPARE(m_boxes->count(QStringLiteral("messageBox")), 1);
    const ModalBoxes::Shown box = m_boxes->shown.last();
    QCOMPARE(box.caption, QStringLiteral(u"Ошибка"));
    QCOMPARE(box.icon, int(QMessageBox::Warning));
    verifyNamesOnly(box.text, originalPath(), editedPath());
    QCOMPARE(m_boxes->count(QStringLiteral("allClearDialog")), 0);
    verifyResultsEmpty(*window);
    QVERIFY(child<QPushButton>(*window, QStringLiteral("checkButton"))->isEnabled());
    QVERIFY(!QGuiApplication::overrideCursor());
}

// The list is filled anew and follows the place the session kept.
void TestCParafrixDlg::recheckKeepsTheStudentsPlace()
{
    const QString text = QStringLiteral(u"Кот ест рыбу дома. Пёс грызёт кость во дворе. Птица поёт песню утром.");
    auto window = checkedWindow(text, text);
    auto* list = child<QListWidget>(*window, QStringLiteral("matchList"));
    list->setCurrentRow(2);
    writeFile(QStringLiteral("e.txt"),
              QStringLiteral(u"Иное начало текста. Пёс грызёт кость во дворе. Птица поёт песню утром."));
    click(*window, QStringLiteral("checkButton"));
    QCOMPARE(listLabels(*window), (QStringList{u"Совпадение #1"_qs, u"Совпадение #2"_qs}));
    QCOMPARE(list->currentRow(), 1);
    QCOMPARE(window->session().selectedIndex(), 1);
    QCOMPARE(child<QPlainTextEdit>(*window, QStringLiteral("editedPhraseEdit"))->toPlainText(),
             QStringLiteral(u"Птица поёт песню утром"));
    QCOMPARE(child<QLabel>(*window, QStringLiteral("verdictLabel"))->text(), kIdentical);
}

void TestCParafrixDlg::blankDocumentShowsTheErrorNotTheAllClear()
{
    const QString blank = writeFile(QStringLiteral("blank.txt"), QStringLiteral(u" \r\n\t\n  \n"));
    const QString text = writeFile(QStringLiteral("text.txt"), QStringLiteral(u"Кот ест рыбу дома."));
    auto window = makeWindow();
    choose(*window, text, blank);
    click(*window, QStringLiteral("checkButton"));
    QCOMPARE(m_boxes->count(QStringLiteral("allClearDialog")), 0);
    QCOMPARE(m_boxes->count(QStringLiteral("messageBox")), 1);
    const ModalBoxes::Shown box = m_boxes->shown.last();
    QCOMPARE(box.caption, QStringLiteral(u"Ошибка"));
    verifyNamesOnly(box.text, blank, text, QStringLiteral(u"в документе нет текста"));
    verifyResultsEmpty(*window);
}

void TestCParafrixDlg::choosingAnotherDocumentClearsResults()
{
    const QString text = QStringLiteral(u"Кот ест рыбу дома.");
    const QString original = writeFile(QStringLiteral("o.txt"), text);
    const QString edited = writeFile(QStringLiteral("e.txt"), text);
    const QString other = writeFile(QStringLiteral("other.txt"), QStringLiteral(u"Совсем другой текст здесь."));
    const QString button = QStringLiteral("browseEditedButton");
    auto window = makeWindow();
    choose(*window, original, edited);
    click(*window, QStringLiteral("checkButton"));
    QVERIFY(!child<QLabel>(*window, QStringLiteral("verdictLabel"))->text().isEmpty());

    // The same file chosen again, or the dialog cancelled: the results stay.
    m_boxes->queueFile(edited);
    click(*window, button);
    click(*window, button); // nothing queued: cancelled
    QCOMPARE(listLabels(*window), QStringList{QStringLiteral(u"Совпадение #1")});

    // Another file: the list, the boxes and the verdict belonged to the old pair.
    m_boxes->queueFile(other);
    click(*window, button);
    QCOMPARE(window->editedPath(), other);
    verifyResultsEmpty(*window);
    QVERIFY(child<QPushButton>(*window, QStringLiteral("checkButton"))->isEnabled());
    // Nothing is selected, so there is no old sentence to show.
    QVERIFY(!child<QPushButton>(*window, QStringLiteral("openInWordButton"))->isEnabled());
}

void TestCParafrixDlg::fileDialogOpensInTheDocumentsFolder()
{
    QDir dir(m_dir->path());
    QVERIFY(dir.mkpath(QStringLiteral(u"оригиналы")));
    QVERIFY(dir.mkpath(QStringLiteral(u"правка/глубже")));
    const QString original = writeFile(QStringLiteral(u"оригиналы/o.txt"), QStringLiteral(u"Кот ест рыбу."));
    const QString edited = writeFile(QStringLiteral(u"правка/e.txt"), QStringLiteral(u"Кот ест рыбу."));
    const QString originals = QFileInfo(original).absolutePath();
    const QString edits = QFileInfo(edited).absolutePath();
    auto window = makeWindow();
    const auto browse = [&](const QString& button, const QString& answer) {
        m_boxes->queueFile(answer);
        click(*window, button);
        return m_boxes->shown.last();
    };
    const QString browseOriginal = QStringLiteral("browseOriginalButton");
    const QString browseEdited = QStringLiteral("browseEditedButton");

    // Nothing chosen yet: the home folder, not wherever the program was started.
    QDir::setCurrent(QDir::tempPath());
    QCOMPARE(browse(browseOriginal, original).directory, QDir::homePath());
    // The edited copy usually lies next to the original.
    QCOMPARE(browse(browseEdited, QString()).directory, originals);
    QCOMPARE(browse(browseEdited, edited).directory, originals);
    // Each document's own folder, with the document selected.
    const ModalBoxes::Shown again = browse(browseOriginal, QString());
    QCOMPARE(again.directory, originals);
    QCOMPARE(again.selected, QStringList{original});
    QCOMPARE(browse(browseEdited, QString()).directory, edits);
    // Folders removed since: the nearest one left.
    const QString deep = writeFile(QStringLiteral(u"правка/глубже/e.txt"), QString());
    QCOMPARE(browse(browseEdited, deep).directory, edits);
    QVERIFY(QDir(edits).removeRecursively());
    QCOMPARE(browse(browseEdited, QString()).directory, QFileInfo(m_dir->path()).absoluteFilePath());
}

void TestCParafrixDlg::unsavedChangesAreAskedAbout_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("checks");
    QTest::addColumn<bool>("saves");
    QTest::newRow("save and check") << QStringLiteral("saveAndCheckButton") << true << true;
    QTest::newRow("check what is saved") << QStringLiteral("checkSavedButton") << true << false;
    QTest::newRow("cancel") << QString() << false << false;
}

void TestCParafrixDlg::unsavedChangesAreAskedAbout()
{
    QFETCH(QString, answer);
    QFETCH(bool, checks);
    QFETCH(bool, saves);
    const QString old = QStringLiteral(u"Кот ест рыбу дома.");
    const QString rewritten = QStringLiteral(u"Совсем другие слова стоят теперь здесь.");
    auto window = checkedWindow(old, old);
    const PhraseMatchList before = window->matches();
    QCOMPARE(before.size(), 1);
    // The student rewrote the sentence in the word processor and has not saved it yet.
    m_word->unsaved = {editedPath()};
    m_word->onSave = [&](const QStringList&) { writeFile(QStringLiteral("e.txt"), rewritten); };
    m_boxes->onDialog([&](QDialog& dialog) {
        if (auto* button = dialog.findChild<QPushButton*>(answer); button && !answer.isEmpty())
            button->click();
        return int(QDialog::Rejected);
    });
    m_word->calls.clear();
    click(*window, QStringLiteral("checkButton"));

    QCOMPARE(m_boxes->count(QStringLiteral("unsavedQuestion")), 1);
    for (const ModalBoxes::Shown& box : std::as_const(m_boxes->shown)) {
        if (box.name == QStringLiteral("unsavedQuestion"))
            QVERIFY2(box.text.contains(QStringLiteral(u"«e.txt»")), qPrintable(box.text));
    }
    QCOMPARE(m_word->calls, saves ? (QStringList{u"unsaved"_qs, u"save"_qs}) : QStringList{u"unsaved"_qs});
    QCOMPARE(m_word->callsWithoutBusyCursor, 0);
    if (!checks) {
        // Nothing read: the last results stay.
        QCOMPARE(window->matches(), before);
        return;
    }
    // Read after saving: the rewritten sentence no longer matches.
    QCOMPARE(window->session().matchCount(), saves ? 0 : 1);
    QCOMPARE(child<QLabel>(*window, QStringLiteral("checkNoteLabel"))->isVisible(), !saves);
    QCOMPARE(child<QLabel>(*window, QStringLiteral("reminderLabel"))->isVisible(), saves);
}

void TestCParafrixDlg::failedSaveChecksNothing()
{
    const QString text = QStringLiteral(u"Кот ест рыбу дома.");
    auto window = checkedWindow(text, text);
    m_word->unsaved = {originalPath()};
    m_word->nextResult = {false, QStringLiteral(u"Не сохранилось.")};
    m_boxes->onDialog([&](QDialog& dialog) {
        if (auto* button = dialog.findChild<QPushButton*>(QStringLiteral("saveAndCheckButton")))
            button->click();
        return int(QDialog::Rejected);
    });
    const PhraseMatchList before = window->matches();
    click(*window, QStringLiteral("checkButton"));
    QCOMPARE(m_boxes->shown.last().text, QStringLiteral(u"Не сохранилось."));
    QCOMPARE(window->matches(), before);
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
    QVERIFY(m_word->calls.isEmpty());
    QVERIFY(m_boxes->shown.isEmpty());
    // Both documents given: the next step is the Check.
    QCOMPARE(window->focusWidget(), child<QPushButton>(*window, QStringLiteral("checkButton")));
}

void TestCParafrixDlg::oneCommandLineDocumentIsTheCopy()
{
    const QString edited = writeFile(QStringLiteral("e.txt"), QStringLiteral(u"Кот ест рыбу дома."));
    auto window = makeWindow();
    window->SetDocuments(QString(), edited);
    QVERIFY(window->originalPath().isEmpty());
    QCOMPARE(window->editedPath(), editedPath());
    QVERIFY(!child<QPushButton>(*window, QStringLiteral("checkButton"))->isEnabled());
    // The next step is choosing the original.
    QCOMPARE(window->focusWidget(), child<QPushButton>(*window, QStringLiteral("browseOriginalButton")));
}

void TestCParafrixDlg::sameFileIsRefused_data()
{
    QTest::addColumn<bool>("browsing");
    QTest::newRow("browse button") << true;
    QTest::newRow("command line") << false;
}

void TestCParafrixDlg::sameFileIsRefused()
{
    QFETCH(bool, browsing);
    const QString text = QStringLiteral(u"Кот ест рыбу дома.");
    const QString original = writeFile(QStringLiteral("o.txt"), text);
    auto window = makeWindow();
    if (browsing) {
        choose(*window, original, original);
        QVERIFY(window->editedPath().isEmpty());
    } else {
        window->SetDocuments(original, m_dir->path() + QStringLiteral("/./o.txt"));
        click(*window, QStringLiteral("checkButton"));
    }
    QCOMPARE(m_boxes->count(QStringLiteral("messageBox")), 1);
    QVERIFY(m_boxes->shown.last().text.contains(QStringLiteral(u"один и тот же файл")));
    QVERIFY(window->matches().isEmpty());
    QVERIFY(m_word->calls.isEmpty());
}

void TestCParafrixDlg::newSettingsRelistTheRows()
{
    const QString text = QStringLiteral(u"Кот ест свежую рыбу дома вечером. Пёс спит тихо днём.");
    auto window = checkedWindow(text, text);
    QCOMPARE(listLabels(*window).size(), 2);
    m_boxes->onDialog([](QDialog&) {
        AppSettings::Instance().MinWords = 5;
        return int(QDialog::Accepted);
    });
    click(*window, QStringLiteral("optionsButton"));
    // The four-word sentence is no longer a phrase: gone at once, without a new Check.
    QCOMPARE(listLabels(*window), QStringList{QStringLiteral(u"Совпадение #1")});
}

void TestCParafrixDlg::savingChecksAgainByItself()
{
    const QString a = QStringLiteral(u"Кот ест свежую рыбу дома вечером. ");
    const QString b = QStringLiteral(u"Пёс грызёт старую кость во дворе. ");
    const QString c = QStringLiteral(u"Птица поёт звонкую песню рано утром. ");
    auto window = checkedWindow(a + b + c, a + b + QStringLiteral(u"Совсем новые слова стоят здесь теперь. "));
    // Modal, as the program runs it: only the boxes it opens put the re-check off.
    window->hide();
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    QCOMPARE(QApplication::activeModalWidget(), window.get());
    QCOMPARE(window->session().matchCount(), 2);
    auto* list = child<QListWidget>(*window, QStringLiteral("matchList"));
    list->setCurrentRow(1);
    const QString selected = child<QPlainTextEdit>(*window, QStringLiteral("editedPhraseEdit"))->toPlainText();
    auto* note = child<QLabel>(*window, QStringLiteral("checkNoteLabel"));
    const int boxes = int(m_boxes->shown.size());

    // The student reworks the first sentence and pastes the third in, then saves.
    writeFile(QStringLiteral("e.txt"), QStringLiteral(u"Совершенно другие слова стоят вместо прежних. ") + b + c);
    QTRY_VERIFY(note->isVisible());
    QVERIFY2(QRegularExpression(QStringLiteral(u"^Проверено снова в \\d\\d:\\d\\d: исправлено 1, осталось 1, новых 1$"))
                 .match(note->text())
                 .hasMatch(),
             qPrintable(note->text()));
    QCOMPARE(child<QPlainTextEdit>(*window, QStringLiteral("editedPhraseEdit"))->toPlainText(), selected);
    // Nothing asked of the word processor, no box opened.
    QCOMPARE(int(m_boxes->shown.size()), boxes);
    QCOMPARE(m_word->count(QStringLiteral("unsaved")), 1);

    // Turned off: a save changes nothing on screen.
    m_boxes->onDialog([](QDialog&) {
        AppSettings::Instance().RecheckOnSave = false;
        return int(QDialog::Rejected);
    });
    click(*window, QStringLiteral("optionsButton"));
    const QStringList rows = listLabels(*window);
    writeFile(QStringLiteral("e.txt"), QStringLiteral(u"Совсем иной текст."));
    QTest::qWait(1500);
    QCOMPARE(listLabels(*window), rows);
}

void TestCParafrixDlg::everyFocusableControlShowsFocus()
{
    const QString text = QStringLiteral(u"Кот ест рыбу дома.");
    auto window = checkedWindow(text, text);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QStringList focusable;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(window.get()) &&
            !widget->objectName().isEmpty() && !widget->objectName().startsWith(QLatin1String("qt_")))
            focusable << widget->objectName();
    }
    QCOMPARE(focusable.size(), 11);
    auto* elsewhere = child<QPushButton>(*window, QStringLiteral("thanksButton"));
    for (const QString& name : std::as_const(focusable)) {
        QWidget* widget = window->findChild<QWidget*>(name);
        QWidget* other = widget == elsewhere ? child<QPushButton>(*window, QStringLiteral("exitButton")) : elsewhere;
        other->setFocus(Qt::OtherFocusReason);
        QVERIFY(!widget->hasFocus());
        const QImage without = widget->grab().toImage();
        widget->setFocus(Qt::OtherFocusReason);
        QVERIFY2(widget->hasFocus(), qPrintable(name));
        const QImage with = widget->grab().toImage();
        QVERIFY2(with != without, qPrintable(name + QStringLiteral(" looks the same with the focus")));
    }
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
    if (QSysInfo::productType() == QStringLiteral("windows"))
        QSKIP("Windows has the About item in the window's system menu");
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
    // Nothing shown yet: nothing to open.
    QVERIFY(!child<QPushButton>(*window, QStringLiteral("openInWordButton"))->isEnabled());
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
    const QString text = QStringLiteral(u"Кот ест рыбу дома.");
    auto window = checkedWindow(text, text);
    const int boxesBefore = m_boxes->count(QStringLiteral("messageBox"));
    m_word->nextResult = {false, QStringLiteral(u"Текстовый процессор не найден.")};
    click(*window, QStringLiteral("openInWordButton"));
    QCOMPARE(m_boxes->count(QStringLiteral("messageBox")), boxesBefore + 1);
    QCOMPARE(m_boxes->shown.last().text, QStringLiteral(u"Текстовый процессор не найден."));
    QCOMPARE(m_boxes->shown.last().icon, int(QMessageBox::Warning));
    QVERIFY(!QGuiApplication::overrideCursor());
}

// The report is offered once a Check has succeeded, goes where the file dialog says, and
// a file that cannot be written is a plain message.
void TestCParafrixDlg::reportIsSavedAfterACheck()
{
    auto window = makeWindow();
    QVERIFY(!child<QPushButton>(*window, QStringLiteral("saveReportButton"))->isEnabled());
    window.reset();
    window = checkedWindow(QStringLiteral(u"Кот ест рыбу дома. Собака спит."),
                           QStringLiteral(u"Кот ест рыбу дома. Лиса бежит."));
    QVERIFY(child<QPushButton>(*window, QStringLiteral("saveReportButton"))->isEnabled());

    const QString path = m_dir->filePath(QStringLiteral("report.html"));
    m_boxes->queueFile(path);
    click(*window, QStringLiteral("saveReportButton"));
    QCOMPARE(m_boxes->shown.last().name, QStringLiteral("saveReportDialog"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    QVERIFY(html.contains(QStringLiteral(u"<h3>Совпадение #1</h3>")));
    QVERIFY(html.contains(QDir::toNativeSeparators(editedPath()).toHtmlEscaped()));

    // A folder where the file should go cannot be written over.
    const QString folder = m_dir->filePath(QStringLiteral("folder.html"));
    QVERIFY(QDir().mkpath(folder));
    const int boxesBefore = m_boxes->count(QStringLiteral("messageBox"));
    m_boxes->queueFile(folder);
    click(*window, QStringLiteral("saveReportButton"));
    QCOMPARE(m_boxes->count(QStringLiteral("messageBox")), boxesBefore + 1);
    QVERIFY2(m_boxes->shown.last().text.startsWith(QStringLiteral(u"Не удалось сохранить отчёт")),
             qPrintable(m_boxes->shown.last().text));
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(TestCParafrixDlg)
#include "tst_cparafrixdlg.moc"
