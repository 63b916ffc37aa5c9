#pragma once

#include <QByteArray>
#include <QString>

// Decodes 8-bit text in a Windows code page. 1251 and 1252 are built in; other code
// pages go through Qt's codecs and fall back to 1252 where Qt has none.
class CodePage
{
public:
    static QString Decode(const QByteArray& bytes, int codePage);
    // The code page an RTF font character set stands for, 0 when it has none.
    static int FromCharset(int charset);
    static char16_t From1251(unsigned char byte);
    static char16_t From1252(unsigned char byte);
};
