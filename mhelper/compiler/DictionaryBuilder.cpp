#include "DictionaryBuilder.h"

#include "DataFileWriter.h"
#include "DataFormat.h"
#include "RussianWords.h"
#include "WordText.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <libstemmer.h>
#include <sstream>

namespace mhelper {

namespace {

bool ReadFile(const std::string& path, std::string& text, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

} // namespace

std::string DictionaryBuilder::Normalise(const std::string& utf8)
{
    std::string out(utf8.size() + 4, '\0');
    bool truncated = false;
    Script script;
    out.resize(NormaliseWord(utf8, out.data(), out.size(), &truncated, &script));
    return out;
}

std::string DictionaryBuilder::NormaliseKeepingYo(const std::string& utf8)
{
    std::string out = Normalise(utf8);
    if (out.size() != utf8.size())
        return out;
    for (size_t i = 0; i + 1 < utf8.size(); ++i)
        if (utf8.compare(i, 2, "ё") == 0 || utf8.compare(i, 2, "Ё") == 0)
            out.replace(i, 2, "ё");
    return out;
}

uint32_t DictionaryBuilder::LemmaId(const std::string& lemma)
{
    auto [it, added] = m_lemmaIds.emplace(lemma, uint32_t(m_lemmas.size()));
    if (added) {
        m_lemmas.push_back(lemma);
        m_links.push_back(it->second);
    }
    return it->second;
}

bool DictionaryBuilder::AddHunspell(const std::string& affPath, const std::string& dicPath, std::string& error)
{
    std::string aff, dic;
    if (!ReadFile(affPath, aff, error) || !ReadFile(dicPath, dic, error))
        return false;
    return AddHunspellText(aff, dic, error);
}

bool DictionaryBuilder::AddHunspellText(const std::string& affText, const std::string& dicText, std::string& error)
{
    AffixFile affixes;
    if (!affixes.LoadText(affText, error))
        return false;
    std::istringstream lines(dicText);
    std::string line;
    bool first = true;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (first) {
            first = false;
            if (!line.empty() && std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; }))
                continue;
        }
        const size_t end = line.find_first_of(" \t");
        if (end != std::string::npos)
            line.resize(end);
        const size_t slash = line.find('/');
        std::string word = line.substr(0, slash);
        std::string flags = slash == std::string::npos ? std::string() : line.substr(slash + 1);
        if (word.empty() || word.size() > 200)
            continue;
        AddEntry(affixes, word, flags);
    }
    return true;
}

