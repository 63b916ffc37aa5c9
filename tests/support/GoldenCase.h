#pragma once

#include "ThesaurusBytes.h"
#include "check/CheckOptions.h"
#include "morph/Thesaurus.h"
#include "phrases/TextOps.h"

#include <QDebug>
#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

// A golden case of the Check: <case>.original.txt, <case>.edited.txt and
// <case>.expected.json, with optional <case>.options.json and <case>.stems.txt.
namespace GoldenCase {

// Applies <case>.options.json, when present, to options; false when it is no JSON object.
inline bool ReadOptions(const QString& base, CheckOptions& options)
{
    QFile file(base + QStringLiteral(".options.json"));
    if (!file.open(QIODevice::ReadOnly))
        return true;
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll(), &error).object();
    if (error.error != QJsonParseError::NoError)
        return false;
    options.Delimiters1 = object.value(QStringLiteral("Delimiters1")).toString(options.Delimiters1);
    options.Delimiters2 = object.value(QStringLiteral("Delimiters2")).toString(options.Delimiters2);
    options.MinWords = object.value(QStringLiteral("MinWords")).toInt(options.MinWords);
    options.MaxMatches = object.value(QStringLiteral("MaxMatches")).toInt(int(options.MaxMatches));
    options.NearMatches = object.value(QStringLiteral("NearMatches")).toBool(options.NearMatches);
    options.Near.threshold = object.value(QStringLiteral("NearThreshold")).toInt(options.Near.threshold);
    return true;
}

// Reads "form<TAB>stem" lines of <case>.stems.txt (forms in lower case, as the stemmer
// is asked for them). A missing file is no map; a line of another shape fails the case.
inline bool ReadStems(const QString& base, QHash<QString, QString>& stems)
{
    QFile file(base + QStringLiteral(".stems.txt"));
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QChar(u'\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QStringList fields = line.split(QChar(u'\t'));
        if (fields.size() != 2 || fields.at(0).isEmpty() || fields.at(1).isEmpty() ||
            fields.at(0) != LowerCaseWord(fields.at(0))) {
            qWarning().noquote() << "bad stem line:" << line;
            return false;
        }
        stems.insert(fields.at(0), fields.at(1));
    }
    return true;
}

// Reads "lemma<TAB>lemma" lines of <case>.synonyms.txt into a thesaurus. A missing
// file is none.
inline bool ReadSynonyms(const QString& base, Thesaurus& thesaurus)
{
    QFile file(base + QStringLiteral(".synonyms.txt"));
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QList<std::pair<QString, QString>> pairs;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QChar(u'\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QStringList fields = line.split(QChar(u'\t'));
        if (fields.size() != 2 || fields.at(0).isEmpty() || fields.at(1).isEmpty())
            return false;
        pairs.append(std::make_pair(fields.at(0), fields.at(1)));
    }
    QString problem;
    thesaurus = Thesaurus::FromData(ThesaurusBytes(pairs), &problem);
    return problem.isEmpty() && !thesaurus.isEmpty();
}

} // namespace GoldenCase
