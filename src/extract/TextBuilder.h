#pragma once

#include "extract/ExtractResult.h"

#include <QString>

// Collects the text of one story in the shape every filter delivers: paragraph ends
// and line breaks as CR LF, tabs kept, non-breaking spaces as spaces, soft hyphens
// dropped, non-breaking hyphens as '-', table cells separated by tabs and rows ended
// by CR LF. Bounded: past kMaxUnits units or kMaxHiddenRuns hidden runs it stops
// growing and reports Overflowed().
// Text written while SetHidden(true) is in force is noted as hidden; the paragraph,
// row and cell ends that follow it belong to the layout and never are.
class TextBuilder
{
public:
    static constexpr qsizetype kMaxUnits = 32 * 1024 * 1024;
    // Separate hidden runs in one story: only a forged document has more.
    static constexpr qsizetype kMaxHiddenRuns = 4 * 1024 * 1024;

    void AddText(QStringView text);
    void AddChar(char16_t c);
    void Tab();
    void LineBreak();
    void ParagraphEnd();
    // Ends the current paragraph unless it is already ended (or nothing was written).
    void CloseParagraph();
    void CellEnd();
    void RowEnd();
    void SetHidden(bool hidden) { m_hidden = hidden; }

    bool Overflowed() const { return m_overflowed; }
    qsizetype Size() const { return m_text.size(); }
    // The text so far, with a pending paragraph or row end written out; its hidden
    // runs go to hidden when given.
    QString Take(QList<HiddenSpan>* hidden = nullptr);

private:
    enum class Pending
    {
        None,
        Paragraph,
        Row,
        Cell,
    };
    void Flush();
    void Put(char16_t c, bool hidden)
    {
        if (m_text.size() >= kMaxUnits || (hidden && !NoteHidden())) {
            m_overflowed = true;
            return;
        }
        m_text.append(QChar(c));
    }
    // Counts the unit about to be written as hidden; false when there are too many runs.
    bool NoteHidden();

    QString m_text;
    QList<HiddenSpan> m_spans;
    bool m_hidden = false;
    Pending m_pending = Pending::None;
    bool m_overflowed = false;
};
