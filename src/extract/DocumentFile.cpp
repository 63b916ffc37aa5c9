#include "extract/DocumentFile.h"

QByteArrayList DocumentFile::Match(const QStringList& shown, const QByteArrayList& native)
{
    QByteArrayList matched;
    for (const QString& argument : shown)
        matched.append(NativeName(argument));
    qsizetype next = native.size() - 1;
    for (qsizetype k = shown.size() - 1; k >= 0; --k) {
        qsizetype i = next;
        while (i >= 0 && DisplayName(native.at(i)) != shown.at(k))
            --i;
        if (i < 0)
            continue;
        matched[k] = native.at(i);
        next = i - 1;
    }
    return matched;
}