void DictionaryBuilder::AddEntry(const AffixFile& affixes, const std::string& word, const std::string& flags)
{
    const std::string lemma = Normalise(word);
    const uint32_t id = LemmaId(lemma);
    std::vector<AffixFile::Form> forms;
    affixes.Expand(FromUtf8(word), FromUtf8(flags), forms);
    // A verb by its ending and by its forms: nouns in -ть (гость, часть) have no
    // past tense nor second person.
    const bool verb =
        !flags.empty() && IsRussianVerb(lemma) && std::any_of(forms.begin(), forms.end(), [](const AffixFile::Form& f) {
            const std::string form = ToUtf8(f.text);
            for (const char* e : {"л", "ла", "ешь", "ишь", "ете", "ите", "лся", "лась"})
                if (EndsWith(form, e))
                    return true;
            return false;
        });
    if (m_verbs.size() < m_lemmas.size())
        m_verbs.resize(m_lemmas.size(), 0);
    // No noun ends in -ти: such an entry is a verb even when its flags make only an
    // imperative (вырасти/B).
    if (verb || (flags.empty() && IsRussianVerb(lemma)) || EndsWith(lemma, "ти") || EndsWith(lemma, "тись"))
        m_verbs[id] = 1;
    const bool adjective = IsAdjective(lemma);
    const std::string adverbO = Cut(lemma, 2) + "о";
    const std::string adverbE = Cut(lemma, 2) + "е";
    // Adjectives in -ский/-цкий make their adverb in -и (практически, дружески).
    const std::string adverbI = EndsWith(lemma, "ский") || EndsWith(lemma, "цкий") ? Cut(lemma, 1) : std::string("-");
    const bool cyrillic = !lemma.empty() && (static_cast<unsigned char>(lemma[0]) & 0xE0) == 0xC0;
    // A proper name (Мира, Марта) is the lemma of its forms only where no common
    // word makes them: its forms rank below every common word's.
    const bool proper = cyrillic && word.size() >= 2 && static_cast<unsigned char>(word[0]) == 0xD0 &&
                        static_cast<unsigned char>(word[1]) <= 0xAF;
    if (proper && m_properNames.size() < m_lemmas.size())
        m_properNames.resize(m_lemmas.size(), 0);
    if (proper)
        m_properNames[id] = 1;
    if (flags.empty() && cyrillic) {
        MarkPastLike(id, true);
        m_records.push_back({HashForm(lemma), id, uint8_t(proper ? 2 : 1), 0, false});
        m_unflagged.push_back(id);
        return;
    }
    // An entry whose forms are all past tenses (мог: могла, могли) may be a verb's.
    const bool pastLike = std::all_of(forms.begin() + 1, forms.end(), [](const AffixFile::Form& f) {
        const std::string form = ToUtf8(f.text);
        for (const char* e : {"ла", "ло", "ли", "лась", "лось", "лись"})
            if (EndsWith(form, e))
                return true;
        return false;
    });
    MarkPastLike(id, cyrillic && pastLike);
    // A plural entry (весны/O) beside its singular noun (весна) is that noun's plural;
    // an accusative in -у/-ю shows a singular (душа is not душ's plural).
    auto endsAny = [&](std::initializer_list<const char*> endings) {
        return std::any_of(forms.begin() + 1, forms.end(), [&](const AffixFile::Form& f) {
            const std::string form = ToUtf8(f.text);
            return std::any_of(endings.begin(), endings.end(), [&](const char* e) { return EndsWith(form, e); });
        });
    };
    if (cyrillic && !verb && endsAny({"ами", "ями"}) && !endsAny({"ой", "ом", "ою", "ью", "ем", "у", "ю"}))
        m_pluralEntries.push_back(id);
    const bool gerundNoun = !cyrillic && EndsWith(lemma, "ing") && (flags.empty() || flags == "M");
    const bool adjectiveForms = endsAny({"ого", "его"});
    // The comparative in -ее/-ей of an adjective that has an adverb in -о joins the
    // adverb: like it, it does not agree and stands beside verbs and as a predicate
    // (работать быстрее, стало удобнее), while the adjective keeps its agreeing forms.
    const bool hasAdverb =
        adjective && !EndsWith(lemma, "ий") && std::any_of(forms.begin(), forms.end(), [&](const AffixFile::Form& f) {
            return f.suffixRule && Normalise(ToUtf8(f.text)) == adverbO;
        });
    // A noun entry that also carries past tenses (смог: смогла, смогли) is a verb's
    // past tense as well; which verb is known once every entry is read.
    const bool mixedPast = cyrillic && !verb && !adjective && endsAny({"ла", "ли"}) && !pastLike;
    if (mixedPast)
        m_mixedPast.push_back(id);
    std::vector<std::string> verbForms;
    bool genitivePlural = false;
    for (const AffixFile::Form& f : forms) {
        const std::string form = Normalise(ToUtf8(f.text));
        if (form.empty())
            continue;
        uint32_t target = id;
        if (adjective && f.suffixRule && (form == adverbO || form == adverbE || form == adverbI))
            target = LemmaId(form); // an adverb or short neuter: a word of its own
        else if (hasAdverb && f.suffixRule && (form == Cut(lemma, 2) + "ее" || form == Cut(lemma, 2) + "ей"))
            target = LemmaId(adverbO);
        // A form that is an entry of its own keeps it, but English -ing nouns that
        // have no forms beyond the possessive (walking) join their verb.
        uint8_t rank = form == m_lemmas[target] && !gerundNoun ? 1 : 2;
        // A noun in -ой (герой, слой) has no adjective's forms: it ranks as a noun. Nouns
        // in -ий keep the adjective's rank, below the countries their forms meet
        // (германии: Германия, not германий).
        const uint8_t preference = target == id && EndsWith(lemma, "ой") && !adjectiveForms
                                       ? Preference(std::string(), false, form)
                                       : Preference(m_lemmas[target], verb && target == id, form);
        if (proper && target == id)
            rank = 2;
        const bool past =
            mixedPast &&
            (((EndsWith(form, "ла") || EndsWith(form, "ло") || EndsWith(form, "ли")) && Cut(form, 2) == lemma));
        m_records.push_back({HashForm(form), target, rank, preference, past});
        if (verb)
            verbForms.push_back(form);
        if (cyrillic && target == id)
            IndexStem(form, id);
        genitivePlural |= form == Cut(lemma, 1) + "й";
    }
    // Nouns in -ия/-ие whose flags make no genitive plural (экологий, населений).
    if (cyrillic && !verb && !proper && !genitivePlural && (EndsWith(lemma, "ия") || EndsWith(lemma, "ие")) &&
        endsAny({"ией", "ием"}))
        m_records.push_back({HashForm(Cut(lemma, 1) + "й"), id, 2, Preference(lemma, false, lemma), false});
    if (verb)
        CollectVerbDerivatives(id, verbForms);
}

