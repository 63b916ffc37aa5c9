#include "check/HtmlReport.h"

#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "check/CheckSession.h"
#include "check/MatchReport.h"
#include "check/TrickWarnings.h"
#include "compare/NearMatch.h"
#include "compare/NearVerdict.h"

#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace {

bool write(QIODevice& out, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return out.write(bytes) == bytes.size();
}

// The window's copy map and shared-word colours, so that the page reads like the window.
const char* const style = "body{font-family:sans-serif;max-width:60em;margin:1em auto;padding:0 1em;color:#222}"
                          "h1{font-size:1.5em}h2{font-size:1.2em;margin-top:1.5em}"
                          "table.docs td{padding:0.1em 0.8em 0.1em 0}"
                          ".originality{font-size:1.1em;font-weight:bold}"
                          ".map{display:flex;height:2.5em;border:1px solid #888;margin:0.5em 0}"
                          // Widths by words alone, separators drawn inside: a long copy still fits the strip.
                          ".cell{display:block;flex:1 1 0;min-width:0;box-shadow:inset -1px 0 #fff}"
                          // The colours are the content: kept when printed.
                          ".map,.legend span{-webkit-print-color-adjust:exact;print-color-adjust:exact}"
                          ".exact{background:#d63c3c}.near{background:#f0a028}.own{background:#5aaa5a}"
                          // A disguise seen through: a stripe along the block, over whatever it is.
                          ".map .tricked{box-shadow:inset -1px 0 #fff,inset 0 -0.8em #8e44ad}"
                          ".legend .tricked{background:#8e44ad}"
                          ".legend span{display:inline-block;width:1em;height:1em;margin:0 0.3em 0 1em;"
                          "vertical-align:middle}"
                          ".match{border:1px solid #ccc;border-radius:4px;padding:0.5em 1em;margin:1em 0}"
                          ".match h3{font-size:1em;margin:0.2em 0}"
                          ".side{white-space:pre-wrap;overflow-wrap:anywhere;margin:0.3em 0}.label{color:#666}"
                          ".verdict{white-space:pre-wrap;background:#f4f4f4;padding:0.4em;margin-top:0.4em}"
                          ".sh{background:#c8dcf5;font-weight:bold}.tr{background:#ff9e9e}"
                          ".hid{color:#808080;text-decoration:line-through}"
                          ".rel{background:#ffdc96;font-style:italic}"
                          ".tricks{background:#fff3f3;border:1px solid #e0a0a0;padding:0.5em 1em}";

enum Mark : quint8
{
    Shared = 1,
    Related = 2,
    Trick = 4,
    Hidden = 8,
};

QString classes(quint8 marks)
{
    QStringList names;
    if (marks & Shared)
        names << QStringLiteral("sh");
    if (marks & Trick)
        names << QStringLiteral("tr");
    if (marks & Hidden)
        names << QStringLiteral("hid");
    if (marks & Related)
        names << QStringLiteral("rel");
    return names.join(QChar(u' '));
}

QString percentBreakdown(const CheckOutcome& outcome, const CheckOptions& options)
{
    // As the window gives it: the near part is what the other two leave, so the three add up to 100.
    const qint32 exact = NearPercent(outcome.exactShare);
    if (options.NearMatches)
        return QStringLiteral(u" (совпадения %1%, похожие фразы %2% слов)")
            .arg(exact)
            .arg(std::max(100 - NearPercent(outcome.originality) - exact, 0));
    return QStringLiteral(u" (совпадения %1% слов; похожие фразы не искались и не учтены)").arg(exact);
}

} // namespace

QString HtmlReport::Escape(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case u'&':
            escaped += QStringLiteral("&amp;");
            continue;
        case u'<':
            escaped += QStringLiteral("&lt;");
            continue;
        case u'>':
            escaped += QStringLiteral("&gt;");
            continue;
        case u'"':
            escaped += QStringLiteral("&quot;");
            continue;
        default:
            break;
        }
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            escaped += c;
            escaped += text.at(++i);
            continue;
        }
        // Word's line and page breaks show as line breaks; other controls XML cannot carry.
        if (c == u'\v' || c == u'\f') {
            escaped += QChar(u'\n');
            continue;
        }
        const bool control = c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r';
        if (control || c.isSurrogate() || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            escaped += QChar(QChar::ReplacementCharacter);
        else
            escaped += c;
    }
    return escaped;
}

