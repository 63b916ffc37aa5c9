#include "window/CParafrixDlg.h"

#include "check/CheckErrorText.h"
#include "check/HtmlReport.h"
#include "check/MatchReport.h"
#include "check/TrickWarnings.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CDlgFuck.h"
#include "dialogs/CDlgOptions.h"
#include "dialogs/CDlgThanks.h"
#include "dialogs/DialogButtons.h"
#include "dialogs/DialogRunner.h"
#include "dialogs/DialogUnits.h"
#include "morph/MorphologyLibrary.h"
#include "morph/Thesaurus.h"
#include "res/Artwork.h"
#include "settings/AppSettings.h"
#include "window/CopyMap.h"
#include "window/DocumentFileDialog.h"
#include "window/PathLabel.h"
#include "window/PhraseHighlighter.h"
#include "window/SystemMenu.h"
#include "word/SameFile.h"
#include "word/WordProcessorFactory.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
#include <QSignalBlocker>
#include <QTime>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <optional>

namespace {

constexpr int kAboutCommand = 16;
// Quiet time after the last change of a document before it is checked again.
constexpr int kRecheckDelayMs = 700;

QString SavedOnlyNote()
{
    return QStringLiteral(u"Проверено то, что сохранено на диске: несохранённые изменения из текстового процессора "
                          u"не попали в проверку.");
}

// How the rows of a re-check compare with those before it, by their edited sides:
// fixed are gone, still are listed again, fresh were not listed before.
QString RecheckNote(const QStringList& before, const QStringList& after)
{
    QHash<QString, int> left;
    for (const QString& row : before)
        ++left[row];
    qsizetype still = 0;
    for (const QString& row : after) {
        auto found = left.find(row);
        if (found != left.end() && found.value() > 0) {
            --found.value();
            ++still;
        }
    }
    return QStringLiteral(u"Проверено снова в %1: исправлено %2, осталось %3, новых %4")
        .arg(QTime::currentTime().toString(QStringLiteral("HH:mm")))
        .arg(before.size() - still)
        .arg(still)
        .arg(after.size() - still);
}

// The wait cursor for as long as the program is busy on the user's behalf.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

QLabel* makeLabel(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A frame that turns into a thick highlight with the focus: the style draws no focus
// mark of its own on lists and read-only text boxes. The padding keeps the contents
// where they are when the frame grows.
void showFocusByFrame(QWidget* widget, const char* type)
{
    const QString name = QLatin1String(type);
    widget->setStyleSheet(name + QStringLiteral(" { border: 1px solid palette(dark); padding: 1px; } ") + name +
                          QStringLiteral(":focus { border: 2px solid palette(highlight); padding: 0px; }"));
}

QPlainTextEdit* makePhraseBox(const QString& name, const DialogUnits& du, QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    showFocusByFrame(box, "QPlainTextEdit");
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::StrongFocus);
    box->setTabChangesFocus(true);
    box->setMinimumSize(du.size(120, 40));
    return box;
}

// What the originality label explains under the pointer.
QString OriginalityTip()
{
    return QStringLiteral(u"Оригинальность — доля слов копии в предложениях, которые не совпадают "
                          u"с предложениями оригинала и не похожи на них.");
}

// " — a.txt": the source a row of the match list came from.
QString sourceSuffix(const SourceAttribution& sources, qint32 source)
{
    return QStringLiteral(u" — ") + QFileInfo(sources.paths.value(source)).fileName();
}

// The documents of a folder a source list takes: the files the readers' patterns
// name, not those of its subfolders, sorted by name.
QStringList documentsIn(const QString& folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(DocumentFileDialog::ReadablePatterns(), QDir::Files, QDir::Name))
        paths << dir.absoluteFilePath(name);
    return paths;
}

// A file as SameDocumentFile tells files apart, in one lookup: the file behind links
// and other spellings, else the full path.
QString documentKey(const QString& path)
{
    const QFileInfo info(path);
    QString key = info.canonicalFilePath();
    if (key.isEmpty())
        key = info.absoluteFilePath();
#ifdef Q_OS_WIN
    key = key.toCaseFolded();
#endif
    return key;
}

// The files of a source list so far, to refuse the copy and a file given twice.
class SourceKeys
{
public:
    explicit SourceKeys(const QString& edited) : m_edited(edited), m_editedKey(documentKey(edited)) {}

    // Why path cannot be one more source; empty when it can, and then it is one.
    QString add(const QString& path)
    {
        const QString key = documentKey(path);
        if (!m_edited.isEmpty() && key == m_editedKey)
            return QStringLiteral(u"Изменяемая копия «%1» есть и среди оригиналов. Уберите её из списка источников.")
                .arg(QFileInfo(m_edited).fileName());
        if (m_keys.contains(key))
            return QStringLiteral(u"Источник «%1» указан дважды.").arg(QFileInfo(path).fileName());
        m_keys.insert(key);
        return {};
    }

private:
    QString m_edited;
    QString m_editedKey;
    QSet<QString> m_keys;
};

