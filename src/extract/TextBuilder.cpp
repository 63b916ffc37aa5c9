#include "extract/TextBuilder.h"

void TextBuilder::put(char16_t c)
{
    if (m_text.size() >= kMaxUnits) {
        m_overflowed = true;
        return;
    }
    m_text.append(QChar(c));
}

void TextBuilder::flush()
{
    switch (m_pending) {
    case Pending::None:
        return;
    case Pending::Paragraph:
    case Pending::Row:
        put(u'\r');
        put(u'\n');
        break;
    case Pending::Cell:
        put(u'\t');
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
    flush();
    put(c);
}

void TextBuilder::AddText(QStringView text)
{
    for (const QChar c : text)
        AddChar(c.unicode());
}

void TextBuilder::Tab()
{
    flush();
    put(u'\t');
}

void TextBuilder::LineBreak()
{
    flush();
    put(u'\r');
    put(u'\n');
}

void TextBuilder::ParagraphEnd()
{
    flush();
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
        flush();
    m_pending = Pending::Cell;
}

void TextBuilder::RowEnd()
{
    if (m_pending == Pending::Row)
        flush();
    m_pending = Pending::Row;
}

QString TextBuilder::Take()
{
    if (m_pending == Pending::Cell)
        m_pending = Pending::None;
    flush();
    QString text = std::move(m_text);
    m_text.clear();
    return text;
}
