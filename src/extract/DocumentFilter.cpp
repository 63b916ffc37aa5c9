#include "extract/DocumentFilter.h"

#include <algorithm>

DocumentFilter::DocumentFilter(ParsedDocument document) : m_document(std::move(document)) {}

FilterStatus::Code DocumentFilter::Init(std::uint32_t, std::uint32_t* returnedFlags)
{
    if (returnedFlags)
        *returnedFlags = 0;
    m_next = 0;
    m_current = -1;
    m_offset = 0;
    return FilterStatus::Ok;
}

FilterStatus::Code DocumentFilter::GetChunk(FilterChunk* chunk)
{
    if (m_document.error == ExtractError::PasswordProtected)
        return FilterStatus::Password;
    if (m_document.error == ExtractError::NoPermission)
        return FilterStatus::Access;
    if (m_next >= m_document.stories.size()) {
        m_current = -1;
        return FilterStatus::EndOfChunks;
    }
    m_current = m_next++;
    m_offset = 0;
    if (chunk) {
        chunk->id = std::uint32_t(m_current + 1);
        chunk->breakType = m_current == 0 ? FilterChunk::NoBreak : FilterChunk::ChapterBreak;
        chunk->state = FilterChunk::Text;
    }
    return FilterStatus::Ok;
}

FilterStatus::Code DocumentFilter::GetText(std::uint32_t* count, char16_t* buffer)
{
    if (!count || !buffer)
        return FilterStatus::Fail;
    if (m_current < 0) {
        *count = 0;
        return FilterStatus::NoMoreText;
    }
    const QString& story = m_document.stories.at(m_current);
    const qsizetype left = story.size() - m_offset;
    if (left <= 0) {
        *count = 0;
        return FilterStatus::NoMoreText;
    }
    const qsizetype n = std::min<qsizetype>(left, qsizetype(*count));
    std::copy_n(reinterpret_cast<const char16_t*>(story.constData()) + m_offset, n, buffer);
    m_offset += n;
    *count = std::uint32_t(n);
    return m_offset == story.size() ? FilterStatus::LastText : FilterStatus::Ok;
}

bool DocumentFilter::TakeText(QString& text)
{
    if (m_current < 0 || m_offset != 0)
        return false;
    QString& story = m_document.stories[m_current];
    if (story.contains(QChar(u'\0')))
        return false;
    text = std::move(story);
    story = QString();
    return true;
}

QList<HiddenSpan> DocumentFilter::HiddenRuns() const
{
    if (m_current < 0 || m_current >= m_document.hidden.size())
        return {};
    return m_document.hidden.at(m_current);
}