void DictionaryBuilder::CollectVerbDerivatives(uint32_t verb, const std::vector<std::string>& forms)
{
    auto add = [&](std::string candidate) {
        if (!candidate.empty())
            m_derivativeOf.emplace(std::move(candidate), verb);
    };
    auto gerund = [&](std::string candidate) {
        if (!candidate.empty())
            m_gerundOf.emplace(std::move(candidate), verb);
    };
    const std::string lemma = m_lemmas[verb];
    for (const std::string& f : forms) {
        // Gerunds the dictionary lists without flags (сидя, сделав).
        if (EndsWith(f, "ют") || EndsWith(f, "ят") || EndsWith(f, "ут"))
            gerund(Cut(f, 2) + "я");
        if (EndsWith(f, "ат") || EndsWith(f, "ут"))
            gerund(Cut(f, 2) + "а");
        if (EndsWith(f, "ются") || EndsWith(f, "ятся"))
            gerund(Cut(f, 4) + "ясь");
        if (EndsWith(f, "атся") || EndsWith(f, "утся"))
            gerund(Cut(f, 4) + "ась");
        if (EndsWith(f, "л")) {
            gerund(Cut(f, 1) + "в");
            gerund(Cut(f, 1) + "вши");
        }
        if (EndsWith(f, "лся"))
            gerund(Cut(f, 3) + "вшись");
        if (EndsWith(f, "ют") || EndsWith(f, "ут") || EndsWith(f, "ят") || EndsWith(f, "ат"))
            add(Cut(f, 1) + "щий");
        if (EndsWith(f, "ются") || EndsWith(f, "утся") || EndsWith(f, "ятся") || EndsWith(f, "атся"))
            add(Cut(f, 3) + "щийся");
        if (EndsWith(f, "л"))
            add(Cut(f, 1) + "вший");
        if (EndsWith(f, "лся"))
            add(Cut(f, 3) + "вшийся");
        for (const char* c : {"с", "з", "к", "г", "б", "п", "р"})
            if (EndsWith(f, c))
                add(f + "ший");
        if (EndsWith(f, "ем") || EndsWith(f, "им"))
            add(f + "ый");
        if (EndsWith(f, "ем"))
            add(Cut(f, 2) + "омый");
        if (EndsWith(f, "у") || EndsWith(f, "ю"))
            add(Cut(f, 1) + "енный");
    }
    if (EndsWith(lemma, "ать") || EndsWith(lemma, "ять"))
        add(Cut(lemma, 2) + "нный");
    if (EndsWith(lemma, "ить") || EndsWith(lemma, "еть"))
        add(Cut(lemma, 3) + "енный");
    if (EndsWith(lemma, "ть") && !EndsWith(lemma, "ереть"))
        add(Cut(lemma, 2) + "тый");
    if (EndsWith(lemma, "ереть"))
        add(Cut(lemma, 3) + "тый");
    if (EndsWith(lemma, "ти"))
        add(Cut(lemma, 2) + "енный");
}

DictionaryBuilder::DictionaryBuilder() : m_stemmer(sb_stemmer_new("russian", "UTF_8")) {}

DictionaryBuilder::~DictionaryBuilder()
{
    if (m_stemmer)
        sb_stemmer_delete(m_stemmer);
}

std::string DictionaryBuilder::SuffixStem(const std::string& word) const
{
    if (!m_stemmer)
        return word;
    const sb_symbol* s =
        sb_stemmer_stem(m_stemmer, reinterpret_cast<const sb_symbol*>(word.data()), static_cast<int>(word.size()));
    return s ? std::string(reinterpret_cast<const char*>(s), size_t(sb_stemmer_length(m_stemmer))) : word;
}

void DictionaryBuilder::IndexStem(const std::string& form, uint32_t lemma)
{
    auto& lemmas = m_stemIndex[SuffixStem(form)];
    if (!lemmas.empty() && lemmas.back().first == lemma)
        ++lemmas.back().second;
    else
        lemmas.emplace_back(lemma, 1);
}

