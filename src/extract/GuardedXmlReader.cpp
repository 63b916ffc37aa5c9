#include "extract/GuardedXmlReader.h"

#include "extract/CodePage.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <cstring>
#include <type_traits>
#include <vector>

namespace {

// Scans start and end tags, skipping comments, CDATA and processing instructions, over
// UTF-16 units or UTF-8 bytes alike: every delimiter is ASCII, and no byte of a UTF-8
// multi-byte character is. Malformed markup ends the scan quietly: the reader itself
// reports it, and can read no further than the point where the markup broke.
template <typename Char> class TagScanner
{
public:
    TagScanner(const Char* p, qsizetype n, int maxDepth) : m_p(p), m_n(n), m_maxDepth(maxDepth) {}

    QString Scan()
    {
        while (skipTo('<')) {
            if (startsWith("<!--")) {
                if (!skipPast("-->", 4))
                    break;
            } else if (startsWith("<![CDATA[")) {
                if (!skipPast("]]>", 9))
                    break;
            } else if (startsWith("<?")) {
                if (!skipPast("?>", 2))
                    break;
            } else if (startsWith("<!")) {
                break; // a DTD: the reader refuses the document there
            } else if (startsWith("</")) {
                if (!m_scope.empty()) {
                    m_inScope -= m_scope.back();
                    m_scope.pop_back();
                }
                if (!skipTo('>'))
                    break;
                ++m_i;
            } else {
                ++m_i;
                QString why;
                if (!startTag(why))
                    return why;
                if (int(m_scope.size()) > m_maxDepth)
                    break; // the reader refuses the nesting there
            }
        }
        return {};
    }

private:
    // The unit at i; past the end a NUL, which is no delimiter, so lookahead needs no
    // bounds check of its own.
    char16_t at(qsizetype i) const
    {
        return i < m_n ? char16_t(static_cast<std::make_unsigned_t<Char>>(m_p[i])) : char16_t(0);
    }
    bool isSpace(qsizetype i) const
    {
        const char16_t c = at(i);
        return c == ' ' || c == '\t' || c == '\n' || c == '\r';
    }
    bool startsWith(const char* s) const
    {
        for (qsizetype k = 0; s[k]; ++k)
            if (m_i + k >= m_n || at(m_i + k) != char16_t(s[k]))
                return false;
        return true;
    }
    bool skipTo(char c)
    {
        while (m_i < m_n && at(m_i) != char16_t(c))
            ++m_i;
        return m_i < m_n;
    }
    // Moves past the first end marker at or after `from` units into the construct.
    bool skipPast(const char* end, qsizetype from)
    {
        for (m_i += from; m_i < m_n; ++m_i)
            if (startsWith(end)) {
                m_i += qsizetype(std::strlen(end));
                return true;
            }
        return false;
    }
    void skipSpaces()
    {
        while (m_i < m_n && isSpace(m_i))
            ++m_i;
    }
    bool nameEnds(qsizetype i) const
    {
        const char16_t c = at(i);
        return isSpace(i) || c == '=' || c == '>' || c == '/';
    }

    // From just after '<' to just after the tag's '>'. False with a reason when the
    // element breaks a limit; true otherwise, also when the markup is malformed.
    bool startTag(QString& why)
    {
        while (m_i < m_n && !nameEnds(m_i))
            ++m_i;
        int attributes = 0;
        int namespaces = 0;
        for (;;) {
            skipSpaces();
            if (m_i >= m_n)
                return true;
            if (at(m_i) == '>' || startsWith("/>")) {
                const bool empty = at(m_i) == '/';
                m_i += empty ? 2 : 1;
                if (!empty) {
                    m_scope.push_back(namespaces);
                    m_inScope += namespaces;
                }
                return true;
            }
            const bool declaration = startsWith("xmlns") && (nameEnds(m_i + 5) || at(m_i + 5) == ':');
            const qsizetype nameStart = m_i;
            while (m_i < m_n && !nameEnds(m_i))
                ++m_i;
            skipSpaces();
            if (m_i == nameStart || m_i >= m_n || at(m_i) != '=')
                return true;
            ++m_i;
            skipSpaces();
            if (m_i >= m_n || (at(m_i) != '"' && at(m_i) != '\''))
                return true;
            if (!skipTo(char(at(m_i++))))
                return true;
            ++m_i;
            if (++attributes > GuardedXmlReader::kMaxAttributes) {
                why = QStringLiteral(u"слишком сложная разметка документа: много атрибутов у одного элемента");
                return false;
            }
            if (declaration && m_inScope + ++namespaces > GuardedXmlReader::kMaxNamespaces) {
                why = QStringLiteral(u"слишком сложная разметка документа: много пространств имён");
                return false;
            }
        }
    }

    const Char* m_p;
    qsizetype m_n;
    qsizetype m_i = 0;
    int m_maxDepth;
    std::vector<int> m_scope; // namespace declarations of each open element
    int m_inScope = 0;
};

// True when Qt's reader will read the bytes as UTF-8 whatever else they say: no
// byte-order mark or pattern of another encoding, and no other encoding declared.
bool isPlainUtf8(const QByteArray& bytes)
{
    const QByteArray start = bytes.left(4);
    if (start.contains('\0') || start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF"))
        return false;
    const qsizetype skip = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (!QByteArrayView(bytes).sliced(skip).startsWith("<?xml"))
        return true;
    const qsizetype end = bytes.indexOf("?>", skip);
    if (end < 0 || end > 4096)
        return false;
    const QByteArray declaration = bytes.sliced(skip, end - skip);
    const qsizetype encoding = declaration.indexOf("encoding");
    if (encoding < 0)
        return true;
    QByteArray value = declaration.sliced(encoding + 8).trimmed();
    if (!value.startsWith('='))
        return false;
    value = value.sliced(1).trimmed();
    if (value.size() < 2 || (value.at(0) != '"' && value.at(0) != '\''))
        return false;
    value = value.sliced(1, value.indexOf(value.at(0), 1) - 1).toLower();
    return value == "utf-8" || value == "utf8";
}

} // namespace

QString GuardedXmlReader::Decode(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    const bool le = bytes.startsWith("\xFF\xFE") || bytes.startsWith(QByteArrayView("<\0", 2));
    const bool be = bytes.startsWith("\xFE\xFF") || bytes.startsWith(QByteArrayView("\0<", 2));
    if (le || be) {
        QStringDecoder decoder(le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return decoder(bytes);
    }
    // An 8-bit encoding named in the declaration; anything else reads as UTF-8.
    static const QRegularExpression kDeclaration(
        QStringLiteral("^<\\?xml[^>]*encoding\\s*=\\s*[\"']([A-Za-z0-9._-]{1,64})[\"']"));
    const QRegularExpressionMatch match = kDeclaration.match(QString::fromLatin1(bytes.left(4096)));
    if (match.hasMatch()) {
        const QString name = match.captured(1).toLower();
        if (!name.startsWith(QStringLiteral("utf")) && !name.startsWith(QStringLiteral("ucs"))) {
            // Code pages by number, so that they decode where Qt has no codecs (Windows).
            if (const int codePage = CodePage::FromName(name.toLatin1()))
                return CodePage::Decode(bytes, codePage);
            QStringDecoder decoder(name.toLatin1().constData());
            if (decoder.isValid())
                return decoder(bytes);
        }
    }
    return QString::fromUtf8(bytes);
}

QString GuardedXmlReader::CheckTags(QStringView text, int maxDepth)
{
    return TagScanner<char16_t>(text.utf16(), text.size(), maxDepth).Scan();
}

GuardedXmlReader::GuardedXmlReader(const QByteArray& bytes, int maxDepth) : m_maxDepth(maxDepth)
{
    // UTF-8, as packages almost always are, goes to the reader as it is. Anything else
    // is decoded here and given as characters, which the reader takes without looking
    // at the declared encoding: it must read exactly what was scanned.
    if (isPlainUtf8(bytes)) {
        m_bytes = bytes;
        m_xml.addData(m_bytes);
    } else {
        m_text = Decode(bytes);
        m_xml.addData(m_text);
    }
}

bool GuardedXmlReader::Next(QString& why)
{
    if (!m_scanned) {
        m_scanned = true;
        why = m_text.isNull() ? TagScanner<char>(m_bytes.constData(), m_bytes.size(), m_maxDepth).Scan()
                              : CheckTags(m_text, m_maxDepth);
        if (!why.isEmpty())
            return false;
    }
    if (m_leaving) {
        --m_depth;
        m_leaving = false;
    }
    if (m_xml.atEnd()) {
        if (m_xml.hasError())
            why = m_xml.errorString();
        return false;
    }
    switch (m_xml.readNext()) {
    case QXmlStreamReader::DTD:
    case QXmlStreamReader::EntityReference:
        why = QStringLiteral(u"в разметке документа есть недопустимые определения (DTD)");
        return false;
    case QXmlStreamReader::Invalid:
        why = m_xml.errorString();
        return false;
    case QXmlStreamReader::StartElement:
        if (++m_depth > m_maxDepth) {
            why = QStringLiteral(u"слишком сложная разметка документа: глубокая вложенность");
            return false;
        }
        break;
    case QXmlStreamReader::EndElement:
        m_leaving = true;
        break;
    default:
        break;
    }
    return true;
}