QString shownSources(const QStringList& paths)
{
    QStringList shown;
    for (const QString& path : paths)
        shown << QDir::toNativeSeparators(path);
    return shown.join(QStringLiteral(", "));
}

} // namespace

CParafrixDlg::CParafrixDlg(std::unique_ptr<WordProcessor> wordProcessor, Stemmer* stemmer, QWidget* parent)
    : QDialog(parent), m_session(wordProcessor ? std::move(wordProcessor) : CreateWordProcessor(),
                                 stemmer ? *stemmer : MorphologyLibrary::Instance()),
      m_icon(Artwork::ProgramIcon())
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Parafrix"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(m_icon);
    CreateControls();
    InstallAboutCommand();
    // The settings are loaded as the window opens.
    AppSettings::Instance();
}

CParafrixDlg::~CParafrixDlg() = default;

void CParafrixDlg::CreateControls()
{
    const DialogUnits du(*this);
    m_exitButton = MakeDialogButton(this, QStringLiteral(u"Выход"), QStringLiteral("exitButton"), du.size(50, 14));

    auto* documents = new QGroupBox(QStringLiteral(u"Выбери оригинальный файл реферата и изменяемый файл"), this);
    documents->setObjectName(QStringLiteral("documentsGroup"));
    auto* originalTitle =
        makeLabel(QStringLiteral(u"Оригинальный реферат:"), QStringLiteral("originalTitleLabel"), this);
    auto* editedTitle = makeLabel(QStringLiteral(u"Копия оригинального реферата, в который будут вноситься изменения, "
                                                 u"чтобы обмануть систему \"Сверкатор\":"),
                                  QStringLiteral("editedTitleLabel"), this);
    editedTitle->setWordWrap(true);
    editedTitle->setFixedWidth(du.x(146));
    originalTitle->setFixedWidth(du.x(146));
    m_browseOriginal =
        MakeDialogButton(this, QStringLiteral("..."), QStringLiteral("browseOriginalButton"), du.size(18, 15));
    m_browseEdited =
        MakeDialogButton(this, QStringLiteral("..."), QStringLiteral("browseEditedButton"), du.size(18, 15));
    m_browseOriginal->setFixedWidth(du.x(18));
    m_browseEdited->setFixedWidth(du.x(18));
    // An essay made of several sources is checked against all of them at once.
    m_sourceList = new QListWidget(this);
    m_sourceList->setObjectName(QStringLiteral("sourceList"));
    m_sourceList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_sourceList->setFixedHeight(du.y(30));
    showFocusByFrame(m_sourceList, "QListWidget");
    m_sourceList->hide();
    m_addSourceFiles = MakeDialogButton(this, QStringLiteral(u"Добавить источники…"),
                                        QStringLiteral("addSourceFilesButton"), du.size(80, 13));
    m_addSourceFolder = MakeDialogButton(this, QStringLiteral(u"Добавить папку…"),
                                         QStringLiteral("addSourceFolderButton"), du.size(70, 13));
    m_removeSource =
        MakeDialogButton(this, QStringLiteral(u"Убрать"), QStringLiteral("removeSourceButton"), du.size(40, 13));
    m_removeSource->setEnabled(false);
    setAcceptDrops(true);

    auto* matchesGroup = new QGroupBox(QStringLiteral(u"Похожие фразы"), this);
    matchesGroup->setObjectName(QStringLiteral("matchesGroup"));
    m_matchList = new QListWidget(this);
    m_matchList->setObjectName(QStringLiteral("matchList"));
    m_matchList->setSortingEnabled(false);
    m_matchList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_matchList->setFixedWidth(du.x(122));
    showFocusByFrame(m_matchList, "QListWidget");
    auto* originalPhraseTitle =
        makeLabel(QStringLiteral(u"Оригинальная фраза из реферата:"), QStringLiteral("originalPhraseLabel"), this);
    auto* editedPhraseTitle =
        makeLabel(QStringLiteral(u"Фраза в переделанном варианте:"), QStringLiteral("editedPhraseLabel"), this);

    m_originalPathLabel = new PathLabel(this);
    m_originalPathLabel->setObjectName(QStringLiteral("originalPathLabel"));
    m_checkButton =
        MakeDialogButton(this, QStringLiteral(u"Проверить!"), QStringLiteral("checkButton"), du.size(104, 16));
    m_checkButton->setEnabled(false);
    m_originalPhrase = makePhraseBox(QStringLiteral("originalPhraseEdit"), du, this);
    m_editedPathLabel = new PathLabel(this);
    m_editedPathLabel->setObjectName(QStringLiteral("editedPathLabel"));
    auto* options =
        MakeDialogButton(this, QStringLiteral(u"Настройки..."), QStringLiteral("optionsButton"), du.size(101, 14));
    m_verdict = makeLabel(QString(), QStringLiteral("verdictLabel"), this);
    m_verdict->setWordWrap(true);
    m_verdict->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_verdict->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A long verdict scrolls rather than being cut off.
    m_verdictArea = new QScrollArea(this);
    m_verdictArea->setObjectName(QStringLiteral("verdictArea"));
    m_verdictArea->setWidget(m_verdict);
    m_verdictArea->setWidgetResizable(true);
    m_verdictArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_verdictArea->setFrameStyle(QFrame::NoFrame);
    m_verdictArea->setFocusPolicy(Qt::NoFocus);
    m_verdictArea->setFixedHeight(du.y(37));
    m_originality = makeLabel(QString(), QStringLiteral("originalityLabel"), this);
    m_originality->setToolTip(OriginalityTip());
    m_openInWord = MakeDialogButton(this, QStringLiteral(u"Открыть изменяемый документ"),
                                    QStringLiteral("openInWordButton"), du.size(120, 13));
    // Nothing to open until a match is shown.
    m_openInWord->setEnabled(false);
    m_editedPhrase = makePhraseBox(QStringLiteral("editedPhraseEdit"), du, this);
    m_reminder = makeLabel(QStringLiteral(u"После внесения измненений не забывай сохранить файл, после этого "
                                          u"проверяй снова."),
                           QStringLiteral("reminderLabel"), this);
    // In the reminder's place after a Check that left unsaved changes unread.
    m_checkNote = makeLabel(QString(), QStringLiteral("checkNoteLabel"), this);
    m_checkNote->setWordWrap(true);
    m_checkNote->hide();
    // Above the matches: what the copy disguises, which the services would flag.
    m_suspicious = makeLabel(QString(), QStringLiteral("suspiciousLabel"), this);
    m_suspicious->setWordWrap(true);
    m_suspicious->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_suspicious->setStyleSheet(QStringLiteral("QLabel { background: #fde8e8; color: #8b1a1a; padding: 3px; }"));
    m_suspicious->hide();
    auto* thanks =
        MakeDialogButton(this, QStringLiteral(u"Спасибо!"), QStringLiteral("thanksButton"), du.size(101, 14));
    // Nothing to report until a Check has succeeded.
    m_saveReport = MakeDialogButton(this, QStringLiteral(u"Сохранить отчёт…"), QStringLiteral("saveReportButton"),
                                    du.size(101, 14));
    m_saveReport->setEnabled(false);

    // The document rows: title, path, browse button.
    auto* documentsLayout = new QGridLayout(documents);
    documentsLayout->setContentsMargins(du.x(9), du.y(8), du.x(5), du.y(4));
    documentsLayout->setHorizontalSpacing(du.x(3));
    documentsLayout->addWidget(originalTitle, 0, 0);
    documentsLayout->addWidget(m_originalPathLabel, 0, 1);
    documentsLayout->addWidget(m_browseOriginal, 0, 2);
    auto* sourceButtons = new QHBoxLayout;
    sourceButtons->addWidget(m_addSourceFiles);
    sourceButtons->addWidget(m_addSourceFolder);
    sourceButtons->addWidget(m_removeSource);
    sourceButtons->addStretch(1);
    documentsLayout->addWidget(m_sourceList, 1, 1);
    documentsLayout->addLayout(sourceButtons, 2, 1);
    documentsLayout->addWidget(editedTitle, 3, 0);
    documentsLayout->addWidget(m_editedPathLabel, 3, 1);
    documentsLayout->addWidget(m_browseEdited, 3, 2);
    documentsLayout->setColumnStretch(1, 1);

    auto* checkRow = new QHBoxLayout;
    checkRow->addWidget(m_reminder, 1);
    checkRow->addWidget(m_checkNote, 1);
    checkRow->addWidget(m_checkButton);
    checkRow->addSpacing(du.x(17));

    // The match list on the left, the two phrases on the right.
    auto* editedTitleRow = new QHBoxLayout;
    editedTitleRow->addWidget(editedPhraseTitle, 1);
    editedTitleRow->addWidget(m_openInWord);
    auto* matchesLayout = new QGridLayout(matchesGroup);
    matchesLayout->setContentsMargins(du.x(8), du.y(4), du.x(8), du.y(6));
    matchesLayout->setHorizontalSpacing(du.x(10));
    matchesLayout->addWidget(originalPhraseTitle, 0, 1);
    // The map of the copy stands beside the list of its rows.
    m_copyMap = new CopyMap(this);
    auto* listAndMap = new QHBoxLayout;
    listAndMap->setSpacing(du.x(2));
    listAndMap->addWidget(m_matchList);
    listAndMap->addWidget(m_copyMap);
    matchesLayout->addLayout(listAndMap, 1, 0, 3, 1);
    matchesLayout->addWidget(m_originalPhrase, 1, 1);
    matchesLayout->addLayout(editedTitleRow, 2, 1);
    matchesLayout->addWidget(m_editedPhrase, 3, 1);
    // Across both columns: the breakdown beside the figure is wider than the list.
    matchesLayout->addWidget(m_originality, 4, 0, 1, 2);
    matchesLayout->setColumnStretch(1, 1);

    auto* bottomRow = new QHBoxLayout;
    bottomRow->addWidget(options);
    bottomRow->addWidget(thanks);
    bottomRow->addWidget(m_saveReport);
    bottomRow->addStretch();
    bottomRow->addWidget(m_exitButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(du.x(7), du.y(7), du.x(7), du.y(7));
    layout->setSpacing(du.y(3));
    layout->addWidget(documents);
    layout->addLayout(checkRow);
    layout->addWidget(m_suspicious);
    layout->addWidget(matchesGroup, 1);
    layout->addWidget(m_verdictArea);
    layout->addLayout(bottomRow);

    // The template's order is the tab order; the report button, new since, comes last.
    const QList<QWidget*> tabOrder = {m_exitButton,      m_browseOriginal, m_sourceList,   m_addSourceFiles,
                                      m_addSourceFolder, m_removeSource,   m_browseEdited, m_matchList,
                                      m_checkButton,     m_originalPhrase, options,        m_openInWord,
                                      m_editedPhrase,    thanks,           m_saveReport};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder.at(i - 1), tabOrder.at(i));

    connect(m_exitButton, &QPushButton::clicked, this, &CParafrixDlg::reject);
    connect(m_browseOriginal, &QPushButton::clicked, this, &CParafrixDlg::OnBrowseOriginal);
    connect(m_browseEdited, &QPushButton::clicked, this, &CParafrixDlg::OnBrowseEdited);
    connect(m_addSourceFiles, &QPushButton::clicked, this, &CParafrixDlg::OnAddSourceFiles);
    connect(m_addSourceFolder, &QPushButton::clicked, this, &CParafrixDlg::OnAddSourceFolder);
    connect(m_removeSource, &QPushButton::clicked, this, &CParafrixDlg::OnRemoveSource);
    connect(m_sourceList, &QListWidget::itemSelectionChanged, this,
            [this] { m_removeSource->setEnabled(!m_sourceList->selectedItems().isEmpty()); });
    connect(m_checkButton, &QPushButton::clicked, this, &CParafrixDlg::OnCheck);
    connect(m_matchList, &QListWidget::currentRowChanged, this, &CParafrixDlg::OnSelchangeMatchList);
    connect(m_copyMap, &CopyMap::rowClicked, this, [this](qsizetype row) { m_matchList->setCurrentRow(int(row)); });
    connect(options, &QPushButton::clicked, this, &CParafrixDlg::OnOptions);
    connect(m_openInWord, &QPushButton::clicked, this, &CParafrixDlg::OnShowPhraseInWord);
    connect(thanks, &QPushButton::clicked, this, &CParafrixDlg::OnThanks);
    connect(m_saveReport, &QPushButton::clicked, this, &CParafrixDlg::OnSaveReport);

    m_watcher = new QFileSystemWatcher(this);
    m_recheckTimer = new QTimer(this);
    m_recheckTimer->setSingleShot(true);
    m_recheckTimer->setInterval(kRecheckDelayMs);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &CParafrixDlg::OnDocumentChanged);
    connect(m_recheckTimer, &QTimer::timeout, this, &CParafrixDlg::RecheckWhenIdle);

    resize(du.size(460, 354).expandedTo(minimumSizeHint()));
    // The first thing to do is to choose the original.
    m_browseOriginal->setFocus();
}

