#include "extract/PdfReader.h"

#include "extract/TextBuilder.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct Line
{
    QString text;
    double top = 0;
    double bottom = 0;
    double left = 0;
    double right = 0;
    double firstWordWidth = 0;
    double height() const { return bottom - top; }
};

void silence(const std::string&, void*) {}

QString boxText(const poppler::text_box& box)
{
    const poppler::ustring text = box.text();
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

std::vector<Line> pageLines(const poppler::page& page)
{
    std::vector<Line> lines;
    const std::vector<poppler::text_box> boxes = page.text_list();
    bool spaceAfter = false;
    for (const poppler::text_box& box : boxes) {
        const poppler::rectf r = box.bbox();
        const double top = r.y();
        const double bottom = r.y() + r.height();
        bool sameLine = false;
        if (!lines.empty()) {
            const Line& last = lines.back();
            const double overlap = std::min(bottom, last.bottom) - std::max(top, last.top);
            const double shorter = std::max(0.1, std::min(bottom - top, last.height()));
            sameLine = overlap > 0.5 * shorter && r.x() >= last.left;
        }
        if (!sameLine) {
            lines.push_back(Line{boxText(box), top, bottom, r.x(), r.x() + r.width(), r.width()});
        } else {
            Line& last = lines.back();
            const double gap = r.x() - last.right;
            if (spaceAfter || gap > 0.15 * std::max(0.1, last.height()))
                last.text += QChar(u' ');
            last.text += boxText(box);
            last.top = std::min(last.top, top);
            last.bottom = std::max(last.bottom, bottom);
            last.right = std::max(last.right, r.x() + r.width());
        }
        spaceAfter = box.has_space_after();
    }
    return lines;
}

double medianPitch(const std::vector<Line>& lines)
{
    std::vector<double> pitches;
    for (size_t i = 1; i < lines.size(); ++i) {
        const double pitch = lines[i].top - lines[i - 1].top;
        if (pitch > 0)
            pitches.push_back(pitch);
    }
    if (pitches.empty())
        return 0;
    std::nth_element(pitches.begin(), pitches.begin() + (pitches.size() - 1) / 2, pitches.end());
    return pitches[(pitches.size() - 1) / 2];
}

bool startsLower(const QString& text)
{
    return !text.isEmpty() && text.at(0).isLower();
}

void writePage(const std::vector<Line>& lines, TextBuilder& out)
{
    const double pitch = medianPitch(lines);
    double blockRight = 0;
    for (const Line& line : lines)
        blockRight = std::max(blockRight, line.right);
    for (size_t i = 0; i < lines.size(); ++i) {
        QString text = lines[i].text.trimmed();
        if (i + 1 == lines.size()) {
            out.AddText(text);
            out.ParagraphEnd();
            break;
        }
        const Line& next = lines[i + 1];
        const double step = next.top - lines[i].top;
        const double h = std::max(0.1, lines[i].height());
        // A line that had room for the next line's first word ends its paragraph.
        const bool roomLeft = blockRight - lines[i].right > next.firstWordWidth + 0.5 * h;
        const bool blockEnd = step <= 0 || (pitch > 0 && step > 1.3 * pitch) || roomLeft ||
                              std::abs(next.height() - lines[i].height()) > 0.25 * h;
        if (blockEnd) {
            out.AddText(text);
            out.ParagraphEnd();
        } else if ((text.endsWith(u'-') || text.endsWith(QChar(0x00AD))) && startsLower(next.text.trimmed())) {
            text.chop(1);
            out.AddText(text);
        } else {
            out.AddText(text);
            out.AddChar(u' ');
        }
    }
}

} // namespace

ParsedDocument PdfReader::Read(const QByteArray& bytes)
{
    poppler::set_debug_error_function(silence, nullptr);
    std::unique_ptr<poppler::document> doc(
        poppler::document::load_from_raw_data(bytes.constData(), int(std::min<qsizetype>(bytes.size(), INT32_MAX))));
    if (!doc)
        return ParsedDocument::Failure(ExtractError::Damaged, QStringLiteral(u"PDF не читается"));
    if (doc->is_locked())
        return ParsedDocument::Failure(ExtractError::PasswordProtected);
    TextBuilder out;
    const int pages = doc->pages();
    for (int i = 0; i < pages && !out.Overflowed(); ++i) {
        std::unique_ptr<poppler::page> page(doc->create_page(i));
        if (page)
            writePage(pageLines(*page), out);
    }
    if (out.Overflowed())
        return ParsedDocument::Failure(ExtractError::TooLarge);
    ParsedDocument result;
    result.stories.append(out.Take());
    return result;
}
