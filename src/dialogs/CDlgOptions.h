#pragma once

#include "check/CheckOptions.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;
class QSpinBox;

// The options dialog "Настройки": edits the sentence delimiters, the word delimiters,
// the minimum number of words and the near-match choice of the process-wide settings
// record directly. It keeps no copy: the trackbar and the defaults button store at
// once, OK stores the typed delimiters and the near-match choice as well, and Cancel
// only drops what was typed.
class CDlgOptions : public QDialog
{
    Q_OBJECT
public:
    explicit CDlgOptions(QWidget* parent = nullptr);

    static constexpr int kMinWordsLowest = CheckOptions::LowestMinWords;
    static constexpr int kMinWordsHighest = CheckOptions::HighestMinWords;

    void accept() override;

private:
    void FillControls();
    void OnDefaults();
    void OnMinWordsMoved();
    void ShowMinWords();

    QLineEdit* m_sentenceDelimiters = nullptr;
    QLineEdit* m_wordDelimiters = nullptr;
    QSlider* m_minWords = nullptr;
    QLabel* m_minWordsLabel = nullptr;
    QCheckBox* m_nearMatches = nullptr;
    QSpinBox* m_nearThreshold = nullptr;
    QCheckBox* m_recheckOnSave = nullptr;
};
