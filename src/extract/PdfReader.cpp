#include "extract/PdfReader.h"

#include "extract/TextBuilder.h"

#include <Error.h>
#include <GlobalParams.h>
#include <PDFDoc.h>
#include <Page.h>
#include <Stream.h>
#include <TextOutputDev.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <mutex>
#include <set>
#include <unordered_set>
#include <utility>
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

void countError(ErrorCategory, Goffset, const char*);

// poppler's settings, made once for the process; its error messages are not shown,
// only counted against the budget of the document being read.
void initPoppler()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (!globalParams)
            globalParams = std::make_unique<GlobalParams>();
        setErrorCallback(countError);
    });
}

// The text device with the reader's budget. poppler asks the abort callback about
// every eleventh content operator of a stream, and the device about every use of a
// form and every glyph, so nested forms and long streams both spend it. Once it is
// spent, forms are no longer entered, glyphs no longer kept and every content
// stream stops at its next check.
class BudgetedTextDevice : public TextOutputDev
{
public:
    BudgetedTextDevice() : TextOutputDev(nullptr, false, 0, false, false) {}

    static bool AbortCheck(void* device)
    {
        // Called once every eleven operators.
        auto* self = static_cast<BudgetedTextDevice*>(device);
        if (threadSeconds() - self->m_pageStart > PdfReader::kMaxPageSeconds) {
            self->m_slowPage = true;
            self->m_exhausted = true;
        }
        return !self->Spend(11);
    }

    bool exhausted() const { return m_exhausted; }
    // A damaged object costs its parse each time it is used, with nothing drawn that the
    // other counts would see (a form that is no stream, asked for a million times).
    void SpendOnError() { Spend(kErrorWork); }
    // The page took more processor time than any honest page does: an object poppler
    // looks up again and again at a cost no count above sees (a form that is missing
    // or damaged in a way it does not complain about).
    bool pageTooSlow() const { return m_slowPage; }
    bool pageTooFull() const
    {
        return m_pageGlyphs > PdfReader::kMaxPageGlyphs || qint64(m_pageFonts.size()) > PdfReader::kMaxPageFonts;
    }

    void startPage(int pageNum, GfxState* state, XRef* xref) override
    {
        m_pageGlyphs = 0;
        m_pageFonts.clear();
        m_pageStart = threadSeconds();
        TextOutputDev::startPage(pageNum, state, xref);
    }

    // A form brings its own copy of its fonts each time it is used, and the page keeps
    // every font it met and searches them whenever a font is set.
    void updateFont(GfxState* state) override
    {
        if (const GfxFont* font = state->getFont().get(); font && m_pageFonts.insert(font).second) {
            if (qint64(m_pageFonts.size()) > PdfReader::kMaxPageFonts)
                m_exhausted = true;
            Spend(kNewFontWork);
        }
        if (Spend(1 + qint64(m_pageFonts.size()) / kFontsPerWork))
            TextOutputDev::updateFont(state);
    }

    // True means the device draws the form itself, which it does by not drawing it.
    bool useDrawForm() override { return !Spend(kFormWork); }

    void drawChar(GfxState* state, double x, double y, double dx, double dy, double originX, double originY, CharCode c,
                  int nBytes, const Unicode* u, int uLen) override
    {
        // The words of a page live until it ends: the page's own bound keeps them few.
        if (++m_pageGlyphs > PdfReader::kMaxPageGlyphs)
            m_exhausted = true;
        if (Spend(kGlyphWork))
            TextOutputDev::drawChar(state, x, y, dx, dy, originX, originY, c, nBytes, u, uLen);
    }

private:
    // Work in content operators' worth, as measured with poppler 22: a glyph costs about
    // two operators, a use of a form forty, a font new to the page fifty, and setting a
    // font one more for every 64 fonts the page has met.
    static constexpr qint64 kGlyphWork = 2;
    static constexpr qint64 kFormWork = 40;
    static constexpr qint64 kNewFontWork = 50;
    static constexpr qint64 kFontsPerWork = 64;
    static constexpr qint64 kErrorWork = 100;

    static double threadSeconds()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
    }

    bool Spend(qint64 work)
    {
        m_work += work;
        if (m_work > PdfReader::kMaxWork)
            m_exhausted = true;
        return !m_exhausted;
    }

    qint64 m_work = 0;
    qint64 m_pageGlyphs = 0;
    std::unordered_set<const GfxFont*> m_pageFonts;
    bool m_exhausted = false;
    bool m_slowPage = false;
    double m_pageStart = 0;
};

// The device of the page this thread is drawing, for the error callback, which poppler
// gives no data of ours.
thread_local BudgetedTextDevice* t_drawing = nullptr;

void countError(ErrorCategory, Goffset, const char*)
{
    if (t_drawing)
        t_drawing->SpendOnError();
}

