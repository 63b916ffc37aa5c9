#include "window/PhraseHighlighter.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

void PhraseHighlighter::Show(QPlainTextEdit& box, const QString& text, const QList<SelectedPair::Span>& shared,
                             const QList<SelectedPair::Span>& related)
{
    box.setPlainText(text);
    QTextCharFormat format;
    format.setBackground(box.palette().color(QPalette::Highlight).lighter(170));
    format.setFontWeight(QFont::Bold);
    QTextCharFormat relatedFormat;
    // A warm tone, apart from the selection colour of any usual palette.
    relatedFormat.setBackground(QColor(255, 220, 150));
    relatedFormat.setFontItalic(true);
    box.setToolTip(related.isEmpty() ? QString()
                                     : QStringLiteral(u"Жирным — общие слова; курсивом на жёлтом — синонимы и "
                                                      u"однокоренные слова, заменившие друг друга"));
    // The text may hold line breaks (a lone CR is kept): each span is placed in the
    // blocks it falls in, by block-relative offsets.
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        const qint32 blockStart = block.position();
        const qint32 blockEnd = blockStart + block.length();
        QList<QTextLayout::FormatRange> ranges;
        const auto place = [&](const QList<SelectedPair::Span>& spans, const QTextCharFormat& spanFormat) {
            for (const SelectedPair::Span& span : spans) {
                const qint32 start = std::max(span.start, blockStart);
                const qint32 end = std::min(span.start + span.length, blockEnd);
                if (end > start)
                    ranges.append({start - blockStart, end - start, spanFormat});
            }
        };
        place(shared, format);
        place(related, relatedFormat);
        block.layout()->setFormats(ranges);
    }
    box.viewport()->update();
}
