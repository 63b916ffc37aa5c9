#include "extract/CDocToText.h"

#include "extract/FilterLoader.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr std::uint32_t kInitFlags = FilterInit::CanonParagraphs | FilterInit::CanonHyphens | FilterInit::CanonSpaces |
                                     FilterInit::ApplyIndexAttributes | FilterInit::IndexingOnly;
static_assert(kInitFlags == 0x5D);

// Appends the buffer's text up to its first NUL; the terminator at count bounds it.
qsizetype appendPiece(QString& text, std::vector<char16_t>& buffer, std::uint32_t count)
{
    buffer[std::min(count, CDocToText::kBufferUnits)] = 0;
    qsizetype n = 0;
    while (buffer[size_t(n)] != 0)
        ++n;
    text.append(reinterpret_cast<const QChar*>(buffer.data()), n);
    return n;
}

// Adds a chunk's hidden runs, moved to where the chunk begins in the text. Runs out of
// order, overlapping or past the chunk's text come from a faulty filter and are cut.
void appendHidden(QList<HiddenSpan>& hidden, const QList<HiddenSpan>& runs, qsizetype chunkStart, qsizetype chunkEnd)
{
    for (const HiddenSpan& run : runs) {
        if (run.start < 0 || run.length <= 0 || run.start >= chunkEnd - chunkStart)
            continue;
        const qsizetype start = chunkStart + run.start;
        const qsizetype end = std::min(chunkEnd, start + std::min(run.length, chunkEnd - start));
        const qsizetype previousEnd = hidden.isEmpty() ? 0 : hidden.back().start + hidden.back().length;
        if (start < previousEnd)
            continue;
        hidden.append(HiddenSpan{start, end - start});
    }
}

} // namespace

ExtractResult CDocToText::ReadFilter(IFilter& filter)
{
    ExtractResult result;
    std::uint32_t returnedFlags = 0;
    filter.Init(kInitFlags, &returnedFlags);

    FilterChunk chunk;
    FilterStatus::Code status = filter.GetChunk(&chunk);
    std::vector<char16_t> buffer(kBufferUnits + 1, 0);
    int failures = 0;
    int chunks = 0;
    bool tooLarge = false;

    while (status != FilterStatus::EndOfChunks) {
        if (status == FilterStatus::Password || status == FilterStatus::Access) {
            result.error =
                status == FilterStatus::Password ? ExtractError::PasswordProtected : ExtractError::NoPermission;
            break;
        }
        if (++chunks > kMaxChunks)
            break;
        if (FilterStatus::Succeeded(status))
            failures = 0;
        else if (++failures > kMaxFailures) {
            result.error = ExtractError::Damaged;
            break;
        }
        if (status != FilterStatus::EmbeddingUnavailable && status != FilterStatus::LinkUnavailable) {
            const qsizetype chunkStart = result.text.size();
            if (QString whole; filter.TakeText(whole)) {
                // The whole text at once: the first chunk's becomes the result as it is.
                if (result.text.isEmpty())
                    result.text = std::move(whole);
                else
                    result.text.append(whole);
                if (result.text.size() > kMaxTextUnits) {
                    tooLarge = true;
                    break;
                }
                appendHidden(result.hidden, filter.HiddenRuns(), chunkStart, result.text.size());
                status = filter.GetChunk(&chunk);
                continue;
            }
            // Hidden runs are offsets into the chunk as delivered: a piece cut short at
            // a NUL would shift them.
            bool whole = true;
            std::uint32_t count = kBufferUnits;
            FilterStatus::Code textStatus = filter.GetText(&count, buffer.data());
            int textFailures = 0;
            while (textStatus != FilterStatus::NoText && textStatus != FilterStatus::NoMoreText) {
                const qsizetype added = appendPiece(result.text, buffer, count);
                if (added < qsizetype(std::min(count, kBufferUnits)))
                    whole = false;
                if (result.text.size() > kMaxTextUnits) {
                    tooLarge = true;
                    break;
                }
                if (textStatus == FilterStatus::LastText)
                    break;
                // A filter that keeps failing, or keeps answering empty pieces, must not
                // keep the extraction from ending.
                if (FilterStatus::Succeeded(textStatus) && added > 0)
                    textFailures = 0;
                else if (++textFailures > kMaxFailures)
                    break;
                count = kBufferUnits;
                std::fill(buffer.begin(), buffer.end(), char16_t(0));
                textStatus = filter.GetText(&count, buffer.data());
            }
            if (tooLarge)
                break;
            if (whole)
                appendHidden(result.hidden, filter.HiddenRuns(), chunkStart, result.text.size());
        }
        status = filter.GetChunk(&chunk);
    }

    if (tooLarge) {
        result.text.clear();
        result.hidden.clear();
        result.error = ExtractError::TooLarge;
    } else if (!result.text.isEmpty()) {
        // Grown piece by piece; the Check keeps it to the end.
        result.text.squeeze();
        result.error = ExtractError::None;
    } else if (result.error == ExtractError::None) {
        result.error = ExtractError::NoText;
    }
    return result;
}

QString CDocToText::GetText(const QString& path)
{
    return Extract(path).text;
}

ExtractResult CDocToText::Extract(const QString& path)
{
    std::unique_ptr<IFilter> filter;
    const FilterLoadResult loaded = LoadIFilter(path, filter);
    return Read(loaded, filter.get());
}

ExtractResult CDocToText::ExtractNative(const QByteArray& nativePath)
{
    std::unique_ptr<IFilter> filter;
    const FilterLoadResult loaded = FilterLoader::LoadNative(nativePath, filter);
    return Read(loaded, filter.get());
}

ExtractResult CDocToText::Read(const FilterLoadResult& loaded, IFilter* filter)
{
    if (!filter) {
        ExtractResult result;
        result.error = loaded.error == ExtractError::None ? ExtractError::UnknownFormat : loaded.error;
        result.detail = loaded.detail;
        return result;
    }
    return ReadFilter(*filter);
}
