#include "check/MatchReport.h"

#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "check/JsonText.h"
#include "check/TrickWarnings.h"
#include "compare/NearExplanation.h"
#include "compare/NearVerdict.h"

#include <QBuffer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

QString indented(QString text, const QString& indent)
{
    while (text.endsWith(QChar(u'\n')))
        text.chop(1);
    text.replace(QChar(u'\n'), QChar(u'\n') + indent);
    return indent + text;
}

// Sentences keep their own characters; a CR inside one would overwrite the line
// in a terminal, so it is shown as a visible mark in the text output only.
QString printable(QString sentence)
{
    sentence.replace(QChar(u'\r'), QStringLiteral(u"\u21B5"));
    return sentence;
}

QStringList kindNames(const MatchVerdict& verdict)
{
    QStringList kinds;
    for (VerdictKind kind : verdict.kinds)
        kinds.append(VerdictKindName(kind));
    return kinds;
}

QJsonArray stringArray(const QStringList& items)
{
    QJsonArray array;
    for (const QString& item : items)
        array.append(item);
    return array;
}

// [["original", "edited"], ...]
void appendPairs(QByteArray& out, const QList<NearExplanation::FormChange>& pairs)
{
    out.append('[');
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        out.append(i > 0 ? ",[" : "[");
        JsonText::AppendString(out, pairs.at(i).original);
        out.append(',');
        JsonText::AppendString(out, pairs.at(i).edited);
        out.append(']');
    }
    out.append(']');
}

// What each document holds of tricks: {"document", "kind", "count", "samples"}, edited copy first.
QByteArray suspiciousJson(const CheckOutcome& outcome)
{
    QJsonArray entries;
    for (const bool edited : {true, false}) {
        const TextReading& reading = edited ? outcome.editedReading : outcome.originalReading;
        for (const TrickFinding& finding : reading.findings()) {
            QJsonObject entry;
            entry.insert(QStringLiteral("document"), edited ? QStringLiteral("edited") : QStringLiteral("original"));
            entry.insert(QStringLiteral("kind"), TrickKindName(finding.kind));
            entry.insert(QStringLiteral("count"), double(finding.count));
            entry.insert(QStringLiteral("samples"), stringArray(finding.samples));
            entries.append(entry);
        }
    }
    return QJsonDocument(entries).toJson(QJsonDocument::Compact);
}

QByteArray jsonNumber(double value)
{
    return QByteArray::number(std::round(value * 10000) / 10000, 'g', 6);
}

// [{"matched_words", "path"}, ...] in the order the sources were given.
QByteArray sourcesJson(const SourceAttribution& sources)
{
    QJsonArray entries;
    for (qsizetype i = 0; i < sources.shares.size(); ++i) {
        QJsonObject entry;
        entry.insert(QStringLiteral("path"), sources.paths.value(i));
        entry.insert(QStringLiteral("matched_words"), std::round(sources.shares.at(i) * 10000) / 10000);
        entries.append(entry);
    }
    return QJsonDocument(entries).toJson(QJsonDocument::Compact);
}

MatchVerdict identicalVerdict()
{
    MatchVerdict verdict;
    verdict.kinds.append(VerdictKind::Identical);
    return verdict;
}

// The report in UTF-8 as it grows, handed to the device in large pieces rather than
// entry by entry.
class ReportBuffer
{
public:
    explicit ReportBuffer(QIODevice& device) : m_device(device) { bytes.reserve(kFlushBytes + kFlushBytes / 4); }

    // Writes what has grown past kFlushBytes; false when the write failed.
    bool flushIfFull() { return bytes.size() < kFlushBytes || flush(); }
    bool flush()
    {
        const bool written = m_device.write(bytes) == bytes.size();
        bytes.resize(0); // keeps the capacity
        return written;
    }

    QByteArray bytes;

private:
    static constexpr qsizetype kFlushBytes = 64 * 1024;
    QIODevice& m_device;
};

// What a report writes of a verdict. A verdict that names no stems reads the same for
// the same kinds, so its bytes are made once per list of kinds.
class VerdictBytes
{
public:
    using Make = void (*)(QByteArray& out, const MatchVerdict& verdict);
    explicit VerdictBytes(Make make) : m_make(make) {}

