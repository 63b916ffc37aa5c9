#include "window/CParafrixDlg.h"

#include "check/CheckErrorText.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CDlgFuck.h"
#include "dialogs/CDlgOptions.h"
#include "dialogs/CDlgThanks.h"
#include "dialogs/DialogButtons.h"
#include "dialogs/DialogRunner.h"
#include "dialogs/DialogUnits.h"
#include "morph/MorphologyLibrary.h"
#include "res/Artwork.h"
#include "settings/AppSettings.h"
#include "window/DocumentFileDialog.h"
#include "window/PathLabel.h"
#include "window/SystemMenu.h"
#include "word/WordProcessorFactory.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <optional>

namespace {

constexpr int kAboutCommand = 16;

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

QPlainTextEdit* makePhraseBox(const QString& name, const DialogUnits& du, QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::StrongFocus);
    box->setTabChangesFocus(true);
    box->setMinimumSize(du.size(120, 40));
    return box;
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
    auto* browseOriginal =
        MakeDialogButton(this, QStringLiteral("..."), QStringLiteral("browseOriginalButton"), du.size(18, 15));
    auto* browseEdited =
        MakeDialogButton(this, QStringLiteral("..."), QStringLiteral("browseEditedButton"), du.size(18, 15));
    browseOriginal->setFixedWidth(du.x(18));
    browseEdited->setFixedWidth(du.x(18));

    auto* matchesGroup = new QGroupBox(QStringLiteral(u"Похожие фразы"), this);
    matchesGroup->setObjectName(QStringLiteral("matchesGroup"));
    m_matchList = new QListWidget(this);
    m_matchList->setObjectName(QStringLiteral("matchList"));
    m_matchList->setSortingEnabled(false);
    m_matchList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_matchList->setFixedWidth(du.x(122));
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
    m_verdict->setFixedHeight(du.y(37));
    auto* openInWord = MakeDialogButton(this, QStringLiteral(u"Открыть изменяемый документ"),
                                        QStringLiteral("openInWordButton"), du.size(120, 13));
    m_editedPhrase = makePhraseBox(QStringLiteral("editedPhraseEdit"), du, this);
    auto* reminder = makeLabel(QStringLiteral(u"После внесения измненений не забывай сохранить файл, после этого "
                                              u"проверяй снова."),
                               QStringLiteral("reminderLabel"), this);
    auto* thanks =
        MakeDialogButton(this, QStringLiteral(u"Спасибо!"), QStringLiteral("thanksButton"), du.size(101, 14));

    // The document rows: title, path, browse button.
    auto* documentsLayout = new QGridLayout(documents);
    documentsLayout->setContentsMargins(du.x(9), du.y(8), du.x(5), du.y(4));
    documentsLayout->setHorizontalSpacing(du.x(3));
    documentsLayout->addWidget(originalTitle, 0, 0);
    documentsLayout->addWidget(m_originalPathLabel, 0, 1);
    documentsLayout->addWidget(browseOriginal, 0, 2);
    documentsLayout->addWidget(editedTitle, 1, 0);
    documentsLayout->addWidget(m_editedPathLabel, 1, 1);
    documentsLayout->addWidget(browseEdited, 1, 2);
    documentsLayout->setColumnStretch(1, 1);

    auto* checkRow = new QHBoxLayout;
    checkRow->addWidget(reminder, 1);
    checkRow->addWidget(m_checkButton);
    checkRow->addSpacing(du.x(17));

    // The match list on the left, the two phrases on the right.
    auto* editedTitleRow = new QHBoxLayout;
    editedTitleRow->addWidget(editedPhraseTitle, 1);
    editedTitleRow->addWidget(openInWord);
    auto* matchesLayout = new QGridLayout(matchesGroup);
    matchesLayout->setContentsMargins(du.x(8), du.y(4), du.x(8), du.y(6));
    matchesLayout->setHorizontalSpacing(du.x(10));
    matchesLayout->addWidget(originalPhraseTitle, 0, 1);
    matchesLayout->addWidget(m_matchList, 1, 0, 3, 1);
    matchesLayout->addWidget(m_originalPhrase, 1, 1);
    matchesLayout->addLayout(editedTitleRow, 2, 1);
    matchesLayout->addWidget(m_editedPhrase, 3, 1);
    matchesLayout->setColumnStretch(1, 1);

    auto* bottomRow = new QHBoxLayout;
    bottomRow->addWidget(options);
    bottomRow->addWidget(thanks);
    bottomRow->addStretch();
    bottomRow->addWidget(m_exitButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(du.x(7), du.y(7), du.x(7), du.y(7));
    layout->setSpacing(du.y(3));
    layout->addWidget(documents);
    layout->addLayout(checkRow);
    layout->addWidget(matchesGroup, 1);
    layout->addWidget(m_verdict);
    layout->addLayout(bottomRow);

    // The template's order is the tab order.
    const QList<QWidget*> tabOrder = {m_exitButton,     browseOriginal, browseEdited, m_matchList,    m_checkButton,
                                      m_originalPhrase, options,        openInWord,   m_editedPhrase, thanks};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder.at(i - 1), tabOrder.at(i));

