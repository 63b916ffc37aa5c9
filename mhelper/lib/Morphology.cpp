#include "Morphology.h"

#include "SnowballStemmer.h"
#include "WordText.h"

namespace mhelper {

Morphology::Morphology(const std::string& dataPath) : m_status(m_dictionary.Open(dataPath)) {}

size_t Morphology::Stem(std::string_view word, char* out, size_t cap) const
{
    char norm[kMaxWordBytes];
    bool truncated = false;
    Script script = Script::Other;
    const size_t len = NormaliseWord(word, norm, sizeof norm, &truncated, &script);
    const std::string_view form(norm, len);
    if (!truncated && len > 0) {
        const std::string_view lemma = m_dictionary.Lookup(form);
        if (!lemma.empty()) {
            const size_t n = Utf8Prefix(lemma, cap);
            std::memcpy(out, lemma.data(), n);
            return n;
        }
        if (script == Script::Cyrillic)
            return SnowballStemmer::Stem(SnowballStemmer::Language::Russian, form, out, cap);
        if (script == Script::Latin)
            return SnowballStemmer::Stem(SnowballStemmer::Language::English, form, out, cap);
    }
    const size_t n = Utf8Prefix(form, cap);
    std::memcpy(out, norm, n);
    return n;
}

} // namespace mhelper
