#pragma once

#include <QStringList>

class QFileDialog;
class QWidget;

// The Open dialog for choosing a document: first one entry for everything the
// document readers read (selected by default), then "Word Files (*.doc)" and
// "All Files (*.*)", which matches every file, also one without an extension.
namespace DocumentFileDialog {

// The file name patterns of the formats the document readers read.
QStringList ReadablePatterns();
// The entries of the type list, each as "<label> (<patterns>)".
QStringList NameFilters(const QStringList& readablePatterns);
// The label each entry shows.
QStringList NameFilterLabels(const QStringList& readablePatterns);
// Sets up a dialog owned by the given window: open mode, any file name accepted,
// the type entries above, ".doc" as the default extension.
void Configure(QFileDialog& dialog);

} // namespace DocumentFileDialog