QString HtmlReport::Marked(const QString& text, const QList<SelectedPair::Span>& shared,
                           const QList<SelectedPair::Span>& related, const QList<TrickMark>& tricks)
{
    QList<quint8> marks(text.size(), 0);
    QString shown = text;
    auto mark = [&](qsizetype start, qsizetype length, quint8 bit) {
        for (qsizetype i = std::max<qsizetype>(start, 0); i < std::min(start + length, text.size()); ++i)
            marks[i] |= bit;
    };
    for (const SelectedPair::Span& span : shared)
        mark(span.start, span.length, Shared);
    for (const SelectedPair::Span& span : related)
        mark(span.start, span.length, Related);
    for (const TrickMark& trick : tricks) {
        mark(trick.start, trick.length, trick.kind == TrickKind::HiddenText ? Hidden : Trick);
        if (trick.kind != TrickKind::Invisible)
            continue;
        // Invisible characters become a visible mark, one per code unit, as in the window.
        for (qsizetype i = std::max<qsizetype>(trick.start, 0); i < std::min(trick.start + trick.length, text.size());
             ++i)
            shown[i] = QChar(u'\u00A6');
    }
    QString markup;
    qsizetype start = 0;
    while (start < shown.size()) {
        qsizetype end = start + 1;
        while (end < shown.size() && marks.at(end) == marks.at(start))
            ++end;
        const QString run = Escape(shown.mid(start, end - start));
        if (marks.at(start) == 0)
            markup += run;
        else
            markup += QStringLiteral("<span class=\"%1\">%2</span>").arg(classes(marks.at(start)), run);
        start = end;
    }
    return markup;
}

bool HtmlReport::Write(QIODevice& out) const
{
    return WriteHead(out) && WriteMap(out) && WriteMatches(out);
}

bool HtmlReport::WriteHead(QIODevice& out) const
{
    const QString title = QStringLiteral(u"Отчёт о проверке копии реферата");
    QString head = QStringLiteral("<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"ru\">\n"
                                  "<head>\n<meta charset=\"utf-8\"/>\n<title>%1</title>\n<style>%2</style>\n"
                                  "</head>\n<body>\n<h1>%1</h1>\n")
                       .arg(title, QString::fromLatin1(style));
    head += QStringLiteral(u"<table class=\"docs\">\n<tr><td>Дата проверки:</td><td class=\"date\">%1</td></tr>\n"
                           u"<tr><td>Оригинал:</td><td class=\"original-path\">%2</td></tr>\n"
                           u"<tr><td>Изменённая копия:</td><td class=\"edited-path\">%3</td></tr>\n</table>\n")
                .arg(Escape(m_documents.checked.toString(QStringLiteral("dd.MM.yyyy HH:mm"))),
                     Escape(m_documents.original), Escape(m_documents.edited));
    head +=
        QStringLiteral("<p class=\"originality\">%1</p>\n")
            .arg(Escape(MatchReport::OriginalityText(m_outcome.originality) + percentBreakdown(m_outcome, m_options)));
    head += QStringLiteral(u"<p>Оригинальность — доля слов копии в предложениях, которые не совпадают с оригиналом "
                           u"ни точно, ни как похожая фраза.</p>\n");
    const SourceAttribution& sources = m_outcome.sources;
    if (sources.several()) {
        head += QStringLiteral(u"<p>Доля копии по источникам:</p>\n<ul class=\"sources\">\n");
        for (qsizetype i = 0; i < sources.shares.size(); ++i)
            head += QStringLiteral("<li>%1: %2%</li>\n")
                        .arg(Escape(QFileInfo(sources.paths.value(i)).fileName()))
                        .arg(NearPercent(sources.shares.at(i)));
        head += QStringLiteral("</ul>\n");
    }
    if (m_outcome.truncated)
        head += QStringLiteral(u"<p class=\"truncated\">Показаны не все совпадения: список обрезан на %1.</p>\n")
                    .arg(m_outcome.matchCount());
    // The tricks seen through, each document's warning as a list.
    for (const bool edited : {true, false}) {
        const TextReading& reading = edited ? m_outcome.editedReading : m_outcome.originalReading;
        if (reading.findings().isEmpty())
            continue;
        head += QStringLiteral("<div class=\"tricks\">\n<p>%1</p>\n<ul>\n").arg(Escape(TrickWarnings::Heading(edited)));
        for (const TrickFinding& finding : reading.findings())
            head += QStringLiteral("<li>%1</li>\n").arg(Escape(TrickWarnings::Line(finding)));
        head += QStringLiteral("</ul>\n<p>%1</p>\n</div>\n").arg(Escape(TrickWarnings::Closing()));
    }
    return write(out, head);
}

