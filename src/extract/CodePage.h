#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Decodes 8-bit text in a Windows code page. 1251 and 1252 are built in; other code
// pages go through the platform's decoder and fall back to 1252 where it has none.
class CodePage
{
public:
    static QString Decode(const QByteArray& bytes, int codePage);
    // The code page of an encoding name as XML and HTML give it ("windows-1251",
    // "koi8-r", "cp866"), 0 when it is not one.
    static int FromName(QByteArrayView name);
    // The code page an RTF font character set stands for, 0 when it has none.
    static int FromCharset(int charset);
    // Whether Decode reads this code page as itself rather than as 1252.
    static bool IsKnown(int codePage);
    // Whether the byte starts a two-byte character in this code page (932, 936, 949, 950).
    static bool IsLeadByte(unsigned char byte, int codePage);
    static char16_t From1251(unsigned char byte);
    static char16_t From1252(unsigned char byte);
};

// The platform's decoder for code pages that are not built in: Qt's codecs (ICU) on
// Linux, the system's own tables on Windows, whose Qt has no codecs beyond UTF and Latin-1.
namespace SystemCodePage {
// False when the platform cannot decode this code page.
bool Decode(const QByteArray& bytes, int codePage, QString& text);
} // namespace SystemCodePage
