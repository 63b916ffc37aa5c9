#include "RussianWords.h"

namespace mhelper {

bool EndsWith(const std::string& s, const char* suffix)
{
    return s.ends_with(suffix);
}

// Drops n two-byte (Cyrillic) characters from the end.
std::string Cut(const std::string& s, size_t n)
{
    return s.size() >= 2 * n ? s.substr(0, s.size() - 2 * n) : std::string();
}

bool IsRussianVerb(const std::string& lemma)
{
    for (const char* e : {"ть", "ти", "чь", "ться", "тись", "чься"})
        if (EndsWith(lemma, e))
            return true;
    return false;
}

bool IsAdjective(const std::string& lemma)
{
    return EndsWith(lemma, "ый") || EndsWith(lemma, "ий") || EndsWith(lemma, "ой");
}

// Which lemma a form shared by several is more likely to belong to in running text:
// nouns before adjectives before verbs, except that a past tense (стали, пила) goes to
// the verb; among adjectives the stressed -ой (большой, любой) before -ый/-ий.
uint8_t Preference(const std::string& lemma, bool verb, const std::string& form)
{
    if (verb) {
        // The imperative of an -ить verb is its infinitive's stem (сели of селить), not
        // a past tense (сели of сесть).
        if (form == Cut(lemma, 2))
            return 10;
        for (const char* e : {"л", "ла", "ло", "ли", "лся", "лась", "лось", "лись"})
            if (EndsWith(form, e))
                return 30;
        return 10;
    }
    if (IsAdjective(lemma))
        return EndsWith(lemma, "ой") ? 16 : 15;
    return 20;
}

// Endings of noun and adjective forms that a spelling dictionary lists on their own
// (сургучом, чайке, свежа): such a word joins the lemma whose forms share its stem.
bool HasNominalEnding(const std::string& w)
{
    for (const char* e : {"а",  "я",  "е",   "и",   "ы",  "ь",  "ом",  "ем",  "ой",  "ей",  "ою", "ею", "ам", "ям",
                          "ах", "ях", "ами", "ями", "ов", "ев", "ого", "его", "ому", "ему", "ым", "им", "ых", "их"})
        if (EndsWith(w, e))
            return !EndsWith(w, "ся") && !EndsWith(w, "сь");
    return false;
}

bool HasAdjectiveEnding(const std::string& w)
{
    for (const char* e : {"ого", "его", "ому", "ему", "ым", "им", "ых", "их", "ая",  "яя",
                          "ую",  "юю",  "ое",  "ее",  "ые", "ие", "ой", "ей", "ыми", "ими"})
        if (EndsWith(w, e))
            return true;
    return false;
}

bool IsInflectionOf(const std::string& w, const std::string& lemma)
{
    std::string stem = lemma;
    if (IsAdjective(lemma))
        stem = Cut(lemma, 2);
    else
        for (const char* e : {"а", "я", "о", "е", "ь", "й", "ы", "и"})
            if (EndsWith(lemma, e)) {
                stem = Cut(lemma, 1);
                break;
            }
    std::string fleeting;
    if (stem.size() >= 6) {
        const std::string vowel = stem.substr(stem.size() - 4, 2);
        if (vowel == "е" || vowel == "о")
            fleeting = stem.substr(0, stem.size() - 4) + stem.substr(stem.size() - 2);
    }
    static const char* const kEndings[] = {
        "а",  "я",  "е",  "и",   "ы",   "у",  "ю",  "ь",   "ом",  "ем",  "ой",  "ей",  "ою",  "ею",   "ам",
        "ям", "ах", "ях", "ами", "ями", "ов", "ев", "ого", "его", "ому", "ему", "ым",  "им",  "ых",   "их",
        "ая", "яя", "ую", "юю",  "ое",  "ее", "ые", "ие",  "ыми", "ими", "ья",  "ьев", "ьям", "ьями", "ьях"};
    for (const std::string& s : {stem, fleeting}) {
        if (s.empty() || w.size() <= s.size() || w.compare(0, s.size(), s) != 0)
            continue;
        const std::string ending = w.substr(s.size());
        // A bare -ь is a genitive plural of -я nouns only (дедуль), not чуть of чутье.
        if (ending == "ь" && !EndsWith(lemma, "я"))
            continue;
        // A feminine instrumental is a feminine noun's (душой of душа, not of душ).
        if ((ending == "ой" || ending == "ою" || ending == "ею") && !IsAdjective(lemma) && !EndsWith(lemma, "а") &&
            !EndsWith(lemma, "я"))
            continue;
        // Endings only an adjective has (меряя is no form of мера).
        if (!IsAdjective(lemma) && HasAdjectiveEnding(ending) && ending != "ой" && ending != "ей")
            continue;
        for (const char* e : kEndings)
            if (ending == e)
                return true;
    }
    return false;
}

} // namespace mhelper
