#pragma once

#include <QHash>
#include <QString>

class Stemmer;
struct CheckOptions;

// Numbers every distinct stem of the original document's kept sentences: 0, 1, 2 ...
// in order of first appearance. Built once from the extracted text, never changed.
class CStemDictionary
{
public:
    CStemDictionary(const QString& originalText, const CheckOptions& options, Stemmer& stemmer);

    // The stem's number, or -1 when the stem is not a key. Never adds a key.
    qint32 Lookup(const QString& stem) const { return m_numbers.value(stem, -1); }
    qsizetype size() const { return m_numbers.size(); }

private:
    QHash<QString, qint32> m_numbers;
};