void CParafrixDlg::InstallAboutCommand()
{
    const QString text = QStringLiteral("&About Parafrix...");
    if (SystemMenu::AppendItem(*this, text, kAboutCommand))
        return;
    // No system menu to extend: the same item in the context menu and on F1.
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    auto* about = new QAction(text, this);
    about->setObjectName(QStringLiteral("aboutAction"));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    about->setShortcutContext(Qt::WindowShortcut);
    connect(about, &QAction::triggered, this, &CParafrixDlg::OnAbout);
    addAction(separator);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CParafrixDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The focus is marked from the start, not only after the first Tab: a keyboard user
    // must see where it is. Set once shown, since showing the window resets it.
    setAttribute(Qt::WA_KeyboardFocusChange);
}

bool CParafrixDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    if (SystemMenu::IsCommand(eventType, message, kAboutCommand)) {
        OnAbout();
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}

void CParafrixDlg::SetDocuments(const QString& originalPath, const QString& editedPath)
{
    if (!originalPath.isEmpty())
        SetPath(true, QFileInfo(originalPath).absoluteFilePath());
    if (!editedPath.isEmpty())
        SetPath(false, QFileInfo(editedPath).absoluteFilePath());
    UpdateCheckButton();
    // The next thing to do: the Check, or choosing the document still missing.
    if (m_checkButton->isEnabled())
        m_checkButton->setFocus();
    else
        (m_session.originalPath().isEmpty() ? m_browseOriginal : m_browseEdited)->setFocus();
}