    connect(m_exitButton, &QPushButton::clicked, this, &CParafrixDlg::reject);
    connect(browseOriginal, &QPushButton::clicked, this, &CParafrixDlg::OnBrowseOriginal);
    connect(browseEdited, &QPushButton::clicked, this, &CParafrixDlg::OnBrowseEdited);
    connect(m_checkButton, &QPushButton::clicked, this, &CParafrixDlg::OnCheck);
    connect(m_matchList, &QListWidget::currentRowChanged, this, &CParafrixDlg::OnSelchangeMatchList);
    connect(options, &QPushButton::clicked, this, &CParafrixDlg::OnOptions);
    connect(openInWord, &QPushButton::clicked, this, &CParafrixDlg::OnShowPhraseInWord);
    connect(thanks, &QPushButton::clicked, this, &CParafrixDlg::OnThanks);

    resize(du.size(460, 354).expandedTo(minimumSizeHint()));
    m_exitButton->setFocus();
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
    SetPath(true, QFileInfo(originalPath).absoluteFilePath());
    SetPath(false, QFileInfo(editedPath).absoluteFilePath());
    UpdateCheckButton();
    QuitOwnWordInstances();
}

void CParafrixDlg::ShowNoticeOnStart(const QString& text)
{
    QTimer::singleShot(0, this, [this, text] { ShowMessage(QMessageBox::Warning, QStringLiteral("Parafrix"), text); });
}

void CParafrixDlg::OnCheck()
{
    std::optional<BusyCursor> busy(std::in_place);
    m_session.QuitActiveWord();
    ClearResults();
    const CheckOutcome& outcome = m_session.RunCheck(AppSettings::Instance().checkOptions());
    if (!outcome.ok()) {
        busy.reset();
        ShowMessage(QMessageBox::Warning, CheckErrorCaption(),
                    CheckErrorText(outcome, m_session.originalPath(), m_session.editedPath()));
        return;
    }
    ListMatches();
    if (!outcome.matches.isEmpty()) {
        {
            // Selecting by program is not a user's selection; the match is shown below.
            const QSignalBlocker blocker(m_matchList);
            m_matchList->setCurrentRow(0);
        }
        OnSelchangeMatchList();
        return;
    }
    busy.reset();
    СDlgFuck allClear(this);
    DialogRunner::Exec(allClear);
}

void CParafrixDlg::ClearResults()
{
    m_session.ClearResults();
    {
        const QSignalBlocker blocker(m_matchList);
        m_matchList->clear();
    }
    m_originalPhrase->clear();
    m_editedPhrase->clear();
    m_verdict->clear();
}

void CParafrixDlg::ListMatches()
{
    const QSignalBlocker blocker(m_matchList);
    for (qsizetype i = 1; i <= m_session.matches().size(); ++i)
        m_matchList->addItem(QStringLiteral(u"Совпадение #%1").arg(i));
}

void CParafrixDlg::OnSelchangeMatchList()
{
    // No selection leaves the boxes as they are; a row without its match cannot
    // arise, but is ignored the same way rather than read out of range.
    if (!m_session.Select(m_matchList->currentRow(), AppSettings::Instance().checkOptions()))
        return;
    const PhraseMatch& match = *m_session.selectedMatch();
    m_originalPhrase->setPlainText(match.original);
    m_editedPhrase->setPlainText(match.edited);
    m_verdict->setText(m_session.selectedVerdict().text());
}

void CParafrixDlg::OnBrowseOriginal()
{
    ChooseDocument(true);
}

void CParafrixDlg::OnBrowseEdited()
{
    ChooseDocument(false);
}

QString CParafrixDlg::ChooseDocument()
{
    QFileDialog dialog(this);
    DocumentFileDialog::Configure(dialog);
    if (DialogRunner::Exec(dialog) != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

void CParafrixDlg::ChooseDocument(bool original)
{
    const QString chosen = ChooseDocument();
    if (!chosen.isEmpty())
        SetPath(original, chosen);
    // Confirmed or cancelled alike.
    UpdateCheckButton();
    QuitOwnWordInstances();
}

void CParafrixDlg::SetPath(bool original, const QString& chosen)
{
    const bool changed = chosen != (original ? m_session.originalPath() : m_session.editedPath());
    if (original) {
        m_session.SetOriginalPath(chosen);
        m_originalPathLabel->setPath(chosen);
    } else {
        m_session.SetEditedPath(chosen);
        m_editedPathLabel->setPath(chosen);
    }
    // The session has dropped the previous pair's results; the widgets follow.
    if (changed)
        ClearResults();
}

void CParafrixDlg::UpdateCheckButton()
{
    m_checkButton->setEnabled(m_session.canCheck());
}

void CParafrixDlg::QuitOwnWordInstances()
{
    const BusyCursor busy;
    m_session.QuitOwnWordInstances();
}

void CParafrixDlg::OnOptions()
{
    CDlgOptions options(this);
    DialogRunner::Exec(options);
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
    AppSettings::Instance().Save();
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
