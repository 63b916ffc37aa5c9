#include "phrases/CStemDictionary.h"

#include "phrases/TextWords.h"

CStemDictionary::CStemDictionary(const QString& originalText, const SplitOptions& options, Stemmer& stemmer)
{
    WordForms forms(stemmer);
    *this = CStemDictionary(TextWords(originalText, options, forms), forms);
}

CStemDictionary::CStemDictionary(const TextWords& original, WordForms& forms)
{
    // Forms already met have their stems numbered already.
    std::vector<bool> seen;
    for (qsizetype i = 0; i < original.size(); ++i)
        for (const qint32 form : original.forms(i)) {
            if (size_t(form) >= seen.size())
                seen.resize(size_t(form) + 1 + seen.size() / 2, false);
            if (seen[size_t(form)])
                continue;
            seen[size_t(form)] = true;
            m_numbers.intern(forms.stems().at(forms.stemOf(form)));
        }
}
