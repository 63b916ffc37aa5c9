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
        if (script == Script::Cyrillic) {
            // A word the dictionary lacks joins the lemma whose forms share its stem.
            char stem[kMaxWordBytes];
            const size_t n = SnowballStemmer::Stem(SnowballStemmer::Language::Russian, form, stem, sizeof stem);
            std::string_view result = m_dictionary.LookupStem(std::string_view(stem, n));
            if (result.empty())
                result = std::string_view(stem, n);
            const size_t k = Utf8Prefix(result, cap);
            std::memcpy(out, result.data(), k);
            return k;
        }
        if (script == Script::Latin)
            return SnowballStemmer::Stem(SnowballStemmer::Language::English, form, out, cap);
    }
    const size_t n = Utf8Prefix(form, cap);
    std::memcpy(out, norm, n);
    return n;
}

} // namespace mhelper