    // Valid until the next call.
    const QByteArray& of(const MatchVerdict& verdict)
    {
        if (!verdict.added.isEmpty() || !verdict.removed.isEmpty()) {
            m_named.resize(0);
            m_make(m_named, verdict);
            return m_named;
        }
        const auto it = std::find_if(m_made.begin(), m_made.end(),
                                     [&verdict](const Made& made) { return made.kinds == verdict.kinds; });
        if (it != m_made.end())
            return it->bytes;
        Made made;
        made.kinds = verdict.kinds;
        m_make(made.bytes, verdict);
        m_made.push_back(std::move(made));
        return m_made.back().bytes;
    }

private:
    struct Made
    {
        QList<VerdictKind> kinds;
        QByteArray bytes;
    };
    Make m_make;
    std::vector<Made> m_made; // a handful: the lists of kinds the verdicts give
    QByteArray m_named;       // the last verdict naming stems
};

// The same bytes again at the end of out, as a text written twice converts the same.
void appendCopy(QByteArray& out, qsizetype start, qsizetype size)
{
    const qsizetype at = out.size();
    out.resize(at + size);
    std::memcpy(out.data() + at, out.constData() + start, size_t(size));
}

// A sentence of the text report as printable() shows it.
void appendPrintable(QByteArray& out, const QString& sentence)
{
    if (sentence.contains(QChar(u'\r')))
        JsonText::AppendUtf8(out, printable(sentence));
    else
        JsonText::AppendUtf8(out, sentence);
}

QString sourceName(const SourceAttribution& sources, qint32 source)
{
    const QString path = sources.paths.value(source);
    const QString name = QFileInfo(path).fileName();
    return EscapeControlCharacters(name.isEmpty() ? QString::number(source + 1) : name);
}

QString sourceLine(const SourceAttribution& sources, qint32 source)
{
    return QStringLiteral(u"  Источник:  ") + sourceName(sources, source) + QChar(u'\n');
}

} // namespace

QString MatchReport::UnitText(std::span<const NearSentence> sentences, const TextReading& reading)
{
    QStringList parts;
    for (const NearSentence& sentence : sentences)
        parts.append(reading.Written(sentence.text).text.trimmed());
    return parts.join(QChar(u' '));
}

NearExplanation MatchReport::Explain(const CheckOutcome& outcome, const NearMatch& match)
{
    const std::span<const NearSentence> original(outcome.originalSentences);
    const std::span<const NearSentence> edited(outcome.editedSentences);
    return ExplainNear(original.subspan(size_t(match.originalFirst), size_t(match.originalCount)),
                       edited.subspan(size_t(match.editedFirst), size_t(match.editedCount)), match.similarity,
                       &outcome.relations);
}

QString MatchReport::OriginalityText(double originality)
{
    return QStringLiteral(u"Оригинальность копии: %1%").arg(NearPercent(originality));
}