void CParafrixDlg::RestoreDocuments()
{
    const AppSettings& settings = AppSettings::Instance();
    QStringList sources;
    QStringList missing;
    for (const QString& path : settings.Sources)
        (QFileInfo(path).isFile() ? sources : missing) << path;
    QString edited = settings.EditedDocument;
    if (!edited.isEmpty() && !QFileInfo(edited).isFile()) {
        missing << edited;
        edited.clear();
    }
    // A record edited by hand may repeat a file or list the copy: those are left out too.
    QStringList kept;
    SourceKeys keys(edited);
    for (const QString& path : std::as_const(sources)) {
        if (keys.add(path).isEmpty())
            kept << path;
    }
    SetSources(kept);
    if (!edited.isEmpty())
        SetPath(false, edited);
    UpdateCheckButton();
    if (m_checkButton->isEnabled())
        m_checkButton->setFocus();
    if (!missing.isEmpty()) {
        QStringList names;
        for (const QString& path : std::as_const(missing))
            names << QDir::toNativeSeparators(path);
        ShowNoticeOnStart(QStringLiteral(u"Документы прошлого сеанса больше не найдены и убраны из списка:\n") +
                          names.join(QChar(u'\n')));
    }
}

void CParafrixDlg::ShowNoticeOnStart(const QString& text)
{
    QTimer::singleShot(0, this, [this, text] { ShowMessage(QMessageBox::Warning, QStringLiteral("Parafrix"), text); });
}

