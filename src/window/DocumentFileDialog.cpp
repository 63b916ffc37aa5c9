#include "window/DocumentFileDialog.h"

#include "extract/DocumentFormat.h"

#include <QFileDialog>

namespace {

struct Entry
{
    QString label;    // what the list shows
    QString patterns; // what the entry matches
};

QList<Entry> entries(const QStringList& readablePatterns)
{
    const QString readable = readablePatterns.join(QChar(u' '));
    return {
        {QStringLiteral(u"Документы (%1)").arg(readable), readable},
        {QStringLiteral("Word Files (*.doc)"), QStringLiteral("*.doc")},
        // "*.*" would miss files without an extension here; "*" matches every file.
        {QStringLiteral("All Files (*.*)"), QStringLiteral("*")},
    };
}

} // namespace

namespace DocumentFileDialog {

QStringList ReadablePatterns()
{
    return DocumentFormatSniffer::FilePatterns();
}

QStringList NameFilters(const QStringList& readablePatterns)
{
    // The dialog takes the patterns from the last parentheses and, with the details
    // hidden, shows everything before them: the label exactly as written.
    QStringList filters;
    for (const Entry& entry : entries(readablePatterns))
        filters << entry.label + QStringLiteral(" (") + entry.patterns + QChar(u')');
    return filters;
}

QStringList NameFilterLabels(const QStringList& readablePatterns)
{
    QStringList labels;
    for (const Entry& entry : entries(readablePatterns))
        labels << entry.label;
    return labels;
}

void Configure(QFileDialog& dialog)
{
    dialog.setWindowTitle(QStringLiteral(u"Открыть"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The file need not exist: a missing one is reported by the Check.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = NameFilters(ReadablePatterns());
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
    dialog.setDefaultSuffix(QStringLiteral("doc"));
}

} // namespace DocumentFileDialog