bool MatchReport::WriteJson(QIODevice& device) const
{
    ReportBuffer out(device);
    out.bytes.append("{\"matches\":[");
    // A sentence repeated on both sides gives runs of equal matches: the entry of the
    // previous match is written again rather than worked out anew.
    const SourceAttribution& sources = m_outcome.sources;
    const PhraseMatch* previous = nullptr;
    qint32 previousSource = -1;
    QByteArray entry;
    const MatchVerdict identical = identicalVerdict();
    VerdictBytes kinds(
        [](QByteArray& bytes, const MatchVerdict& verdict) { JsonText::AppendStrings(bytes, kindNames(verdict)); });
    VerdictBytes texts(
        [](QByteArray& bytes, const MatchVerdict& verdict) { JsonText::AppendString(bytes, verdict.text()); });
    qsizetype i = -1;
    for (const MatchRow& row : m_outcome.rows) {
        if (row.kind != MatchRow::Kind::Exact)
            continue;
        const PhraseMatch& match = m_outcome.matches.at(row.index);
        ++i;
        const qint32 source = sources.several() ? sources.exact.at(row.index) : -1;
        if (!previous || !(match == *previous) || source != previousSource) {
            // Equal read texts are the identical verdict whatever their words: no analysis needed.
            const MatchVerdict verdict =
                match.original == match.edited ? identical : m_outcome.Verdict(row.index, m_options, m_stemmer);
            // Keys in the order a JSON object sorts them. resize(0) keeps the capacity.
            entry.resize(0);
            entry.append("{\"edited\":");
            const QString edited = m_outcome.editedReading.Written(match.edited).text;
            const qsizetype editedStart = entry.size();
            JsonText::AppendString(entry, edited);
            const qsizetype editedSize = entry.size() - editedStart;
            entry.append(",\"kinds\":");
            entry.append(kinds.of(verdict));
            entry.append(",\"original\":");
            const QString original = m_outcome.originalReading.Written(match.original).text;
            if (original == edited)
                appendCopy(entry, editedStart, editedSize);
            else
                JsonText::AppendString(entry, original);
            if (source >= 0) {
                entry.append(",\"source\":");
                entry.append(QByteArray::number(source));
            }
            entry.append(",\"verdict\":");
            entry.append(texts.of(verdict));
            entry.append('}');
            previous = &match;
            previousSource = source;
        }
        if (i > 0)
            out.bytes.append(',');
        out.bytes.append(entry);
        if (!out.flushIfFull())
            return false;
    }
    if (m_options.NearMatches) {
        out.bytes.append("],\"near_matches\":[");
        const std::span<const NearSentence> original(m_outcome.originalSentences);
        const std::span<const NearSentence> edited(m_outcome.editedSentences);
        qsizetype written = 0;
        for (const MatchRow& row : m_outcome.rows) {
            if (row.kind != MatchRow::Kind::Near)
                continue;
            const NearMatch& match = m_outcome.near.matches.at(row.index);
            const NearExplanation explanation = Explain(m_outcome, match);
            QByteArray& bytes = out.bytes;
            bytes.append(written++ > 0 ? ",{\"added\":" : "{\"added\":");
            JsonText::AppendStrings(bytes, explanation.added);
            bytes.append(",\"edited\":");
            JsonText::AppendString(bytes, UnitText(edited.subspan(size_t(match.editedFirst), size_t(match.editedCount)),
                                                   m_outcome.editedReading));
            bytes.append(",\"family\":");
            appendPairs(bytes, explanation.family);
            bytes.append(",\"original\":");
            JsonText::AppendString(bytes,
                                   UnitText(original.subspan(size_t(match.originalFirst), size_t(match.originalCount)),
                                            m_outcome.originalReading));
            bytes.append(",\"removed\":");
            JsonText::AppendStrings(bytes, explanation.removed);
            bytes.append(",\"similarity\":");
            JsonText::AppendNumber(bytes, match.percent() / 100.0);
            if (sources.several()) {
                bytes.append(",\"source\":");
                bytes.append(QByteArray::number(sources.near.at(row.index)));
            }
            bytes.append(",\"synonyms\":");
            appendPairs(bytes, explanation.synonyms);
            bytes.append(",\"verdict\":");
            JsonText::AppendString(bytes, NearVerdict(explanation));
            bytes.append('}');
            if (!out.flushIfFull())
                return false;
        }
    }
    out.bytes +=
        QByteArrayLiteral("],\"originality\":") + jsonNumber(m_outcome.originality) +
        (sources.several() ? QByteArrayLiteral(",\"sources\":") + sourcesJson(sources) : QByteArray()) +
        QByteArrayLiteral(",\"suspicious\":") + suspiciousJson(m_outcome) + QByteArrayLiteral(",\"truncated\":") +
        (m_outcome.truncated ? QByteArrayLiteral("true") : QByteArrayLiteral("false")) + QByteArrayLiteral("}\n");
    return out.flush();
}

