#pragma once

#include <QDialog>

// The about box: program icon, name and version, the year, and "OK".
class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
