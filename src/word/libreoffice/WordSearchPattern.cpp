#include "word/libreoffice/WordSearchPattern.h"

namespace {

const QString AnySpace = QStringLiteral(u"[\\s\\x{00A0}\\x{2007}\\x{202F}]+");
const QString AnyHyphen = QStringLiteral(u"[-\\x{2010}\\x{2011}]");

bool IsSpace(QChar c)
{
    return c.isSpace() || c == QChar(0x00A0) || c == QChar(0x2007) || c == QChar(0x202F);
}

bool IsHyphen(QChar c)
{
    return c == u'-' || c == QChar(0x2010) || c == QChar(0x2011);
}

bool IsRegexSpecial(QChar c)
{
    return c.unicode() < 0x80 && !c.isLetterOrNumber() && !c.isSpace();
}

} // namespace

QString WordSearchPattern::Tolerant(const QString& text)
{
    QString pattern;
    pattern.reserve(text.size() * 2);
    bool inSpace = false;
    for (const QChar c : text) {
        if (IsSpace(c)) {
            if (!inSpace)
                pattern += AnySpace;
            inSpace = true;
            continue;
        }
        inSpace = false;
        if (c == QChar(0x00AD))
            continue;
        if (IsHyphen(c))
            pattern += AnyHyphen;
        else if (IsRegexSpecial(c))
            pattern += u'\\' + QString(c);
        else
            pattern += c;
    }
    return pattern;
}