void DictionaryBuilder::LinkPresentTenses()
{
    // Present and future tenses the dictionary lists as entries of their own, by their
    // stem: prefix + stem + ending -> prefix + infinitive (возьму -> взять, поймет ->
    // понять, назовут -> назвать). Only a verb the dictionary has is taken.
    static const char* const kPersonal[] = {"у", "ю", "ешь", "ет", "ем", "ете", "ут", "ют", "и", "ите"};
    static const char* const kFirstAndThird[] = {"у", "ут"};
    static const char* const kSecondToThird[] = {"ешь", "ет", "ем", "ете"};
    static const char* const kGive[] = {"м", "шь", "ст", "дим", "дите", "дут"};
    // Without the first person: заем, наем are the nouns заём, наём spelt without ё.
    static const char* const kEat[] = {"шь", "ст", "дим", "дите", "дят"};
    // Without -у: цвету, свету are datives far more often than first persons.
    static const char* const kPersonalButFirst[] = {"ешь", "ет", "ем", "ете", "ут", "ют", "и", "ите"};
    struct Rule
    {
        const char* stem;
        const char* infinitive;
        const char* const* endings;
        size_t count;
        size_t prefix = 0; // letters the form must have before the stem (съ-ем, вы-раст-ет)
    };
    static const Rule kRules[] = {
        {"возьм", "взять", kPersonal, std::size(kPersonal)},
        {"начн", "начать", kPersonal, std::size(kPersonal)},
        {"стан", "стать", kPersonal, std::size(kPersonal)},
        {"ним", "нять", kPersonal, std::size(kPersonal)},
        {"йм", "нять", kPersonal, std::size(kPersonal)},
        {"мр", "мереть", kPersonal, std::size(kPersonal)},
        {"зов", "звать", kPersonal, std::size(kPersonal)},
        {"жд", "ждать", kPersonal, std::size(kPersonal)},
        {"сяд", "сесть", kPersonal, std::size(kPersonal)},
        {"клад", "класть", kPersonal, std::size(kPersonal)},
        {"ед", "ехать", kPersonal, std::size(kPersonal)},
        {"йд", "йти", kPersonal, std::size(kPersonal)},
        {"пь", "пить", kPersonal, std::size(kPersonal)},
        {"бь", "бить", kPersonal, std::size(kPersonal)},
        {"ль", "лить", kPersonal, std::size(kPersonal)},
        {"шь", "шить", kPersonal, std::size(kPersonal)},
        {"по", "петь", kPersonal, std::size(kPersonal)},
        {"м", "нять", kPersonal, std::size(kPersonal)},
        {"д", "йти", kPersonal, std::size(kPersonal)},
        {"пад", "пасть", kPersonal, std::size(kPersonal)},
        {"крад", "красть", kPersonal, std::size(kPersonal)},
        {"ст", "сти", kPersonal, std::size(kPersonal), 2},
        {"т", "сти", kPersonalButFirst, std::size(kPersonalButFirst), 2},
        {"д", "сти", kPersonal, std::size(kPersonal), 2},
        {"е", "есть", kEat, std::size(kEat), 2},
        {"бег", "бежать", kFirstAndThird, std::size(kFirstAndThird)},
        {"ляг", "лечь", kFirstAndThird, std::size(kFirstAndThird)},
        {"ляж", "лечь", kSecondToThird, std::size(kSecondToThird)},
        {"мог", "мочь", kFirstAndThird, std::size(kFirstAndThird)},
        {"мож", "мочь", kSecondToThird, std::size(kSecondToThird)},
        {"да", "дать", kGive, std::size(kGive)},
    };
    for (uint32_t id : m_unflagged) {
        if (m_links[id] != id || m_notDerivative.count(m_lemmas[id]))
            continue;
        std::string base = m_lemmas[id];
        const bool reflexive = EndsWith(base, "ся") || EndsWith(base, "сь");
        if (reflexive)
            base = Cut(base, 2);
        bool done = false;
        for (const Rule& rule : kRules) {
            for (size_t k = 0; k < rule.count && !done; ++k) {
                const std::string tail = std::string(rule.stem) + rule.endings[k];
                if (!EndsWith(base, tail.c_str()) || base.size() < tail.size() + 2 * rule.prefix)
                    continue;
                std::string verb = base.substr(0, base.size() - tail.size()) + rule.infinitive;
                if (reflexive)
                    verb += EndsWith(verb, "ти") ? "сь" : "ся";
                if (auto v = m_lemmaIds.find(verb); v != m_lemmaIds.end() && v->second != id && IsVerb(v->second)) {
                    m_links[id] = v->second;
                    done = true;
                }
            }
            if (done)
                break;
        }
    }
}

