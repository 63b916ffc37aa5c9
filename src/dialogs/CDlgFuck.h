#pragma once

#include <QDialog>

// The all-clear box, shown when a Check finds no similar sentence: the detection
// service's logo stamped as beaten, and "Закрыть".
// It declares no signals or slots and so carries no Q_OBJECT: the meta-object
// compiler cannot read its non-ASCII name. Tests find it by its objectName.
class СDlgFuck : public QDialog
{
public:
    explicit СDlgFuck(QWidget* parent = nullptr);
};
