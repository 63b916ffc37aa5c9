#include "extract/CodePage.h"

#include <QStringDecoder>

#include <unordered_map>

bool SystemCodePage::Decode(const QByteArray& bytes, int codePage, QString& text)
{
    // One decoder per code page and thread: creating one looks the codec up by name.
    thread_local std::unordered_map<int, QStringDecoder> decoders;
    auto it = decoders.find(codePage);
    if (it == decoders.end()) {
        QByteArray name = codePage >= 1250 && codePage <= 1258 ? "windows-" + QByteArray::number(codePage)
                                                               : "cp" + QByteArray::number(codePage);
        if (codePage == 20866)
            name = "KOI8-R";
        else if (codePage == 21866)
            name = "KOI8-U";
        else if (codePage == 10000)
            name = "macintosh";
        else if (codePage > 28590 && codePage < 28600)
            name = "ISO-8859-" + QByteArray::number(codePage - 28590);
        it = decoders.emplace(codePage, QStringDecoder(name.constData(), QStringConverter::Flag::Stateless)).first;
    }
    if (!it->second.isValid())
        return false;
    text = it->second.decode(bytes);
    return true;
}