void DictionaryBuilder::LinkPluralEntries()
{
    std::unordered_map<uint64_t, uint32_t> plurals; // hash of the entry -> its lemma
    for (uint32_t id : m_pluralEntries)
        if (m_links[id] == id && !m_notDerivative.count(m_lemmas[id]))
            plurals.emplace(HashForm(m_lemmas[id]), id);
    std::unordered_map<uint32_t, uint32_t> best; // plural -> singular
    for (const Record& r : m_records) {
        if (r.rank != 2)
            continue;
        auto it = plurals.find(r.hash);
        if (it == plurals.end() || r.lemma == it->second || IsVerb(r.lemma) || IsAdjective(m_lemmas[r.lemma]))
            continue;
        if (SuffixStem(m_lemmas[r.lemma]) != SuffixStem(m_lemmas[it->second]))
            continue;
        auto [b, added] = best.emplace(it->second, r.lemma);
        if (!added && m_lemmas[r.lemma] < m_lemmas[b->second])
            b->second = r.lemma;
    }
    for (const auto& [plural, singular] : best)
        m_links[plural] = singular;
}

uint32_t DictionaryBuilder::FleetingVowelNoun(const std::string& stem, uint32_t id) const
{
    // Oblique forms of nouns with a fleeting vowel (образцов -> образец, сна -> сон,
    // дня -> день): the vowel comes back before the stem's last consonant.
    if (stem.size() < 4)
        return UINT32_MAX;
    const std::string head = stem.substr(0, stem.size() - 2);
    const std::string last = stem.substr(stem.size() - 2);
    for (const char* vowel : {"е", "о"}) {
        for (const char* soft : {"", "ь"}) {
            const std::string noun = head + vowel + last + soft;
            auto it = m_lemmaIds.find(noun);
            if (it != m_lemmaIds.end() && it->second != id && !IsVerb(it->second) && !IsAdjective(noun))
                return it->second;
        }
    }
    return UINT32_MAX;
}

void DictionaryBuilder::LinkUnflagged()
{
    const std::unordered_set<uint64_t> made = FormsMadeByFlags();
    for (uint32_t id : m_unflagged) {
        if (m_links[id] != id)
            continue;
        if (auto g = m_gerundOf.find(m_lemmas[id]); g != m_gerundOf.end() && g->second != id) {
            if (!m_notDerivative.count(m_lemmas[id]))
                m_links[id] = g->second;
            continue;
        }
        const std::string& w = m_lemmas[id];
        if (!HasNominalEnding(w) || m_notDerivative.count(w) || made.count(HashForm(w)))
            continue; // a form some entry makes is decided among its makers
        const std::string stem = SuffixStem(w);
        if (stem == w || stem.size() < 6) // at least three Cyrillic letters
            continue;
        auto it = m_stemIndex.find(stem);
        if (it == m_stemIndex.end()) {
            if (const uint32_t noun = FleetingVowelNoun(stem, id); noun != UINT32_MAX)
                m_links[id] = noun;
            continue;
        }
        // Only nouns, and adjectives for adjective endings, whose own stem is the same:
        // a verb or a longer word with this stem is a neighbour, not the lemma.
        // A common word joins no proper name (трое is not Троя's), nor a participle.
        const bool adjectiveEnding = HasAdjectiveEnding(w);
        auto proper = [&](uint32_t lemma) { return lemma < m_properNames.size() && m_properNames[lemma]; };
        uint32_t best = UINT32_MAX, bestCount = 0;
        for (const auto& [lemma, count] : it->second) {
            const std::string& l = m_lemmas[lemma];
            if (lemma == id || IsVerb(lemma) || (IsAdjective(l) && !adjectiveEnding) || SuffixStem(l) != stem ||
                m_derivativeOf.count(l) || !IsInflectionOf(w, l) || (proper(lemma) && !proper(id)))
                continue;
            // An instrumental -ом/-ем is a masculine's (сургучом): not a 1st person plural
            // near a feminine noun (поймем, пойма).
            if ((EndsWith(w, "ом") || EndsWith(w, "ем")) && l != stem && l != stem + "ь" && l != stem + "й")
                continue;
            if (count > bestCount || (count == bestCount && l < m_lemmas[best])) {
                best = lemma;
                bestCount = count;
            }
        }
        if (best == UINT32_MAX)
            best = FleetingVowelNoun(stem, id);
        if (best != UINT32_MAX)
            m_links[id] = best;
    }
}

