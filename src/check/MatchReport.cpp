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
#include <cmath>

namespace {

bool write(QIODevice& out, const QByteArray& bytes)
{
    return out.write(bytes) == bytes.size();
}

bool write(QIODevice& out, const QString& text)
{
    return write(out, text.toUtf8());
}

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

bool MatchReport::WriteJson(QIODevice& out) const
{
    if (!write(out, QByteArrayLiteral("{\"matches\":[")))
        return false;
    // A sentence repeated on both sides gives runs of equal matches: the entry of the
    // previous match is written again rather than worked out anew.
    const SourceAttribution& sources = m_outcome.sources;
    const PhraseMatch* previous = nullptr;
    qint32 previousSource = -1;
    QByteArray entryBytes;
    qsizetype i = -1;
    for (const MatchRow& row : m_outcome.rows) {
        if (row.kind != MatchRow::Kind::Exact)
            continue;
        const PhraseMatch& match = m_outcome.matches.at(row.index);
        ++i;
        const qint32 source = sources.several() ? sources.exact.at(row.index) : -1;
        if (!previous || !(match == *previous) || source != previousSource) {
            const MatchVerdict verdict = m_outcome.Verdict(row.index, m_options, m_stemmer);
            // Keys in the order a JSON object sorts them.
            entryBytes.clear();
            entryBytes.append("{\"edited\":");
            JsonText::AppendString(entryBytes, m_outcome.editedReading.Written(match.edited).text);
            entryBytes.append(",\"kinds\":");
            JsonText::AppendStrings(entryBytes, kindNames(verdict));
            entryBytes.append(",\"original\":");
            JsonText::AppendString(entryBytes, m_outcome.originalReading.Written(match.original).text);
            if (source >= 0) {
                entryBytes.append(",\"source\":");
                entryBytes.append(QByteArray::number(source));
            }
            entryBytes.append(",\"verdict\":");
            JsonText::AppendString(entryBytes, verdict.text());
            entryBytes.append('}');
            previous = &match;
            previousSource = source;
        }
        if ((i > 0 && !write(out, QByteArrayLiteral(","))) || !write(out, entryBytes))
            return false;
    }
    if (m_options.NearMatches) {
        if (!write(out, QByteArrayLiteral("],\"near_matches\":[")))
            return false;
        const std::span<const NearSentence> original(m_outcome.originalSentences);
        const std::span<const NearSentence> edited(m_outcome.editedSentences);
        qsizetype written = 0;
        for (const MatchRow& row : m_outcome.rows) {
            if (row.kind != MatchRow::Kind::Near)
                continue;
            const NearMatch& match = m_outcome.near.matches.at(row.index);
            const NearExplanation explanation = Explain(m_outcome, match);
            QByteArray bytes;
            bytes.append("{\"added\":");
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
            if (written++ > 0)
                bytes.prepend(',');
            if (!write(out, bytes))
                return false;
        }
    }
    const QByteArray tail =
        QByteArrayLiteral("],\"originality\":") + jsonNumber(m_outcome.originality) +
        (sources.several() ? QByteArrayLiteral(",\"sources\":") + sourcesJson(sources) : QByteArray()) +
        QByteArrayLiteral(",\"suspicious\":") + suspiciousJson(m_outcome) + QByteArrayLiteral(",\"truncated\":") +
        (m_outcome.truncated ? QByteArrayLiteral("true") : QByteArrayLiteral("false")) + QByteArrayLiteral("}\n");
    return write(out, tail);
}

bool MatchReport::WriteText(QIODevice& out) const
{
    const QString warnings = TrickWarnings::Block(m_outcome);
    if (!warnings.isEmpty() && !write(out, warnings + QChar(u'\n')))
        return false;
    const SourceAttribution& sources = m_outcome.sources;
    const PhraseMatch* previous = nullptr;
    qint32 previousSource = -1;
    QByteArray body; // everything of an entry after its number
    for (const MatchRow& row : m_outcome.rows) {
        if (row.kind != MatchRow::Kind::Exact)
            continue;
        const qsizetype i = row.index;
        const PhraseMatch& match = m_outcome.matches.at(i);
        const qint32 source = sources.several() ? sources.exact.at(i) : -1;
        if (!previous || !(match == *previous) || source != previousSource) {
            QString text = source >= 0 ? sourceLine(sources, source) : QString();
            text += QStringLiteral(u"  Оригинал:  ") +
                    printable(m_outcome.originalReading.Written(match.original).text) + QChar(u'\n');
            text += QStringLiteral(u"  Изменено:  ") + printable(m_outcome.editedReading.Written(match.edited).text) +
                    QChar(u'\n');
            text += QStringLiteral(u"  Почему:\n");
            text += indented(m_outcome.Verdict(i, m_options, m_stemmer).text(), QStringLiteral("    "));
            text += QStringLiteral("\n\n");
            body = text.toUtf8();
            previous = &match;
            previousSource = source;
        }
        if (!write(out, QStringLiteral(u"Совпадение #%1\n").arg(i + 1)) || !write(out, body))
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
        if (!write(out, text))
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
    return write(out, closing);
}

QByteArray MatchReport::ToJson() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteJson(buffer);
    return bytes;
}