// Names the device for the error callback while a page is drawn.
class DrawingScope
{
public:
    explicit DrawingScope(BudgetedTextDevice& device) { t_drawing = &device; }
    ~DrawingScope() { t_drawing = nullptr; }
    DrawingScope(const DrawingScope&) = delete;
    DrawingScope& operator=(const DrawingScope&) = delete;
};

QString wordText(const TextWord& word)
{
    std::u32string units;
    units.reserve(size_t(std::max(0, word.getLength())));
    for (int i = 0; i < word.getLength(); ++i)
        units.push_back(char32_t(*word.getChar(i)));
    return QString::fromUcs4(units.data(), qsizetype(units.size()));
}

// The words of the page last shown to the output device, gathered into lines.
std::vector<Line> pageLines(TextOutputDev& device)
{
    std::vector<Line> lines;
    const std::unique_ptr<TextWordList> words = device.makeWordList();
    if (!words)
        return lines;
    bool spaceAfter = false;
    for (int i = 0; i < words->getLength(); ++i) {
        const TextWord& word = *words->get(i);
        double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
        word.getBBox(&xMin, &yMin, &xMax, &yMax);
        const double top = yMin;
        const double bottom = yMax;
        bool sameLine = false;
        if (!lines.empty()) {
            const Line& last = lines.back();
            const double overlap = std::min(bottom, last.bottom) - std::max(top, last.top);
            const double shorter = std::max(0.1, std::min(bottom - top, last.height()));
            sameLine = overlap > 0.5 * shorter && xMin >= last.left;
        }
        if (!sameLine) {
            lines.push_back(Line{wordText(word), top, bottom, xMin, xMax, xMax - xMin});
        } else {
            Line& last = lines.back();
            const double gap = xMin - last.right;
            if (spaceAfter || gap > 0.15 * std::max(0.1, last.height()))
                last.text += QChar(u' ');
            last.text += wordText(word);
            last.top = std::min(last.top, top);
            last.bottom = std::max(last.bottom, bottom);
            last.right = std::max(last.right, xMax);
        }
        spaceAfter = word.hasSpaceAfter();
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
    initPoppler();
    // The stream reads the caller's bytes in place; the document owns the stream.
    auto* stream = new MemStream(bytes.constData(), 0, Goffset(bytes.size()), Object(objNull));
    const auto doc = std::make_unique<PDFDoc>(stream);
    if (!doc->isOk()) {
        if (doc->getErrorCode() == errEncrypted)
            return ParsedDocument::Failure(ExtractError::PasswordProtected);
        return ParsedDocument::Failure(ExtractError::Damaged, QStringLiteral(u"или это не документ PDF"));
    }
    // One text device for every page, and the document's cross-reference table shared by
    // all of them: the time grows with the pages, not with their square.
    BudgetedTextDevice device;
    if (!device.isOk())
        return ParsedDocument::Failure(ExtractError::Damaged, QStringLiteral(u"не удалось прочитать текст PDF"));
    TextBuilder out;
    const int pages = doc->getNumPages();
    std::set<std::pair<int, int>> seen;
    for (int i = 1; i <= pages && !out.Overflowed(); ++i) {
        // The device would hand out the previous page's words again for a page it never saw.
        Page* page = doc->getPage(i);
        if (!page)
            return ParsedDocument::Failure(ExtractError::Damaged,
                                           QStringLiteral(u"в PDF нет страницы %1 из %2").arg(i).arg(pages));
        if (!seen.insert({page->getRef().num, page->getRef().gen}).second)
            continue;
        {
            const DrawingScope drawing(device);
            doc->displayPage(&device, i, 72, 72, 0, false, false, false, BudgetedTextDevice::AbortCheck, &device);
        }
        if (device.pageTooSlow())
            return ParsedDocument::Failure(
                ExtractError::Damaged, QStringLiteral(u"страница %1 PDF рисуется дольше %2 с: её объекты повреждены")
                                           .arg(i)
                                           .arg(PdfReader::kMaxPageSeconds));
        if (device.pageTooFull())
            return ParsedDocument::Failure(ExtractError::TooLarge,
                                           QStringLiteral(u"на странице %1 PDF больше %2 знаков или %3 шрифтов")
                                               .arg(i)
                                               .arg(PdfReader::kMaxPageGlyphs)
                                               .arg(PdfReader::kMaxPageFonts));
        if (device.exhausted())
            return ParsedDocument::Failure(ExtractError::TooLarge,
                                           QStringLiteral(u"страницы PDF требуют больше %1 млн операций рисования")
                                               .arg(PdfReader::kMaxWork / 1'000'000));
        writePage(pageLines(device), out);
    }
    if (out.Overflowed())
        return ParsedDocument::Failure(ExtractError::TooLarge);
    ParsedDocument result;
    result.stories.append(out.Take());
    return result;
}