bool MatchReport::WriteText(QIODevice& device) const
{
    ReportBuffer out(device);
    const QString warnings = TrickWarnings::Block(m_outcome);
    if (!warnings.isEmpty())
        JsonText::AppendUtf8(out.bytes, warnings + QChar(u'\n'));
    const SourceAttribution& sources = m_outcome.sources;
    const PhraseMatch* previous = nullptr;
    qint32 previousSource = -1;
    const QByteArray head = QStringLiteral(u"Совпадение #").toUtf8();
    const QByteArray originalHead = QStringLiteral(u"  Оригинал:  ").toUtf8();
    const QByteArray editedHead = QStringLiteral(u"\n  Изменено:  ").toUtf8();
    const QByteArray whyHead = QStringLiteral(u"\n  Почему:\n").toUtf8();
    const MatchVerdict identical = identicalVerdict();
    VerdictBytes why([](QByteArray& bytes, const MatchVerdict& verdict) {
        JsonText::AppendUtf8(bytes, indented(verdict.text(), QStringLiteral("    ")));
    });
    QByteArray body; // everything of an entry after its number
    for (const MatchRow& row : m_outcome.rows) {
        if (row.kind != MatchRow::Kind::Exact)
            continue;
        const qsizetype i = row.index;
        const PhraseMatch& match = m_outcome.matches.at(i);
        const qint32 source = sources.several() ? sources.exact.at(i) : -1;
        if (!previous || !(match == *previous) || source != previousSource) {
            // Equal read texts are the identical verdict whatever their words: no analysis needed.
            const MatchVerdict verdict =
                match.original == match.edited ? identical : m_outcome.Verdict(i, m_options, m_stemmer);
            body.resize(0); // keeps the capacity
            if (source >= 0)
                JsonText::AppendUtf8(body, sourceLine(sources, source));
            body.append(originalHead);
            const QString original = m_outcome.originalReading.Written(match.original).text;
            const qsizetype originalStart = body.size();
            appendPrintable(body, original);
            const qsizetype originalSize = body.size() - originalStart;
            body.append(editedHead);
            const QString edited = m_outcome.editedReading.Written(match.edited).text;
            if (edited == original)
                appendCopy(body, originalStart, originalSize);
            else
                appendPrintable(body, edited);
            body.append(whyHead);
            body.append(why.of(verdict));
            body.append("\n\n");
            previous = &match;
            previousSource = source;
        }
        out.bytes.append(head);
        out.bytes.append(QByteArray::number(i + 1));
        out.bytes.append('\n');
        out.bytes.append(body);
        if (!out.flushIfFull())
            return false;
    }
    const std::span<const NearSentence> original(m_outcome.originalSentences);
    const std::span<const NearSentence> edited(m_outcome.editedSentences);
    for (const MatchRow& row : m_outcome.rows) {
        if (row.kind != MatchRow::Kind::Near)
            continue;
        const qsizetype i = row.index;
        const NearMatch& match = m_outcome.near.matches.at(i);
        QString text = QStringLiteral(u"Похожая фраза #%1 (%2%)\n").arg(i + 1).arg(match.percent());
        if (sources.several())
            text += sourceLine(sources, sources.near.at(i));
        text += QStringLiteral(u"  Оригинал:  ") +
                printable(UnitText(original.subspan(size_t(match.originalFirst), size_t(match.originalCount)),
                                   m_outcome.originalReading)) +
                QChar(u'\n');
        text += QStringLiteral(u"  Изменено:  ") +
                printable(UnitText(edited.subspan(size_t(match.editedFirst), size_t(match.editedCount)),
                                   m_outcome.editedReading)) +
                QChar(u'\n');
        text += QStringLiteral(u"  Почему:\n");
        text += indented(NearVerdict(Explain(m_outcome, match)), QStringLiteral("    "));
        text += QStringLiteral("\n\n");
        JsonText::AppendUtf8(out.bytes, text);
        if (!out.flushIfFull())
            return false;
    }
    QString closing;
    if (m_outcome.matches.isEmpty() && m_outcome.near.matches.isEmpty())
        closing =
            QStringLiteral(u"Совпадений нет: изменённая копия не совпадает с оригиналом ни в одном предложении.\n");
    else
        closing = QStringLiteral(u"Найдено совпадений: %1.\n").arg(m_outcome.matches.size());
    if (!m_outcome.near.matches.isEmpty())
        closing += QStringLiteral(u"Найдено похожих фраз: %1.\n").arg(m_outcome.near.matches.size());
    for (qsizetype s = 0; sources.several() && s < sources.shares.size(); ++s)
        closing += QStringLiteral(u"Совпадает с источником «%1»: %2% копии\n")
                       .arg(sourceName(sources, qint32(s)))
                       .arg(NearPercent(sources.shares.at(s)));
    closing += OriginalityText(m_outcome.originality) + QChar(u'\n');
    if (m_outcome.truncated)
        closing += QStringLiteral(u"Список обрезан: показаны первые %1 совпадений.\n").arg(m_outcome.matchCount());
    JsonText::AppendUtf8(out.bytes, closing);
    return out.flush();
}

QByteArray MatchReport::ToJson() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteJson(buffer);
    return bytes;
}
