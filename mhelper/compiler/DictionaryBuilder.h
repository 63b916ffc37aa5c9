#pragma once

#include "AffixFile.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

struct sb_stemmer;

namespace mhelper {

// Builds mhelper.dat from spelling dictionaries and a list of irregular forms.
//
// Every dictionary entry is the lemma of the forms its flags make. Russian entries are
// then linked to the word they belong to, so that they share its lemma:
// - participles and gerunds listed as entries join their verb (читающий -> читать);
// - past and present tenses listed as entries join their verb (пришел -> прийти,
//   мог -> мочь, возьму -> взять, вырастет -> вырасти, съест -> съесть), and so do
//   the past tenses a noun's entry carries (смогли -> смочь beside смог the noun);
// - plural entries join their singular noun (весны -> весна);
// - entries without flags join the noun that makes them as a genitive plural without
//   ending (минут -> минута) or the verb that makes them as a past tense (сел, устали);
// - entries without flags that are a noun's or adjective's stem plus an ending join
//   that word (сургучом -> сургуч, образцов -> образец); adverbs and function words
//   that only share a Snowball stem stay apart (почему, чуть, много).
// Adjective forms that end in a lone -о/-е in place of the ending (adverbs and short
// neuters), and the -и of -ский adjectives (практически), are words of their own; the
// comparative in -ее joins that adverb (быстрее -> быстро). Nouns in -ия/-ие get the
// genitive plural their flags lack.
//
// A form that several lemmas make gets one lemma, by the first rule that decides:
// 1. a form listed in the irregular list; 2. the lemma that is the form itself (in
// Russian, unless it is a proper name: мира -> мир, or an entry without flags that
// another entry's flags make other than as an imperative: готов -> готовый; English
// -ing nouns join their verb); 3. the likelier part of speech: nouns (герой too)
// before adjectives before verbs, but a past tense goes to the verb (стали -> стать,
// гости -> гость); 4. a common word before a proper name (кости -> кость); 5. the
// lemma with the larger paradigm; 6. the alphabetically first. Irregular forms
// written with ё are keyed with it (берёг, сёл), and the library looks such a
// spelling up first.
//
// For words the dictionary lacks, the data file also maps each Snowball stem of the
// dictionary's forms to the lemma that has more than half of the forms with it.
class DictionaryBuilder
{
public:
    DictionaryBuilder();
    ~DictionaryBuilder();
    DictionaryBuilder(const DictionaryBuilder&) = delete;
    DictionaryBuilder& operator=(const DictionaryBuilder&) = delete;

    bool AddHunspell(const std::string& affPath, const std::string& dicPath, std::string& error);
    bool AddHunspellText(const std::string& affText, const std::string& dicText, std::string& error);
    // Lines: "form lemma" maps one form (a form written with ё that spelling only);
    // "= entry lemma" maps every form of an entry;
    // "! entry" keeps an entry from being linked to another word; "#" starts a comment.
    // Lemmas the list names are never linked to another word either.
    bool AddIrregular(const std::string& path, std::string& error);
    bool AddIrregularText(const std::string& text, std::string& error);

    bool Write(const std::string& path, std::string& error);
    // After Write: every lemma that makes the form, with what decided between them.
    std::string Explain(const std::string& form) const;

    size_t formCount() const { return m_records.size(); }
    size_t lemmaCount() const { return m_lemmas.size(); }

    // Normalises text the way the library normalises words.
    static std::string Normalise(const std::string& utf8);
    // The same with ё kept: the key of a form whose ё tells it from another word.
    static std::string NormaliseKeepingYo(const std::string& utf8);

private:
    struct Record
    {
        uint64_t hash;
        uint32_t lemma;
        uint8_t rank; // 0 irregular, 1 the lemma itself, 2 made by a rule
        uint8_t preference;
        bool past; // a past tense in a noun's entry (смогла in смог)
    };

    uint32_t LemmaId(const std::string& lemma);
    void AddEntry(const AffixFile& affixes, const std::string& word, const std::string& flags);
    void CollectVerbDerivatives(uint32_t verb, const std::vector<std::string>& forms);
    void LinkDerivatives();
    void LinkUnflagged();
    void LinkPresentTenses();
    void LinkPluralEntries();
    void LinkUnflaggedNounForms();
    void DeferUnflaggedForms();
    bool MakesAsForm(const Record& r, const std::string& form) const;
    // Hashes of the unflagged entries that another entry's flags make.
    std::unordered_set<uint64_t> FormsMadeByFlags() const;
    uint32_t FleetingVowelNoun(const std::string& stem, uint32_t id) const;
    void LinkPastTense(uint32_t id, std::string past, bool reflexive);
    uint32_t PastTenseVerb(uint32_t id, std::string past, bool reflexive) const;
    void MarkPastLike(uint32_t id, bool pastLike);
    void IndexStem(const std::string& form, uint32_t lemma);
    std::string SuffixStem(const std::string& word) const;
    uint32_t Canonical(uint32_t lemma) const;
    bool IsVerb(uint32_t lemma) const;

    std::vector<std::string> m_lemmas;
    std::unordered_map<std::string, uint32_t> m_lemmaIds;
    std::vector<uint32_t> m_links;
    std::vector<uint32_t> m_paradigm;
    std::vector<Record> m_records;
    std::unordered_map<std::string, uint32_t> m_derivativeOf; // participle -> verb
    std::unordered_map<std::string, uint32_t> m_gerundOf;     // gerund -> verb
    std::unordered_set<std::string> m_notDerivative;
    std::vector<std::pair<std::string, std::string>> m_entryLinks;
    bool m_linked = false;
    sb_stemmer* m_stemmer;
    // Suffix-rule stem -> lemmas whose forms have it, with how many forms.
    std::unordered_map<std::string, std::vector<std::pair<uint32_t, uint32_t>>> m_stemIndex;
    std::vector<uint32_t> m_unflagged;
    // By lemma: 0 not seen, 1 every entry's forms are past tenses, 2 otherwise.
    std::vector<uint8_t> m_pastLike;
    std::vector<uint8_t> m_verbs; // by lemma: 1 for a Russian verb
    std::vector<uint32_t> m_pluralEntries;
    std::vector<uint8_t> m_properNames;                // by lemma: 1 when an entry was capitalised
    std::vector<uint32_t> m_mixedPast;                 // noun entries that carry past tenses
    std::unordered_map<uint32_t, uint32_t> m_pastVerb; // such an entry -> its verb
};

} // namespace mhelper
