#include "dialogs/CDlgOptions.h"

#include "dialogs/DialogButtons.h"
#include "dialogs/DialogUnits.h"
#include "settings/AppSettings.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

namespace {

QLineEdit* makeDelimiterEdit(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    // The sets have no length limit of their own; the store bounds what it keeps.
    edit->setMaxLength(std::numeric_limits<int>::max());
    return edit;
}

} // namespace

CDlgOptions::CDlgOptions(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("optionsDialog"));
    setWindowTitle(QStringLiteral(u"Настройки"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const DialogUnits du(*this);

    auto* ok =
        MakeDialogButton(this, QStringLiteral("OK"), QStringLiteral("okButton"), du.size(50, 14), ButtonKind::Default);
    auto* cancel = MakeDialogButton(this, QStringLiteral(u"Отмена"), QStringLiteral("cancelButton"), du.size(50, 14));
    auto* defaults =
        MakeDialogButton(this, QStringLiteral(u"По умолчанию"), QStringLiteral("defaultsButton"), du.size(58, 14));
    connect(ok, &QPushButton::clicked, this, &CDlgOptions::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgOptions::reject);
    connect(defaults, &QPushButton::clicked, this, &CDlgOptions::OnDefaults);

    m_sentenceDelimiters = makeDelimiterEdit(QStringLiteral("sentenceDelimitersEdit"), this);
    m_wordDelimiters = makeDelimiterEdit(QStringLiteral("wordDelimitersEdit"), this);

    m_minWords = new QSlider(Qt::Horizontal, this);
    m_minWords->setObjectName(QStringLiteral("minWordsSlider"));
    m_minWords->setTickPosition(QSlider::NoTicks);
    m_minWords->setFocusPolicy(Qt::StrongFocus);
    connect(m_minWords, &QSlider::valueChanged, this, &CDlgOptions::OnMinWordsMoved);
    // Releasing the thumb stores its position even when it ends where it started.
    connect(m_minWords, &QSlider::sliderReleased, this, &CDlgOptions::OnMinWordsMoved);

    m_minWordsLabel = new QLabel(this);
    m_minWordsLabel->setObjectName(QStringLiteral("minWordsLabel"));
    m_minWordsLabel->setAlignment(Qt::AlignCenter);
    m_minWordsLabel->setMinimumWidth(du.x(34));

    m_nearMatches = new QCheckBox(QStringLiteral(u"Показывать похожие фразы"), this);
    m_nearMatches->setObjectName(QStringLiteral("nearMatchesCheck"));
    m_nearThreshold = new QSpinBox(this);
    m_nearThreshold->setObjectName(QStringLiteral("nearThresholdSpin"));
    m_nearThreshold->setRange(1, 100);
    m_nearThreshold->setSuffix(QStringLiteral("%"));
    connect(m_nearMatches, &QCheckBox::toggled, m_nearThreshold, &QSpinBox::setEnabled);
    auto* thresholdLabel = new QLabel(QStringLiteral(u"Сходство не меньше:"), this);
    thresholdLabel->setObjectName(QStringLiteral("nearThresholdLabel"));
    thresholdLabel->setBuddy(m_nearThreshold);
    auto* nearRow = new QHBoxLayout;
    nearRow->addWidget(m_nearMatches);
    nearRow->addStretch();
    nearRow->addWidget(thresholdLabel);
    nearRow->addWidget(m_nearThreshold);

    m_recheckOnSave = new QCheckBox(QStringLiteral(u"Проверять снова после сохранения документа"), this);
    m_recheckOnSave->setObjectName(QStringLiteral("recheckOnSaveCheck"));

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("separatorLine"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* sliderRow = new QHBoxLayout;
    sliderRow->addWidget(m_minWords, 1);
    sliderRow->addSpacing(du.x(12));
    sliderRow->addWidget(m_minWordsLabel);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaults);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(du.x(7), du.y(7), du.x(7), du.y(5));
    layout->setSpacing(du.y(1));
    auto* sentenceLabel = new QLabel(QStringLiteral(u"Разделители предложений:"), this);
    sentenceLabel->setObjectName(QStringLiteral("sentenceDelimitersLabel"));
    layout->addWidget(sentenceLabel);
    layout->addWidget(m_sentenceDelimiters);
    layout->addSpacing(du.y(3));
    auto* wordLabel = new QLabel(QStringLiteral(u"Разделители слов:"), this);
    wordLabel->setObjectName(QStringLiteral("wordDelimitersLabel"));
    layout->addWidget(wordLabel);
    layout->addWidget(m_wordDelimiters);
    layout->addSpacing(du.y(4));
    auto* minWordsTitle = new QLabel(QStringLiteral(u"Минимальное число слов в предложении:"), this);
    minWordsTitle->setObjectName(QStringLiteral("minWordsTitleLabel"));
    layout->addWidget(minWordsTitle);
    layout->addLayout(sliderRow);
    layout->addSpacing(du.y(3));
    layout->addLayout(nearRow);
    layout->addWidget(m_recheckOnSave);
    layout->addSpacing(du.y(2));
    layout->addWidget(line);
    layout->addSpacing(du.y(3));
    layout->addLayout(buttons);

    setTabOrder(ok, cancel);
    setTabOrder(cancel, m_sentenceDelimiters);
    setTabOrder(m_sentenceDelimiters, m_wordDelimiters);
    setTabOrder(m_wordDelimiters, defaults);
    setTabOrder(defaults, m_minWords);
    setTabOrder(m_minWords, m_nearMatches);
    setTabOrder(m_nearMatches, m_nearThreshold);
    setTabOrder(m_nearThreshold, m_recheckOnSave);

    FillControls();
    resize(du.size(224, 105).expandedTo(minimumSizeHint()));
    ok->setFocus();
}

void CDlgOptions::FillControls()
{
    const AppSettings& settings = AppSettings::Instance();
    m_sentenceDelimiters->setText(settings.Delimiters1);
    m_wordDelimiters->setText(settings.Delimiters2);
    {
        // Placing the thumb is not a move: a stored number outside the range stays
        // as it is until the user moves the thumb or presses OK.
        const QSignalBlocker blocker(m_minWords);
        m_minWords->setRange(kMinWordsLowest, kMinWordsHighest);
        m_minWords->setValue(settings.MinWords);
    }
    ShowMinWords();
    m_nearMatches->setChecked(settings.NearMatches);
    m_nearThreshold->setValue(settings.NearThreshold);
    m_nearThreshold->setEnabled(settings.NearMatches);
    m_recheckOnSave->setChecked(settings.RecheckOnSave);
}

void CDlgOptions::ShowMinWords()
{
    m_minWordsLabel->setText(QString::number(AppSettings::Instance().MinWords));
}

void CDlgOptions::OnMinWordsMoved()
{
    AppSettings::Instance().MinWords = m_minWords->value();
    ShowMinWords();
}

void CDlgOptions::OnDefaults()
{
    AppSettings& settings = AppSettings::Instance();
    settings.Delimiters1 = AppSettings::DefaultDelimiters1();
    settings.Delimiters2 = AppSettings::DefaultDelimiters2WithoutTab();
    settings.MinWords = AppSettings::DefaultMinWords;
    settings.NearMatches = AppSettings::DefaultNearMatches;
    settings.NearThreshold = AppSettings::DefaultNearThreshold;
    settings.RecheckOnSave = AppSettings::DefaultRecheckOnSave;
    FillControls();
}

void CDlgOptions::accept()
{
    AppSettings& settings = AppSettings::Instance();
    settings.Delimiters1 = m_sentenceDelimiters->text();
    settings.Delimiters2 = m_wordDelimiters->text();
    settings.MinWords = m_minWords->value();
    settings.NearMatches = m_nearMatches->isChecked();
    settings.NearThreshold = m_nearThreshold->value();
    settings.RecheckOnSave = m_recheckOnSave->isChecked();
    QDialog::accept();
}
