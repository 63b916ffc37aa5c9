#pragma once

#include <QByteArray>

#include <vector>

// Runs of Word 97 character and paragraph properties that matter for text: deleted
// tracked changes, the marks that end a table row, and text the printed page does
// not show (hidden, white, or 2 pt and smaller; style-given formatting is not read). Read from the formatted disk
// pages the bin tables point at; pages out of range are ignored.
class WordPropertyRuns
{
public:
    // wordDocument: the main stream; table: the table stream; plcf: the bin table's
    // offset and size in the table stream.
    void LoadCharacterRuns(const QByteArray& wordDocument, const QByteArray& table, quint32 fc, quint32 lcb);
    void LoadParagraphRuns(const QByteArray& wordDocument, const QByteArray& table, quint32 fc, quint32 lcb);

    // True when the character at file offset fc is marked deleted.
    bool IsDeleted(quint32 fc) const;
    // True when the paragraph mark at file offset fc ends a table row.
    bool EndsRow(quint32 fc) const;
    // True when the character at file offset fc is hidden, tiny, or white outside a
    // shaded paragraph.
    bool IsHidden(quint32 fc) const { return (!m_hidden.empty() || !m_white.empty()) && hiddenAt(fc); }

private:
    struct Run
    {
        quint32 start;
        quint32 end;
    };
    static bool contains(const std::vector<Run>& runs, quint32 fc);
    bool hiddenAt(quint32 fc) const;

    std::vector<Run> m_deleted;
    std::vector<Run> m_rowEnds;
    std::vector<Run> m_hidden;
    std::vector<Run> m_white;  // white text, hidden unless its paragraph is shaded
    std::vector<Run> m_shaded; // paragraphs with a background of their own
};
