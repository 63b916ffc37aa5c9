#include "Morphology.h"

#include "SnowballStemmer.h"
#include "WordText.h"

namespace mhelper {

namespace {

Script ScriptOf(std::string_view s)
{
    bool latin = false;
    for (unsigned char c : s) {
        if (c >= 0xD0 && c <= 0xD3)
            return Script::Cyrillic;
        latin |= c >= 'a' && c <= 'z';
    }
    return latin ? Script::Latin : Script::Other;
}

// Particles written after a hyphen (какой-то, кто-нибудь): the word before them inflects.
bool IsParticle(std::string_view s)
{
    for (std::string_view p : {"то", "либо", "нибудь", "таки", "ка", "де"})
        if (s == p)
            return true;
    return false;
}

// ё or Ё in UTF-8.
bool IsYo(char a, char b)
{
    return (a == '\xD1' && b == '\x91') || (a == '\xD0' && b == '\x81');
}

bool HasYo(std::string_view s)
{
    for (size_t i = 0; i + 1 < s.size(); ++i)
        if (IsYo(s[i], s[i + 1]))
            return true;
    return false;
}

size_t Copy(std::string_view s, char* out, size_t cap)
{
    const size_t n = Utf8Prefix(s, cap);
    std::memcpy(out, s.data(), n);
    return n;
}

} // namespace

Morphology::Morphology(const std::string& dataPath) : m_status(m_dictionary.Open(dataPath)) {}

size_t Morphology::Stem(std::string_view word, char* out, size_t cap) const
{
    char norm[kMaxWordBytes];
    bool truncated = false;
    Script script = Script::Other;
    const size_t len = NormaliseWord(word, norm, sizeof norm, &truncated, &script);
    const std::string_view form(norm, len);
    if (truncated || len == 0)
        return Copy(form, out, cap);
    // A word written with ё is looked up with it first: the dictionary keys the few
    // spellings whose ё tells one word from another (берёг, сёл).
    if (script == Script::Cyrillic && HasYo(word) && len == word.size()) {
        char yo[kMaxWordBytes];
        std::memcpy(yo, norm, len);
        for (size_t i = 0; i + 1 < len; ++i)
            if (IsYo(word[i], word[i + 1]))
                std::memcpy(yo + i, "ё", 2);
        if (const std::string_view lemma = m_dictionary.Lookup(std::string_view(yo, len)); !lemma.empty())
            return Copy(lemma, out, cap);
    }
    if (const std::string_view lemma = m_dictionary.Lookup(form); !lemma.empty())
        return Copy(lemma, out, cap);
    // A hyphenated word the dictionary lacks: stem the part that inflects and keep the
    // other (какого-то -> какой-то, северо-западного -> северо-западный).
    const size_t hyphen = form.rfind('-');
    if (hyphen != std::string_view::npos && form.substr(0, hyphen) == "по")
        return Copy(form, out, cap); // по-русски and the like are adverbs of their own
    if (hyphen != std::string_view::npos && hyphen > 0 && hyphen + 1 < len) {
        const std::string_view head = form.substr(0, hyphen);
        const std::string_view tail = form.substr(hyphen + 1);
        char part[kMaxWordBytes];
        char joined[2 * kMaxWordBytes + 1];
        size_t n = 0;
        if (IsParticle(tail)) {
            n = StemPart(head, ScriptOf(head), part, sizeof part);
            std::memcpy(joined, part, n);
            joined[n++] = '-';
            std::memcpy(joined + n, tail.data(), tail.size());
            n += tail.size();
        } else {
            std::memcpy(joined, head.data(), head.size());
            n = head.size();
            joined[n++] = '-';
            n += StemPart(tail, ScriptOf(tail), joined + n, sizeof part);
        }
        return Copy(std::string_view(joined, n), out, cap);
    }
    return StemUnknown(form, script, out, cap); // looked up above
}

size_t Morphology::StemPart(std::string_view form, Script script, char* out, size_t cap) const
{
    if (const std::string_view lemma = m_dictionary.Lookup(form); !lemma.empty())
        return Copy(lemma, out, cap);
    return StemUnknown(form, script, out, cap);
}

size_t Morphology::StemUnknown(std::string_view form, Script script, char* out, size_t cap) const
{
    if (script == Script::Cyrillic) {
        // A word the dictionary lacks joins the lemma whose forms share its stem.
        char stem[kMaxWordBytes];
        const size_t n = SnowballStemmer::Stem(SnowballStemmer::Language::Russian, form, stem, sizeof stem);
        const std::string_view lemma = m_dictionary.LookupStem(std::string_view(stem, n));
        return Copy(lemma.empty() ? std::string_view(stem, n) : lemma, out, cap);
    }
    if (script == Script::Latin)
        return SnowballStemmer::Stem(SnowballStemmer::Language::English, form, out, cap);
    return Copy(form, out, cap);
}

} // namespace mhelper
