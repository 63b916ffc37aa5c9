#pragma once

#include "dialogs/DialogRunner.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>
#include <functional>

// Answers every modal box the window opens, at once, and records what was shown:
// file dialogs take the next queued path (an empty one cancels), message boxes and
// other dialogs are recorded and closed, or handed to a per-test callback.
class ModalBoxes
{
public:
    struct Shown
    {
        QString name;            // objectName of the box
        QString caption;         // window title
        QString text;            // message text (message boxes only)
        int icon = 0;            // QMessageBox::Icon (message boxes only)
        QStringList nameFilters; // file dialogs only
        QString directory;       // the folder a file dialog opened in
        QStringList selected;    // the files a file dialog had selected on opening
    };

    ModalBoxes()
    {
        DialogRunner::SetHandler([this](QDialog& dialog) { return answer(dialog); });
    }
    ~ModalBoxes() { DialogRunner::SetHandler({}); }
    ModalBoxes(const ModalBoxes&) = delete;
    ModalBoxes& operator=(const ModalBoxes&) = delete;

    void queueFile(const QString& path) { m_files << path; }
    void onDialog(std::function<int(QDialog&)> callback) { m_callback = std::move(callback); }

    int count(const QString& name) const
    {
        int n = 0;
        for (const Shown& box : shown)
            n += box.name == name ? 1 : 0;
        return n;
    }
    int countFileDialogs() const
    {
        int n = 0;
        for (const Shown& box : shown)
            n += box.nameFilters.isEmpty() ? 0 : 1;
        return n;
    }

    QList<Shown> shown;

private:
    int answer(QDialog& dialog)
    {
        Shown box;
        box.name = dialog.objectName();
        box.caption = dialog.windowTitle();
        if (auto* message = qobject_cast<QMessageBox*>(&dialog)) {
            box.text = message->text();
            box.icon = int(message->icon());
        }
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        if (files) {
            // A native dialog that is never shown keeps no selection (Windows): Qt's own does.
            files->setOption(QFileDialog::DontUseNativeDialog);
            box.nameFilters = files->nameFilters();
            box.directory = files->directory().absolutePath();
            box.selected = files->selectedFiles();
        }
        shown << box;
        if (files)
            return answerFile(*files);
        if (m_callback)
            return m_callback(dialog);
        return QDialog::Accepted;
    }

    int answerFile(QFileDialog& dialog)
    {
        const QString path = m_files.isEmpty() ? QString() : m_files.takeFirst();
        if (path.isEmpty())
            return QDialog::Rejected;
        const QFileInfo info(path);
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
        return QDialog::Accepted;
    }

    QStringList m_files;
    std::function<int(QDialog&)> m_callback;
};
