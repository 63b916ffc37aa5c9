#include "check/MatchReport.h"

#include "check/CheckCommand.h"
#include "check/CheckOptions.h"
#include "compare/ExplainMatch.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

QJsonArray kindNames(const MatchVerdict& verdict)
{
    QJsonArray kinds;
    for (VerdictKind kind : verdict.kinds)
        kinds.append(VerdictKindName(kind));
    return kinds;
}

} // namespace

bool MatchReport::WriteJson(QIODevice& out) const
{
    if (!write(out, QByteArrayLiteral("{\"matches\":[")))
        return false;
    for (qsizetype i = 0; i < m_outcome.matches.size(); ++i) {
        const PhraseMatch& match = m_outcome.matches.at(i);
        const MatchVerdict verdict =
            AnalyseMatch(match.original, match.edited, *m_outcome.dictionary, m_options, m_stemmer);
        QJsonObject entry;
        entry.insert(QStringLiteral("original"), match.original);
        entry.insert(QStringLiteral("edited"), match.edited);
        entry.insert(QStringLiteral("verdict"), verdict.text());
        entry.insert(QStringLiteral("kinds"), kindNames(verdict));
        QByteArray bytes = QJsonDocument(entry).toJson(QJsonDocument::Compact);
        if (i > 0)
            bytes.prepend(',');
        if (!write(out, bytes))
            return false;
    }
    const QByteArray tail = QByteArrayLiteral("],\"truncated\":") +
                            (m_outcome.truncated ? QByteArrayLiteral("true") : QByteArrayLiteral("false")) +
                            QByteArrayLiteral("}\n");
    return write(out, tail);
}

bool MatchReport::WriteText(QIODevice& out) const
{
    for (qsizetype i = 0; i < m_outcome.matches.size(); ++i) {
        const PhraseMatch& match = m_outcome.matches.at(i);
        QString text = QStringLiteral(u"Совпадение #%1\n").arg(i + 1);
        text += QStringLiteral(u"  Оригинал:  ") + printable(match.original) + QChar(u'\n');
        text += QStringLiteral(u"  Изменено:  ") + printable(match.edited) + QChar(u'\n');
        text += QStringLiteral(u"  Почему:\n");
        text += indented(ExplainMatch(match.original, match.edited, *m_outcome.dictionary, m_options, m_stemmer),
                         QStringLiteral("    "));
        text += QStringLiteral("\n\n");
        if (!write(out, text))
            return false;
    }
    QString closing;
    if (m_outcome.matches.isEmpty())
        closing =
            QStringLiteral(u"Совпадений нет: изменённая копия не совпадает с оригиналом ни в одном предложении.\n");
    else
        closing = QStringLiteral(u"Найдено совпадений: %1.\n").arg(m_outcome.matches.size());
    if (m_outcome.truncated)
        closing += QStringLiteral(u"Список обрезан: показаны первые %1 совпадений.\n").arg(m_options.MaxMatches);
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
