#pragma once

#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

class Stemmer;
class TextWords;
class WordForms;
struct SplitOptions;

// Numbers every distinct stem of the original document's kept sentences: 0, 1, 2 ...
// in order of first appearance. Built once from the extracted text, never changed.
class CStemDictionary
{
public:
    CStemDictionary(const QString& originalText, const SplitOptions& options, Stemmer& stemmer);
    // From the original already split, each form stemmed once through forms, whose
    // stems the dictionary shares rather than copies.
    CStemDictionary(const TextWords& original, std::shared_ptr<WordForms> forms);

    // The stem's number, or -1 when the stem is not a key. Never adds a key.
    qint32 Lookup(QStringView stem) const;
    // Whether the dictionary was built with these forms, so LookupStem answers for them.
    bool Shares(const WordForms& forms) const { return m_forms.get() == &forms; }
    // The same for a stem of the forms the dictionary was built with, by its number there.
    qint32 LookupStem(qint32 stem) const
    {
        return size_t(stem) < m_numberOfStem.size() ? m_numberOfStem[size_t(stem)] : -1;
    }
    qsizetype size() const { return m_size; }

private:
    std::shared_ptr<WordForms> m_forms;
    std::vector<qint32> m_numberOfStem; // by stem of m_forms, -1 for none
    qint32 m_size = 0;
};