void DictionaryBuilder::LinkUnflaggedNounForms()
{
    // A genitive plural without ending that the dictionary lists on its own although a
    // noun's flags make it too (минут beside минута): the noun's, unless a verb makes
    // it, which takes it only as a past tense (сел: сесть; устали: устать, whatever the
    // ending). Words in -м are left alone (тем, навалом).
    auto zeroEnding = [](const std::string& w) {
        for (const char* c :
             {"б", "в", "г", "д", "ж", "з", "к", "л", "н", "п", "р", "с", "т", "ф", "х", "ц", "ч", "ш", "щ"})
            if (EndsWith(w, c))
                return true;
        return false;
    };
    std::unordered_map<uint64_t, uint32_t> unflagged;
    for (uint32_t id : m_unflagged)
        if (m_links[id] == id && !m_notDerivative.count(m_lemmas[id]) && !IsVerb(id) &&
            (id >= m_properNames.size() || !m_properNames[id]))
            unflagged.emplace(HashForm(m_lemmas[id]), id);
    std::unordered_map<uint32_t, uint32_t> noun; // unflagged -> noun, or UINT32_MAX for none
    for (const Record& r : m_records) {
        if (r.rank != 2)
            continue;
        auto it = unflagged.find(r.hash);
        if (it == unflagged.end() || r.lemma == it->second)
            continue;
        const bool isNoun = zeroEnding(m_lemmas[it->second]) && !IsVerb(r.lemma) && !IsAdjective(m_lemmas[r.lemma]) &&
                            r.preference == 20 && (r.lemma >= m_properNames.size() || !m_properNames[r.lemma]);
        // A verb's past tense decides (сел: сесть, though сёл is село's).
        const bool past = IsVerb(r.lemma) && r.preference == 30;
        const uint32_t target = past ? r.lemma : isNoun ? r.lemma : UINT32_MAX;
        auto [n, added] = noun.emplace(it->second, target);
        if (added || n->second == target)
            continue;
        const bool pastBefore = n->second != UINT32_MAX && IsVerb(n->second);
        if (past && (!pastBefore || m_lemmas[r.lemma] < m_lemmas[n->second]))
            n->second = r.lemma;
        else if (!past && !pastBefore &&
                 (!isNoun || (n->second != UINT32_MAX && m_lemmas[r.lemma] < m_lemmas[n->second])))
            n->second = isNoun ? r.lemma : UINT32_MAX;
    }
    for (const auto& [form, target] : noun)
        if (target != UINT32_MAX)
            m_links[form] = target;
}

bool DictionaryBuilder::MakesAsForm(const Record& r, const std::string& form) const
{
    // Proper names and imperatives (сей of сеять, прочь of прочить) do not count.
    if (r.rank != 2 || (r.lemma < m_properNames.size() && m_properNames[r.lemma]))
        return false;
    const bool verb = IsVerb(r.lemma) || IsRussianVerb(m_lemmas[r.lemma]);
    return !(verb && (EndsWith(form, "й") || EndsWith(form, "ь") || EndsWith(form, "и")));
}

std::unordered_set<uint64_t> DictionaryBuilder::FormsMadeByFlags() const
{
    std::unordered_map<uint64_t, uint32_t> unflagged;
    for (uint32_t id : m_unflagged)
        unflagged.emplace(HashForm(m_lemmas[id]), id);
    std::unordered_set<uint64_t> made;
    for (const Record& r : m_records)
        if (auto it = unflagged.find(r.hash);
            it != unflagged.end() && r.lemma != it->second && MakesAsForm(r, m_lemmas[it->second]))
            made.insert(r.hash);
    return made;
}

void DictionaryBuilder::DeferUnflaggedForms()
{
    // A word listed without flags that another entry's flags make is most often that
    // entry's form listed once more (готов beside готовый, сохранен beside сохранить),
    // not a word of its own: it yields to the entries that make it, unless the
    // irregular list keeps it.
    const std::unordered_set<uint64_t> made = FormsMadeByFlags();
    std::vector<uint8_t> unflagged(m_lemmas.size(), 0);
    for (uint32_t id : m_unflagged)
        if (m_links[id] == id && !m_notDerivative.count(m_lemmas[id]))
            unflagged[id] = 1;
    for (Record& r : m_records)
        if (r.rank == 1 && unflagged[r.lemma] && made.count(r.hash)) {
            r.rank = 2;
            r.preference = 0;
        }
}

bool DictionaryBuilder::IsVerb(uint32_t lemma) const
{
    return lemma < m_verbs.size() && m_verbs[lemma] != 0;
}

uint32_t DictionaryBuilder::Canonical(uint32_t lemma) const
{
    // Links are at most a few steps deep; the bound guards against a cycle.
    for (int i = 0; i < 8 && m_links[lemma] != lemma; ++i)
        lemma = m_links[lemma];
    return lemma;
}

