#pragma once

#include "morph/SynonymFormat.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <algorithm>
#include <map>
#include <set>
#include <utility>
#include <vector>

// synonyms.dat as its compiler writes it, for the given pairs of lemmas.
inline QByteArray ThesaurusBytes(const QList<std::pair<QString, QString>>& pairs)
{
    const auto put32 = [](QByteArray& out, quint32 v) {
        for (int i = 0; i < 4; ++i)
            out.append(char((v >> (8 * i)) & 0xFF));
    };
    std::set<QByteArray> words;
    for (const auto& [a, b] : pairs)
        words.insert({a.toUtf8(), b.toUtf8()});
    const std::vector<QByteArray> sorted(words.begin(), words.end());
    const auto index = [&sorted](const QString& w) {
        return quint32(std::lower_bound(sorted.begin(), sorted.end(), w.toUtf8()) - sorted.begin());
    };
    std::map<quint32, std::set<quint32>> links;
    for (const auto& [a, b] : pairs) {
        links[index(a)].insert(index(b));
        links[index(b)].insert(index(a));
    }
    QByteArray body;
    quint32 offset = 0;
    for (const QByteArray& w : sorted) {
        put32(body, offset);
        offset += quint32(w.size());
    }
    put32(body, offset);
    quint32 count = 0;
    for (quint32 i = 0; i < sorted.size(); ++i) {
        put32(body, count);
        count += quint32(links[i].size());
    }
    put32(body, count);
    for (quint32 i = 0; i < sorted.size(); ++i)
        for (quint32 v : links[i])
            put32(body, v);
    for (const QByteArray& w : sorted)
        body += w;
    QByteArray file(synonymformat::kMagic, 8);
    put32(file, synonymformat::kVersion);
    put32(file, quint32(sorted.size()));
    put32(file, count);
    put32(file, offset);
    put32(file,
          synonymformat::Checksum(reinterpret_cast<const unsigned char*>(body.constData()), quint64(body.size())));
    put32(file, 0);
    return file + body;
}