bool HtmlReport::WriteMap(QIODevice& out) const
{
    QString text =
        QStringLiteral(u"<h2>Карта копии</h2>\n<p class=\"legend\">Предложения копии по порядку текста:"
                       u"<span class=\"exact\"></span>совпадение<span class=\"near\"></span>похожая фраза"
                       u"<span class=\"own\"></span>свой текст<span class=\"tricked\"></span>приёмы маскировки"
                       u"</p>\n<div class=\"map\">\n");
    const QList<CheckSession::MapCell> cells = CheckSession::MapOf(m_outcome);
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const CheckSession::MapCell& cell = cells.at(i);
        QString kind = QStringLiteral("own");
        QString what = QStringLiteral(u"свой текст");
        QString link;
        if (cell.kind == CheckSession::MapCell::Kind::Exact) {
            kind = QStringLiteral("exact");
            what = QStringLiteral(u"совпадение #%1").arg(m_outcome.rows.at(cell.row).index + 1);
            link = QStringLiteral(" href=\"#m%1\"").arg(m_outcome.rows.at(cell.row).index + 1);
        } else if (cell.kind == CheckSession::MapCell::Kind::Near) {
            kind = QStringLiteral("near");
            what = QStringLiteral(u"похожая фраза #%1").arg(m_outcome.rows.at(cell.row).index + 1);
            link = QStringLiteral(" href=\"#n%1\"").arg(m_outcome.rows.at(cell.row).index + 1);
        }
        if (cell.tricked) {
            kind += QStringLiteral(" tricked");
            what += QStringLiteral(u", приёмы маскировки");
        }
        text += QStringLiteral(u"<a class=\"cell %1\"%2 style=\"flex-grow:%3\" title=\"Предложение %4: %5\"></a>\n")
                    .arg(kind, link)
                    .arg(std::max(cell.words, 1))
                    .arg(i + 1)
                    .arg(what);
        // Flushed now and then: a long copy never makes one huge string.
        if (text.size() > 16384) {
            if (!write(out, text))
                return false;
            text.clear();
        }
    }
    text += QStringLiteral("</div>\n");
    return write(out, text);
}

bool HtmlReport::WriteMatches(QIODevice& out) const
{
    if (!write(out, QStringLiteral(u"<h2>Совпадения</h2>\n")))
        return false;
    if (m_outcome.matchCount() == 0 &&
        !write(out, QStringLiteral(u"<p class=\"none\">Совпадений нет: изменённая копия не совпадает с оригиналом "
                                   u"ни в одном предложении.</p>\n")))
        return false;
    // Runs of equal exact matches (a sentence repeated on both sides) share one body.
    const PhraseMatch* previous = nullptr;
    QString body;
    qint64 written = 0;
    for (qsizetype row = 0; row < m_outcome.matchCount(); ++row) {
        const PhraseMatch* match = m_outcome.exactAt(row);
        const bool exact = match != nullptr;
        // Numbered within its kind, as the window lists them.
        const qint32 number = m_outcome.rows.at(row).index + 1;
        if (!exact || !previous || !(*match == *previous)) {
            const SelectedPair pair = CheckSession::PairOf(m_outcome, row, m_options, m_stemmer);
            QString verdict;
            if (exact) {
                verdict = m_outcome.Verdict(number - 1, m_options, m_stemmer).text();
            } else {
                verdict = NearVerdict(MatchReport::Explain(m_outcome, *m_outcome.nearAt(row)));
            }
            if (pair.seenThrough()) {
                if (!verdict.isEmpty() && !verdict.endsWith(QChar(u'\n')))
                    verdict += QChar(u'\n');
                verdict += TrickWarnings::SeenThrough();
            }
            while (verdict.endsWith(QChar(u'\n')))
                verdict.chop(1);
            body = QStringLiteral(u"<p class=\"side original\"><span class=\"label\">Оригинал: </span>%1</p>\n"
                                  u"<p class=\"side edited\"><span class=\"label\">Изменено: </span>%2</p>\n"
                                  u"<div class=\"verdict\">%3</div>\n")
                       .arg(Marked(pair.original, pair.originalShared, pair.originalRelated, pair.originalTricks),
                            Marked(pair.edited, pair.editedShared, pair.editedRelated, pair.editedTricks),
                            Escape(verdict));
            previous = match;
        }
        const QString heading =
            exact ? QStringLiteral(u"<div class=\"match exact\" id=\"m%1\">\n<h3>Совпадение #%1</h3>\n").arg(number)
                  : QStringLiteral(u"<div class=\"match near\" id=\"n%1\">\n<h3>Похожая фраза #%1 (%2%)</h3>\n")
                        .arg(number)
                        .arg(m_outcome.nearAt(row)->percent());
        const SourceAttribution& sources = m_outcome.sources;
        const QString source =
            sources.several()
                ? QStringLiteral(u"<p class=\"source\">Источник: %1</p>\n")
                      .arg(Escape(QFileInfo(sources.paths.value((exact ? sources.exact : sources.near).at(number - 1)))
                                      .fileName()))
                : QString();
        const QByteArray bytes = (heading + source + body + QStringLiteral("</div>\n")).toUtf8();
        // The markup around each word makes a page larger than the other reports: it
        // stops at their bound, and says so.
        written += bytes.size();
        if (written > m_options.MaxReportBytes) {
            if (!write(out, QStringLiteral(u"<p class=\"truncated\">Отчёт обрезан: показано строк — %1 из %2; полный "
                                           u"вышел бы больше %3 МБ.</p>\n")
                                .arg(row)
                                .arg(m_outcome.matchCount())
                                .arg(m_options.MaxReportBytes / (1024 * 1024))))
                return false;
            break;
        }
        if (out.write(bytes) != bytes.size())
            return false;
    }
    return write(out, QStringLiteral("</body>\n</html>\n"));
}

bool HtmlReport::Save(const QString& path, QString& error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    if (!Write(file)) {
        error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