void DictionaryBuilder::LinkDerivatives()
{
    if (m_linked)
        return;
    m_linked = true;
    for (const auto& [entry, target] : m_entryLinks) {
        const uint32_t from = LemmaId(entry);
        const uint32_t to = LemmaId(target);
        if (from != to)
            m_links[from] = to;
    }
    LinkPresentTenses();
    LinkUnflagged();
    LinkPluralEntries();
    LinkUnflaggedNounForms();
    static const char* const kWalk[] = {"шел", "шла", "шло", "шли", "шедший"};
    const size_t count = m_lemmas.size();
    for (uint32_t id = 0; id < count; ++id) {
        if (m_links[id] != id)
            continue;
        const std::string& s = m_lemmas[id];
        if (m_notDerivative.count(s))
            continue;
        if (auto it = m_derivativeOf.find(s); it != m_derivativeOf.end() && it->second != id) {
            m_links[id] = it->second;
            continue;
        }
        std::string stem = s;
        std::string reflexive;
        if (EndsWith(stem, "ся") || EndsWith(stem, "сь")) {
            reflexive = "сь";
            stem = Cut(stem, 2);
        }
        bool walked = false;
        for (const char* w : kWalk) {
            if (!EndsWith(stem, w))
                continue;
            const std::string prefix = stem.substr(0, stem.size() - std::string(w).size());
            const std::string verb = (prefix.empty() ? std::string("идти") : prefix + "йти") + reflexive;
            if (auto v = m_lemmaIds.find(verb); v != m_lemmaIds.end() && v->second != id)
                m_links[id] = v->second;
            walked = true;
            break;
        }
        if (!walked && id < m_pastLike.size() && m_pastLike[id] == 1)
            LinkPastTense(id, stem, !reflexive.empty());
    }
    for (uint32_t id : m_mixedPast)
        if (const uint32_t verb = PastTenseVerb(id, m_lemmas[id], false); verb != UINT32_MAX && IsVerb(Canonical(verb)))
            m_pastVerb.emplace(id, verb);
}

void DictionaryBuilder::MarkPastLike(uint32_t id, bool pastLike)
{
    // Every entry of the lemma must look like a past tense (берег the noun does not).
    if (m_pastLike.size() <= id)
        m_pastLike.resize(m_lemmas.size(), 0);
    if (m_pastLike[id] != 2)
        m_pastLike[id] = pastLike ? 1 : 2;
}

void DictionaryBuilder::LinkPastTense(uint32_t id, std::string past, bool reflexive)
{
    if (const uint32_t verb = PastTenseVerb(id, std::move(past), reflexive); verb != UINT32_MAX)
        m_links[id] = verb;
}

uint32_t DictionaryBuilder::PastTenseVerb(uint32_t id, std::string past, bool reflexive) const
{
    // A past tense listed as an entry (мог, помог, нес, умер): its verb ends in -чь,
    // -ти or -еть.
    if (EndsWith(past, "ла"))
        past = Cut(past, 2);
    std::vector<std::string> verbs;
    if (EndsWith(past, "г") || EndsWith(past, "к"))
        verbs.push_back(Cut(past, 1) + (reflexive ? "чься" : "чь"));
    if (EndsWith(past, "с") || EndsWith(past, "з")) {
        verbs.push_back(past + (reflexive ? "тись" : "ти"));
        if (past.size() >= 4 && past.compare(past.size() - 4, 2, "о") == 0)
            verbs.push_back(past.substr(0, past.size() - 4) + "а" + past.substr(past.size() - 2) +
                            (reflexive ? "тись" : "ти")); // рос -> расти
    }
    if (EndsWith(past, "ер"))
        verbs.push_back(past + (reflexive ? "еться" : "еть"));
    for (const std::string& verb : verbs)
        if (auto v = m_lemmaIds.find(verb); v != m_lemmaIds.end() && v->second != id)
            return v->second;
    return UINT32_MAX;
}

bool DictionaryBuilder::AddIrregular(const std::string& path, std::string& error)
{
    std::string text;
    return ReadFile(path, text, error) && AddIrregularText(text, error);
}

bool DictionaryBuilder::AddIrregularText(const std::string& text, std::string& error)
{
    std::istringstream lines(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(lines, line)) {
        ++lineNo;
        if (const size_t hash = line.find('#'); hash != std::string::npos)
            line.resize(hash);
        std::istringstream fields(line);
        std::string a, b, c;
        fields >> a >> b >> c;
        if (a.empty())
            continue;
        if (a == "!" && !b.empty()) {
            m_notDerivative.insert(Normalise(b));
        } else if (a == "=" && !b.empty() && !c.empty()) {
            m_entryLinks.emplace_back(Normalise(b), Normalise(c));
            m_notDerivative.insert(Normalise(c)); // a chosen lemma stays one
        } else if (!b.empty() && c.empty()) {
            // A form written with ё maps that spelling only (берёг, not берег).
            const std::string form = NormaliseKeepingYo(a);
            m_records.push_back({HashForm(form), LemmaId(Normalise(b)), 0, 0, false});
            m_notDerivative.insert(Normalise(b));
        } else {
            error = "irregular list, line " + std::to_string(lineNo) + ": expected \"form lemma\"";
            return false;
        }
    }
    return true;
}