void CParafrixDlg::OnCheck()
{
    if (!m_session.canCheck())
        return;
    // As given on the command line: a file compared with itself matches everywhere, and
    // a source given twice counts twice.
    if (m_session.sourcePaths().size() == 1 && SameDocumentFile(m_session.originalPath(), m_session.editedPath())) {
        ShowSameFileMessage();
        return;
    }
    if (const QString problem = SourcesProblem(m_session.sourcePaths(), m_session.editedPath()); !problem.isEmpty()) {
        ShowMessage(QMessageBox::Information, QStringLiteral("Parafrix"), problem);
        return;
    }
    QStringList unsaved;
    {
        const BusyCursor busy;
        unsaved = m_session.UnsavedDocuments();
    }
    bool savedOnly = false;
    if (!unsaved.isEmpty() && !SettleUnsaved(unsaved, savedOnly))
        return;
    ClearResultWidgets();
    SetCheckNote(savedOnly ? SavedOnlyNote() : QString());
    RunCheck();
}

bool CParafrixDlg::SettleUnsaved(const QStringList& unsaved, bool& savedOnly)
{
    QStringList names;
    for (const QString& path : unsaved)
        names << QStringLiteral(u"«%1»").arg(QFileInfo(path).fileName());
    const QString text =
        (unsaved.size() == 1 ? QStringLiteral(u"В текстовом процессоре есть несохранённые изменения документа %1.")
                             : QStringLiteral(u"В текстовом процессоре есть несохранённые изменения документов %1."))
            .arg(names.join(QStringLiteral(u", "))) +
        QStringLiteral(u"\n\nПроверка читает файлы с диска, и несохранённое в неё не попадёт.");
    QMessageBox box(QMessageBox::Question, QStringLiteral("Parafrix"), text, QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("unsavedQuestion"));
    box.setTextFormat(Qt::PlainText);
    QPushButton* save = box.addButton(QStringLiteral(u"Сохранить и проверить"), QMessageBox::AcceptRole);
    save->setObjectName(QStringLiteral("saveAndCheckButton"));
    QPushButton* saved = box.addButton(QStringLiteral(u"Проверить сохранённое"), QMessageBox::ApplyRole);
    saved->setObjectName(QStringLiteral("checkSavedButton"));
    QPushButton* cancel = box.addButton(QStringLiteral(u"Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    DialogRunner::Exec(box);
    if (box.clickedButton() == saved) {
        savedOnly = true;
        return true;
    }
    if (box.clickedButton() != save)
        return false;
    WordProcessor::Result result;
    {
        const BusyCursor busy;
        result = m_session.SaveDocuments(unsaved);
    }
    if (!result.ok) {
        ShowMessage(QMessageBox::Warning, QStringLiteral("Parafrix"), result.message);
        return false;
    }
    savedOnly = false;
    return true;
}

bool CParafrixDlg::RunCheck(bool quiet)
{
    std::optional<BusyCursor> busy(std::in_place);
    CheckOptions options = AppSettings::Instance().checkOptions();
    options.Synonyms = &InstalledThesaurus::Instance().thesaurus();
    const CheckOutcome& outcome = m_session.RunCheck(options);
    if (!outcome.ok()) {
        busy.reset();
        // A re-check keeps watching: the next save may well be readable.
        if (!quiet) {
            WatchDocuments();
            ShowMessage(QMessageBox::Warning, CheckErrorCaption(),
                        CheckSourcesErrorText(outcome, m_session.sourcePaths(), m_session.editedPath()));
        }
        return false;
    }
    WatchDocuments();
    m_checkedAt = QDateTime::currentDateTime();
    m_saveReport->setEnabled(true);
    ShowSuspicious();
    ListMatches();
    ShowOriginality();
    m_copyMap->setCells(m_session.CopyMap());
    if (outcome.matchCount() > 0) {
        {
            // Selecting by program is not a user's selection: the session chose it.
            const QSignalBlocker blocker(m_matchList);
            m_matchList->setCurrentRow(int(m_session.selectedIndex()));
        }
        ShowSelectedMatch();
        return true;
    }
    busy.reset();
    if (!quiet) {
        СDlgFuck allClear(this);
        DialogRunner::Exec(allClear);
    }
    return true;
}

void CParafrixDlg::SetCheckNote(const QString& text)
{
    m_checkNote->setText(text);
    m_checkNote->setVisible(!text.isEmpty());
    m_reminder->setVisible(text.isEmpty());
}

void CParafrixDlg::WatchDocuments()
{
    if (!m_watcher->files().isEmpty())
        m_watcher->removePaths(m_watcher->files());
    if (!AppSettings::Instance().RecheckOnSave || !m_session.hasStemDictionary())
        return;
    for (const QString& path : m_session.sourcePaths() + QStringList{m_session.editedPath()}) {
        if (QFileInfo::exists(path))
            m_watcher->addPath(path);
    }
}

void CParafrixDlg::OnDocumentChanged(const QString& path)
{
    // A save that replaces the file ends the watch on the old one.
    if (!m_watcher->files().contains(path) && QFileInfo::exists(path))
        m_watcher->addPath(path);
    m_recheckTimer->start();
}

void CParafrixDlg::RecheckWhenIdle()
{
    if (!AppSettings::Instance().RecheckOnSave || !m_session.canCheck())
        return;
    // A box of the program (the question about unsaved changes among them) is open:
    // later, once it is answered. The window itself runs modally.
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != this) {
        m_recheckTimer->start();
        return;
    }
    const QStringList before = m_session.EditedRows();
    ClearResultWidgets();
    if (RunCheck(true))
        SetCheckNote(RecheckNote(before, m_session.EditedRows()));
    else
        SetCheckNote(CheckSourcesErrorText(m_session.outcome(), m_session.sourcePaths(), m_session.editedPath()));
}

void CParafrixDlg::ClearResultWidgets()
{
    {
        const QSignalBlocker blocker(m_matchList);
        m_matchList->clear();
    }
    m_originalPhrase->clear();
    m_editedPhrase->clear();
    m_verdict->clear();
    m_originality->clear();
    m_copyMap->setCells({});
    m_openInWord->setEnabled(false);
    m_saveReport->setEnabled(false);
    m_suspicious->clear();
    m_suspicious->hide();
}

void CParafrixDlg::ShowSuspicious()
{
    const QString warnings = TrickWarnings::Block(m_session.outcome()).trimmed();
    m_suspicious->setText(warnings);
    m_suspicious->setVisible(!warnings.isEmpty());
}

void CParafrixDlg::ListMatches()
{
    // In the outcome's order; each kind numbered from 1.
    const QSignalBlocker blocker(m_matchList);
    const CheckOutcome& outcome = m_session.outcome();
    const SourceAttribution& sources = outcome.sources;
    for (const MatchRow& row : outcome.rows) {
        const bool exact = row.kind == MatchRow::Kind::Exact;
        const QString label = exact ? QStringLiteral(u"Совпадение #%1").arg(row.index + 1)
                                    : QStringLiteral(u"Похожая фраза #%1 (%2%)")
                                          .arg(row.index + 1)
                                          .arg(outcome.near.matches.at(row.index).percent());
        m_matchList->addItem(label + (sources.several()
                                          ? sourceSuffix(sources, (exact ? sources.exact : sources.near).at(row.index))
                                          : QString()));
    }
}

void CParafrixDlg::OnSelchangeMatchList()
{
    // No selection leaves the boxes as they are; a row without its match cannot
    // arise, but is ignored the same way rather than read out of range.
    if (m_session.Select(m_matchList->currentRow(), AppSettings::Instance().checkOptions()))
        ShowSelectedMatch();
}

void CParafrixDlg::ShowSelectedMatch()
{
    // Both sides as shown, without the white space around the sentences, with the words
    // they share marked.
    const SelectedPair& pair = m_session.selectedPair();
    PhraseHighlighter::Show(*m_originalPhrase, pair.original, pair.originalShared, pair.originalTricks,
                            pair.originalRelated);
    PhraseHighlighter::Show(*m_editedPhrase, pair.edited, pair.editedShared, pair.editedTricks, pair.editedRelated);
    QString verdict = m_session.selectedMatch() ? m_session.selectedVerdict().text() : m_session.selectedNearVerdict();
    if (pair.seenThrough()) {
        if (!verdict.isEmpty() && !verdict.endsWith(QChar(u'\n')))
            verdict += QChar(u'\n');
        verdict += TrickWarnings::SeenThrough() + QChar(u'\n');
    }
    m_verdict->setText(verdict);
    m_openInWord->setEnabled(true);
}

void CParafrixDlg::ShowOriginality()
{
    const CheckOutcome& outcome = m_session.outcome();
    QString text = MatchReport::OriginalityText(outcome.originality);
    // What the figure leaves out, so that it never changes without a word why.
    // The near part is what the other two leave, so that the three shown add up to 100.
    const qint32 exact = NearPercent(outcome.exactShare);
    if (AppSettings::Instance().NearMatches)
        text += QStringLiteral(u" (совпадения %1%, похожие фразы %2% слов)")
                    .arg(exact)
                    .arg(std::max(100 - NearPercent(outcome.originality) - exact, 0));
    else
        text += QStringLiteral(u" (совпадения %1% слов; похожие фразы выключены в настройках и не учтены)").arg(exact);
    // Past the bound the list is cut; the student must know it is not complete.
    if (m_session.outcome().truncated)
        text += QStringLiteral(u"\nПоказаны не все совпадения: список обрезан.");
    m_originality->setText(text);
    // The share of each source on demand, under the pointer: the label stays one figure.
    QString tip = OriginalityTip();
    const SourceAttribution& sources = outcome.sources;
    for (qsizetype i = 0; sources.several() && i < sources.shares.size(); ++i)
        tip += (i == 0 ? QStringLiteral(u"\n\nДоля копии по источникам:") : QString()) +
               QStringLiteral(u"\n%1: %2%")
                   .arg(QFileInfo(sources.paths.value(i)).fileName())
                   .arg(NearPercent(sources.shares.at(i)));
    m_originality->setToolTip(tip);
}

void CParafrixDlg::OnBrowseOriginal()
{
    ChooseDocument(true);
}

void CParafrixDlg::OnBrowseEdited()
{
    ChooseDocument(false);
}

QString CParafrixDlg::AskForDocument(bool original)
{
    QFileDialog dialog(this);
    DocumentFileDialog::Configure(dialog);
    dialog.setDirectory(StartFolder(original));
    const QString current = original ? m_session.originalPath() : m_session.editedPath();
    if (!current.isEmpty())
        dialog.selectFile(QFileInfo(current).fileName());
    if (DialogRunner::Exec(dialog) != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

void CParafrixDlg::OnSaveReport()
{
    if (!m_session.outcome().ok())
        return;
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("saveReportDialog"));
    dialog.setWindowTitle(QStringLiteral(u"Сохранить отчёт"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QStringLiteral(u"Отчёт HTML (*.html)")});
    dialog.setDefaultSuffix(QStringLiteral("html"));
    // Beside the copy, named after it.
    const QFileInfo edited(m_session.editedPath());
    dialog.setDirectory(StartFolder(false));
    dialog.selectFile(edited.completeBaseName() + QStringLiteral(u" — отчёт.html"));
    if (DialogRunner::Exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    CheckOptions options = AppSettings::Instance().checkOptions();
    options.Synonyms = &InstalledThesaurus::Instance().thesaurus();
    QString error;
    bool saved = false;
    {
        const BusyCursor busy;
        const HtmlReport report(
            m_session.outcome(), options, m_session.stemmer(),
            {shownSources(m_session.sourcePaths()), QDir::toNativeSeparators(m_session.editedPath()), m_checkedAt});
        saved = report.Save(path, error);
    }
    if (!saved)
        ShowMessage(
            QMessageBox::Warning, QStringLiteral("Parafrix"),
            QStringLiteral(u"Не удалось сохранить отчёт в файл «%1»: %2").arg(QDir::toNativeSeparators(path), error));
}

QString CParafrixDlg::StartFolder(bool original) const
{
    // The document's own folder, else the other one's: the two usually lie together.
    const QString current = original ? m_session.originalPath() : m_session.editedPath();
    const QString other = original ? m_session.editedPath() : m_session.originalPath();
    const QString path = current.isEmpty() ? other : current;
    if (path.isEmpty())
        return QDir::homePath();
    // A folder removed since: the nearest one that is left.
    QString folder = QFileInfo(path).absolutePath();
    for (int depth = 0; depth < 256 && !QFileInfo(folder).isDir(); ++depth) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    return QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void CParafrixDlg::ChooseDocument(bool original)
{
    const QString chosen = AskForDocument(original);
    const QString other = original ? m_session.editedPath() : m_session.originalPath();
    if (SameDocumentFile(chosen, other))
        ShowSameFileMessage();
    else if (!chosen.isEmpty())
        SetPath(original, chosen);
    // Confirmed or cancelled alike.
    UpdateCheckButton();
}

void CParafrixDlg::SetPath(bool original, const QString& chosen)
{
    if (original) {
        SetSources(chosen.isEmpty() ? QStringList() : QStringList{chosen});
        return;
    }
    const bool changed = chosen != m_session.editedPath();
    {
        m_session.SetEditedPath(chosen);
        m_editedPathLabel->setPath(chosen);
    }
    // The session has dropped the previous pair's results; the widgets follow.
    if (changed) {
        ClearResultWidgets();
        SetCheckNote({});
        WatchDocuments();
    }
}

void CParafrixDlg::SetSources(const QStringList& paths)
{
    const bool changed = paths != m_session.sourcePaths();
    m_session.SetSourcePaths(paths);
    // One source reads as before: its path. Several: how many, and the list.
    if (paths.size() <= 1)
        m_originalPathLabel->setPath(paths.value(0));
    else
        m_originalPathLabel->setText(QStringLiteral(u"Источников: %1").arg(paths.size()));
    m_sourceList->clear();
    for (const QString& path : paths) {
        auto* item = new QListWidgetItem(QFileInfo(path).fileName(), m_sourceList);
        item->setToolTip(QDir::toNativeSeparators(path));
    }
    m_sourceList->setVisible(paths.size() > 1);
    m_removeSource->setEnabled(false);
    if (changed) {
        ClearResultWidgets();
        SetCheckNote({});
        WatchDocuments();
    }
    UpdateCheckButton();
}

QString CParafrixDlg::SourcesProblem(const QStringList& sources, const QString& edited) const
{
    SourceKeys keys(edited);
    for (const QString& path : sources) {
        if (const QString problem = keys.add(path); !problem.isEmpty())
            return problem;
    }
    return {};
}

void CParafrixDlg::AddSources(const QStringList& paths)
{
    QStringList sources = m_session.sourcePaths();
    SourceKeys keys(m_session.editedPath());
    for (const QString& path : std::as_const(sources))
        keys.add(path);
    QStringList problems;
    for (const QString& chosen : paths) {
        QStringList found;
        if (QFileInfo(chosen).isDir()) {
            found = documentsIn(chosen);
            if (found.isEmpty())
                problems << QStringLiteral(u"В папке «%1» нет документов.").arg(QDir::toNativeSeparators(chosen));
        } else {
            found = {QFileInfo(chosen).absoluteFilePath()};
        }
        for (const QString& path : std::as_const(found)) {
            if (sources.size() >= SourceCheck::MaxSources) {
                problems << QStringLiteral(u"Источников не может быть больше %1.").arg(SourceCheck::MaxSources);
                break;
            }
            if (const QString problem = keys.add(path); !problem.isEmpty())
                problems << problem;
            else
                sources << path;
        }
    }
    problems.removeDuplicates();
    SetSources(sources);
    if (!problems.isEmpty())
        ShowMessage(QMessageBox::Information, QStringLiteral("Parafrix"), problems.join(QChar(u'\n')));
}

void CParafrixDlg::OnAddSourceFiles()
{
    QFileDialog dialog(this);
    DocumentFileDialog::Configure(dialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setDirectory(StartFolder(true));
    if (DialogRunner::Exec(dialog) == QDialog::Accepted)
        AddSources(dialog.selectedFiles());
}

void CParafrixDlg::OnAddSourceFolder()
{
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("sourceFolderDialog"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(StartFolder(true));
    if (DialogRunner::Exec(dialog) == QDialog::Accepted)
        AddSources(dialog.selectedFiles().mid(0, 1));
}

void CParafrixDlg::OnRemoveSource()
{
    QStringList sources = m_session.sourcePaths();
    QList<int> rows;
    for (const QListWidgetItem* item : m_sourceList->selectedItems())
        rows << m_sourceList->row(item);
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (const int row : std::as_const(rows))
        sources.removeAt(row);
    SetSources(sources);
}

void CParafrixDlg::dragEnterEvent(QDragEnterEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void CParafrixDlg::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    AddSources(paths);
}

void CParafrixDlg::ShowSameFileMessage()
{
    ShowMessage(QMessageBox::Information, QStringLiteral("Parafrix"),
                QStringLiteral(u"Оригинал и изменяемая копия — один и тот же файл. Выберите копию реферата, "
                               u"в которую вносятся изменения, отдельным файлом."));
}

void CParafrixDlg::UpdateCheckButton()
{
    m_checkButton->setEnabled(m_session.canCheck());
}

void CParafrixDlg::OnOptions()
{
    CDlgOptions options(this);
    // New settings re-list the rows of the Check on screen at once.
    if (DialogRunner::Exec(options) == QDialog::Accepted && m_session.hasStemDictionary()) {
        ClearResultWidgets();
        RunCheck();
    }
    // Re-checking after saving may have been turned on or off.
    WatchDocuments();
}

void CParafrixDlg::OnThanks()
{
    CDlgThanks thanks(this);
    DialogRunner::Exec(thanks);
}

void CParafrixDlg::OnAbout()
{
    CAboutDlg about(this);
    DialogRunner::Exec(about);
}

void CParafrixDlg::OnShowPhraseInWord()
{
    WordProcessor::Result result;
    {
        const BusyCursor busy;
        result = m_session.ShowSelectedInWord();
    }
    if (!result.message.isEmpty())
        ShowMessage(result.ok ? QMessageBox::Information : QMessageBox::Warning, QStringLiteral("Parafrix"),
                    result.message);
}

void CParafrixDlg::reject()
{
    OnExit();
}

void CParafrixDlg::OnExit()
{
    QDialog::reject();
    AppSettings& settings = AppSettings::Instance();
    settings.Sources = m_session.sourcePaths();
    settings.EditedDocument = m_session.editedPath();
    settings.Save();
    AppSettings::Destroy();
    const BusyCursor busy;
    m_session.Close();
}

void CParafrixDlg::ShowMessage(QMessageBox::Icon icon, const QString& caption, const QString& text)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setTextFormat(Qt::PlainText);
    DialogRunner::Exec(box);
}
