#pragma once

#include <QDialog>

class QPlainTextEdit;

// The thank-you box: a read-only text thanking the donors, and "Закрыть".
class CDlgThanks : public QDialog
{
    Q_OBJECT
public:
    explicit CDlgThanks(QWidget* parent = nullptr);

    // The thank-you text: eight lines separated by CR LF.
    static QString Text();

private:
    QPlainTextEdit* m_text = nullptr;
};