std::string DictionaryBuilder::Explain(const std::string& form) const
{
    const uint64_t hash = HashForm(Normalise(form));
    std::string out;
    for (const Record& r : m_records) {
        if (r.hash != hash)
            continue;
        const uint32_t lemma = Canonical(r.lemma);
        out += form + ": " + m_lemmas[r.lemma] + (lemma != r.lemma ? " -> " + m_lemmas[lemma] : std::string()) +
               " rank " + std::to_string(r.rank) + " preference " + std::to_string(r.preference) + " paradigm " +
               std::to_string(m_paradigm[lemma]) + "\n";
    }
    return out.empty() ? form + ": no entry\n" : out;
}

bool DictionaryBuilder::Write(const std::string& path, std::string& error)
{
    LinkDerivatives();
    for (Record& r : m_records) {
        if (!r.past)
            continue;
        if (auto v = m_pastVerb.find(r.lemma); v != m_pastVerb.end()) {
            r.lemma = v->second;
            r.rank = 2;
            r.preference = Preference(m_lemmas[v->second], true, "л");
        }
    }
    DeferUnflaggedForms();
    m_paradigm.assign(m_lemmas.size(), 0);
    for (const Record& r : m_records)
        ++m_paradigm[Canonical(r.lemma)];
    std::stable_sort(m_records.begin(), m_records.end(),
                     [](const Record& a, const Record& b) { return a.hash < b.hash; });

    // One lemma per form, by the rules in the class comment.
    std::vector<std::pair<uint64_t, uint32_t>> chosen;
    chosen.reserve(m_records.size() / 2);
    for (size_t i = 0; i < m_records.size();) {
        size_t j = i;
        const Record* best = &m_records[i];
        uint32_t bestLemma = Canonical(best->lemma);
        for (; j < m_records.size() && m_records[j].hash == m_records[i].hash; ++j) {
            const Record& r = m_records[j];
            const uint32_t lemma = Canonical(r.lemma);
            if (r.rank != best->rank) {
                if (r.rank < best->rank) {
                    best = &r;
                    bestLemma = lemma;
                }
                continue;
            }
            if (r.rank == 0 || lemma == bestLemma)
                continue; // the first irregular entry stands
            if (r.preference != best->preference) {
                if (r.preference > best->preference) {
                    best = &r;
                    bestLemma = lemma;
                }
                continue;
            }
            // A common word before a proper name (кости: кость, not Костя).
            const bool proper = lemma < m_properNames.size() && m_properNames[lemma];
            const bool bestProper = bestLemma < m_properNames.size() && m_properNames[bestLemma];
            if (proper != bestProper) {
                if (!proper) {
                    best = &r;
                    bestLemma = lemma;
                }
                continue;
            }
            if (m_paradigm[lemma] > m_paradigm[bestLemma] ||
                (m_paradigm[lemma] == m_paradigm[bestLemma] && m_lemmas[lemma] < m_lemmas[bestLemma])) {
                best = &r;
                bestLemma = lemma;
            }
        }
        chosen.emplace_back(m_records[i].hash, bestLemma);
        i = j;
    }

    // Words the dictionary lacks: a Snowball stem names the lemma that has most of
    // the dictionary forms with that stem, when it has more than half of them.
    std::vector<std::pair<uint64_t, uint32_t>> stems;
    for (const auto& [stem, lemmas] : m_stemIndex) {
        std::vector<std::pair<uint32_t, uint32_t>> counts;
        uint32_t total = 0;
        for (const auto& [lemma, count] : lemmas) {
            const uint32_t canonical = Canonical(lemma);
            total += count;
            auto it = std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == canonical; });
            if (it == counts.end())
                counts.emplace_back(canonical, count);
            else
                it->second += count;
        }
        const auto best = std::max_element(counts.begin(), counts.end(), [&](const auto& a, const auto& b) {
            return a.second != b.second ? a.second < b.second : m_lemmas[a.first] > m_lemmas[b.first];
        });
        if (best != counts.end() && 2 * best->second > total)
            stems.emplace_back(HashForm(stem), best->first);
    }
    std::sort(stems.begin(), stems.end());
    stems.erase(
        std::unique(stems.begin(), stems.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
        stems.end());

    return DataFileWriter::Write(path, chosen, stems, m_lemmas, error);
}

} // namespace mhelper
