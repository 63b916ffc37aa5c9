#include "phrases/WordNumberCache.h"

#include "phrases/CStemDictionary.h"
#include "phrases/TextOps.h"

qint32 WordNumberCache::number(QStringView word)
{
    const auto it = m_numbers.constFind(Form{word});
    if (it != m_numbers.constEnd())
        return *it;
    const qint32 result = m_dictionary.Lookup(NormalizeWord(word.toString(), m_stemmer));
    m_numbers.insert(Form{word}, result);
    return result;
}
