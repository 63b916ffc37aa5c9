#include "extract/TextBuilder.h"

bool TextBuilder::NoteHidden()
{
    if (!m_spans.isEmpty() && m_spans.back().start + m_spans.back().length == m_text.size()) {
        ++m_spans.back().length;
        return true;
    }
    if (m_spans.size() >= kMaxHiddenRuns)
        return false;
    m_spans.append(HiddenSpan{m_text.size(), 1});
    return true;
}

void TextBuilder::Flush()
{
    switch (m_pending) {
    case Pending::None:
        return;
    case Pending::Paragraph:
    case Pending::Row:
        Put(u'\r', false);
        Put(u'\n', false);
        break;
    case Pending::Cell:
        Put(u'\t', false);
        break;
    }
    m_pending = Pending::None;
}

void TextBuilder::AddChar(char16_t c)
{
    // Blanks that are no plain space and characters that print as nothing stay: the
    // Check reads them as a reader of the page does, and tells a disguise from typesetting.
    switch (c) {
    case 0x2011: // non-breaking hyphen
        c = u'-';
        break;
    case u'\t':
        Tab();
        return;
    case u'\r':
    case u'\n':
        LineBreak();
        return;
    default:
        if (c < 0x20 || c == 0x7F)
            return;
        break;
    }
    Flush();
    Put(c, m_hidden);
}

void TextBuilder::AddText(QStringView text)
{
    for (const QChar c : text)
        AddChar(c.unicode());
}

void TextBuilder::Tab()
{
    Flush();
    Put(u'\t', m_hidden);
}

void TextBuilder::LineBreak()
{
    Flush();
    Put(u'\r', m_hidden);
    Put(u'\n', m_hidden);
}

void TextBuilder::ParagraphEnd()
{
    Flush();
    m_pending = Pending::Paragraph;
}

void TextBuilder::CloseParagraph()
{
    if (m_pending == Pending::Paragraph || m_pending == Pending::Row ||
        (m_pending == Pending::None && m_text.isEmpty()))
        return;
    ParagraphEnd();
}

void TextBuilder::CellEnd()
{
    // The last paragraph of a cell ends with the cell's tab, not with a line break.
    if (m_pending != Pending::Paragraph)
        Flush();
    m_pending = Pending::Cell;
}

void TextBuilder::RowEnd()
{
    if (m_pending == Pending::Row)
        Flush();
    m_pending = Pending::Row;
}

QString TextBuilder::Take(QList<HiddenSpan>* hidden)
{
    if (m_pending == Pending::Cell)
        m_pending = Pending::None;
    Flush();
    QString text = std::move(m_text);
    m_text.clear();
    if (hidden)
        *hidden = std::move(m_spans);
    m_spans.clear();
    return text;
}
