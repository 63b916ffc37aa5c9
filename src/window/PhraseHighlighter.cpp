#include "window/PhraseHighlighter.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

namespace {

QTextCharFormat trickFormat(TrickKind kind)
{
    QTextCharFormat format;
    if (kind == TrickKind::HiddenText) {
        format.setForeground(QColor(0x80, 0x80, 0x80));
        format.setFontStrikeOut(true);
    } else {
        format.setBackground(QColor(0xFF, 0x9E, 0x9E));
    }
    return format;
}

// Invisible characters become a visible mark, one per code unit, so offsets stay.
QString withVisibleMarks(QString text, const QList<TrickMark>& tricks)
{
    for (const TrickMark& mark : tricks) {
        if (mark.kind != TrickKind::Invisible)
            continue;
        for (qsizetype i = std::max<qsizetype>(mark.start, 0); i < std::min(mark.start + mark.length, text.size()); ++i)
            text[i] = QChar(u'\u00A6');
    }
    return text;
}

} // namespace

void PhraseHighlighter::Show(QPlainTextEdit& box, const QString& text, const QList<SelectedPair::Span>& shared,
                             const QList<TrickMark>& tricks, const QList<SelectedPair::Span>& related)
{
    box.setPlainText(withVisibleMarks(text, tricks));
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
    // blocks it falls in, by block-relative offsets. Tricks come last, so their
    // background wins over the shared words'.
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        const qint32 blockStart = block.position();
        const qint32 blockEnd = blockStart + block.length();
        QList<QTextLayout::FormatRange> ranges;
        auto place = [&](qsizetype spanStart, qsizetype spanLength, const QTextCharFormat& spanFormat) {
            const qint32 start = std::max(qint32(spanStart), blockStart);
            const qint32 end = std::min(qint32(spanStart + spanLength), blockEnd);
            if (end > start)
                ranges.append({start - blockStart, end - start, spanFormat});
        };
        for (const SelectedPair::Span& span : shared)
            place(span.start, span.length, format);
        for (const TrickMark& mark : tricks)
            place(mark.start, mark.length, trickFormat(mark.kind));
        for (const SelectedPair::Span& span : related)
            place(span.start, span.length, relatedFormat);
        block.layout()->setFormats(ranges);
    }
    box.viewport()->update();
}
