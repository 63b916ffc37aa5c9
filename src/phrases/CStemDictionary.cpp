#include "phrases/CStemDictionary.h"

#include "phrases/TextWords.h"

CStemDictionary::CStemDictionary(const QString& originalText, const SplitOptions& options, Stemmer& stemmer)
{
    auto forms = std::make_shared<WordForms>(stemmer);
    const TextWords original(originalText, options, *forms);
    *this = CStemDictionary(original, forms);
}

CStemDictionary::CStemDictionary(const TextWords& original, std::shared_ptr<WordForms> forms)
    : m_forms(std::move(forms))
{
    // Forms already met have their stems numbered already.
    std::vector<bool> seen(size_t(m_forms->size()), false);
    for (qsizetype i = 0; i < original.size(); ++i)
        for (const qint32 form : original.forms(i)) {
            if (seen[size_t(form)])
                continue;
            seen[size_t(form)] = true;
            const qint32 stem = m_forms->stemOf(form);
            if (size_t(stem) >= m_numberOfStem.size())
                m_numberOfStem.resize(size_t(stem) + 1 + m_numberOfStem.size() / 2, -1);
            if (m_numberOfStem[size_t(stem)] < 0)
                m_numberOfStem[size_t(stem)] = m_size++;
        }
    m_numberOfStem.shrink_to_fit();
}

qint32 CStemDictionary::Lookup(QStringView stem) const
{
    const qint32 number = m_forms->stems().find(stem);
    return number >= 0 ? LookupStem(number) : -1;
}
