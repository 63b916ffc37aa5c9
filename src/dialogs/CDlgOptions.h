#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QSlider;

// The options dialog "Настройки": edits the sentence delimiters, the word delimiters
// and the minimum number of words of the process-wide settings record directly. It
// keeps no copy: the trackbar and the defaults button store at once, OK stores the
// typed delimiters as well, and Cancel only drops what was typed.
class CDlgOptions : public QDialog
{
    Q_OBJECT
public:
    explicit CDlgOptions(QWidget* parent = nullptr);

    static constexpr int kMinWordsLowest = 3;
    static constexpr int kMinWordsHighest = 10;

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
};
