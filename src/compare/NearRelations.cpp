#include "compare/NearRelations.h"

#include "morph/Thesaurus.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <optional>

namespace {

// Measured on the spelling dictionary's words (bench/near/README.md): 5 letters shared,
// 4 past a prefix, at most three suffixes and seven letters of rest.
constexpr qsizetype kSharedLetters = 5;
constexpr qsizetype kRootLetters = 4;
constexpr qsizetype kMaxRest = 7;
constexpr int kMaxSuffixes = 3;
// A root this short past a prefix (раз-ви-тие, от-кры-вать), or a beginning this short
// (изуч-ение, изуч-ать), is taken only between forms of one verb: its infinitive, its
// other aspect or voice, its verbal noun.
constexpr qsizetype kShortRootLetters = 2;
constexpr qsizetype kVerbSharedLetters = 4;
// Stems compared with each one in sorted order.
constexpr size_t kFamilyWindow = 64;

// Longest first, so that a prefix is stripped whole.
constexpr std::array<std::u16string_view, 44> kPrefixes = {
    u"предо", u"анти", u"пере", u"пред", u"надо", u"подо", u"обо", u"ото", u"пре", u"при", u"про",
    u"рас",   u"раз",  u"без",  u"бес",  u"вос",  u"воз",  u"низ", u"нис", u"над", u"под", u"дис",
    u"вз",    u"вс",   u"вы",   u"за",   u"на",   u"об",   u"от",  u"по",  u"со",  u"до",  u"из",
    u"ис",    u"во",   u"не",   u"ре",   u"де",   u"ин",   u"с",   u"у",   u"в",   u"о",   u"а"};

constexpr std::array<std::u16string_view, 58> kSuffixes = {
    u"ирова", u"ическ", u"ость", u"тель", u"еньк", u"оньк", u"ыва", u"ива", u"ова", u"ева", u"енн", u"онн",
    u"ени",   u"ани",   u"ств",  u"чик",  u"щик",  u"ник",  u"ниц", u"ечк", u"очк", u"ичк", u"еск", u"ичн",
    u"лив",   u"ист",   u"изм",  u"ир",   u"ва",   u"ну",   u"ан",  u"ин",  u"ен",  u"он",  u"ит",  u"ст",
    u"иц",    u"ец",    u"ок",   u"ек",   u"ик",   u"ск",   u"чн",  u"ов",  u"ев",  u"ац",  u"яц",  u"а",
    u"и",     u"е",     u"у",    u"н",    u"т",    u"к",    u"л",   u"ь",   u"я",   u"о"};

constexpr std::array<std::u16string_view, 25> kEndings = {
    u"",   u"ть", u"ться", u"ти", u"тись", u"чь", u"чься", u"ся", u"сь", u"ый", u"ий", u"ой", u"ая",
    u"ое", u"ие", u"ия",   u"ья", u"ье",   u"ь",  u"а",    u"я",  u"о",  u"е",  u"и",  u"ы"};

// The rests a verb with a short root ends in: a stem suffix and a verb ending. Which
// suffixes stand for one verb's aspects (раскатать, раскатывать; развить, развивать)
// is listed, as letters shared by chance pair others (раскалить, раскалывать).
constexpr std::array<std::u16string_view, 10> kVerbSuffixes = {u"",  u"ва", u"ыва", u"ива", u"ова",
                                                               u"а", u"и",  u"е",   u"я",   u"ну"};
constexpr std::array<std::u16string_view, 4> kVerbEndings = {u"ть", u"ться", u"ти", u"тись"};
struct SuffixPair
{
    std::u16string_view a;
    std::u16string_view b;
    // Only with a beginning of kSharedLetters: on fewer letters the pair more often
    // joins two verbs (старить, стараться).
    bool longOnly;
};
constexpr std::array<SuffixPair, 12> kAspectSuffixes = {{
    {u"", u"ва", false},
    {u"е", u"ва", false},
    {u"а", u"ва", false},
    {u"а", u"ыва", false},
    {u"а", u"ива", false},
    {u"я", u"ыва", false},
    {u"я", u"ива", false},
    {u"и", u"а", true},
    {u"и", u"я", true},
    {u"ну", u"а", false},
    {u"ну", u"ыва", false},
    {u"ну", u"ива", false},
}};
// Nouns made from such verbs, each with the verb suffixes it is made from (раз-ви-тие
// from раз-ви-ть, опис-ание from опис-ыва-ть, уменьш-ение from уменьш-а-ть).
constexpr std::array<SuffixPair, 12> kVerbalNouns = {{
    {u"тие", u"", false},
    {u"тие", u"ва", false},
    {u"ние", u"", false},
    {u"ние", u"ва", false},
    {u"ение", u"и", false},
    {u"ение", u"е", false},
    {u"ение", u"я", false},
    {u"ение", u"а", false},
    {u"ание", u"а", false},
    {u"ание", u"я", false},
    {u"ание", u"ыва", false},
    {u"ание", u"ива", false},
}};

bool startsWith(std::u16string_view s, std::u16string_view p)
{
    return s.size() >= p.size() && s.substr(0, p.size()) == p;
}

// Whether the rest of a word is suffixes and an ending.
bool derivationalRest(std::u16string_view rest, int suffixes)
{
    if (std::find(kEndings.begin(), kEndings.end(), rest) != kEndings.end())
        return true;
    if (suffixes == kMaxSuffixes)
        return false;
    for (std::u16string_view s : kSuffixes)
        if (startsWith(rest, s) && derivationalRest(rest.substr(s.size()), suffixes + 1))
            return true;
    return false;
}

bool isVowel(char16_t c)
{
    return std::u16string_view(u"аеиоуыэюя").find(c) != std::u16string_view::npos;
}

// The stem suffix of a verb's rest after the shared letters, or false when the rest
// is no verb's. A verb without a suffix ends its shared letters with a vowel (разви-ть).
bool verbSuffix(std::u16string_view shared, std::u16string_view rest, std::u16string_view* suffix)
{
    // Every verb ending ends in one of these: most rests are turned away at their last letter.
    if (rest.empty() || std::u16string_view(u"ьяи").find(rest.back()) == std::u16string_view::npos)
        return false;
    for (std::u16string_view s : kVerbSuffixes)
        for (std::u16string_view e : kVerbEndings)
            if (rest.size() == s.size() + e.size() && startsWith(rest, s) && rest.substr(s.size()) == e &&
                (!s.empty() || isVowel(shared.back()))) {
                *suffix = s;
                return true;
            }
    return false;
}

// Two rests of one short root: two voices or aspects of a verb, or a verb and its noun.
bool verbForms(std::u16string_view shared, std::u16string_view a, std::u16string_view b)
{
    std::u16string_view sa;
    std::u16string_view sb;
    const bool verbA = verbSuffix(shared, a, &sa);
    const bool verbB = verbSuffix(shared, b, &sb);
    const bool longShared = qsizetype(shared.size()) >= kSharedLetters;
    if (verbA && verbB)
        return sa == sb || std::any_of(kAspectSuffixes.begin(), kAspectSuffixes.end(), [&](const SuffixPair& p) {
                   return (!p.longOnly || longShared) && ((p.a == sa && p.b == sb) || (p.a == sb && p.b == sa));
               });
    const auto nounOf = [](std::u16string_view noun, std::u16string_view suffix) {
        return std::any_of(kVerbalNouns.begin(), kVerbalNouns.end(),
                           [&](const SuffixPair& p) { return p.a == noun && p.b == suffix; });
    };
    return (verbA && nounOf(b, sa)) || (verbB && nounOf(a, sb));
}

bool cyrillicLower(QStringView w)
{
    return std::all_of(w.begin(), w.end(), [](QChar c) { return c >= u'а' && c <= u'я'; });
}

// The prefix a word starts with, longest first, or an empty one.
std::u16string_view prefixOf(std::u16string_view word)
{
    for (std::u16string_view p : kPrefixes)
        if (startsWith(word, p))
            return p;
    return {};
}

// SameFamily on two lower-case Cyrillic words that share their first `known` letters,
// with the prefix each starts with worked out once per word rather than once per pair.
bool sameFamily(QStringView a, QStringView b, qsizetype known, std::u16string_view prefixA)
{
    if (a == b)
        return false;
    qsizetype shared = known;
    while (shared < a.size() && shared < b.size() && a[shared] == b[shared])
        ++shared;
    if (shared < kVerbSharedLetters || a.size() - shared > kMaxRest || b.size() - shared > kMaxRest)
        return false;
    const std::u16string_view common(a.utf16(), size_t(shared));
    // A prefix of the word no longer than the shared letters is the one they start with;
    // a longer one leaves the shared letters to be looked at on their own.
    const std::u16string_view prefix = qsizetype(prefixA.size()) <= shared ? prefixA : prefixOf(common);
    const qsizetype root = shared - qsizetype(prefix.size());
    const std::u16string_view restA(a.utf16() + shared, size_t(a.size() - shared));
    const std::u16string_view restB(b.utf16() + shared, size_t(b.size() - shared));
    if (shared < kSharedLetters || root < kRootLetters)
        return root >= kShortRootLetters && verbForms(common, restA, restB);
    return derivationalRest(restA, 0) && derivationalRest(restB, 0);
}

// The first four code units of a stem in one number, in the stems' sort order.
quint64 leadOf(QStringView w)
{
    quint64 lead = 0;
    for (qsizetype i = 0; i < kVerbSharedLetters; ++i)
        lead = (lead << 16) | (i < w.size() ? w[i].unicode() : 0);
    return lead;
}

} // namespace

bool SameFamily(QStringView a, QStringView b)
{
    if (a.size() < kVerbSharedLetters || b.size() < kVerbSharedLetters || !cyrillicLower(a) || !cyrillicLower(b))
        return false;
    return sameFamily(a, b, 0, prefixOf(std::u16string_view(a.utf16(), size_t(a.size()))));
}

NearRelations::NearRelations(const QStringList& stems, const Thesaurus* thesaurus)
    : NearRelations(std::vector<QStringView>(stems.begin(), stems.end()), thesaurus)
{
}

NearRelations::NearRelations(std::span<const QStringView> stems, const Thesaurus* thesaurus)
{
    const qint32 count = qint32(stems.size());
    // Each relation both ways, in the order found; gathered into per-stem lists below.
    struct Edge
    {
        qint32 from;
        Link link;
    };
    std::vector<Edge> edges;
    const auto add = [&edges](qint32 a, qint32 b, Kind kind) {
        edges.push_back({a, {b, kind}});
        edges.push_back({b, {a, kind}});
    };
    if (thesaurus && !thesaurus->isEmpty()) {
        // The stems the thesaurus holds, by its word index.
        QHash<qint32, qint32> byWord;
        QString stem;
        for (qint32 s = 0; s < count; ++s) {
            stem.setUnicode(stems[size_t(s)].data(), stems[size_t(s)].size());
            const qint32 w = thesaurus->find(stem);
            if (w >= 0)
                byWord.insert(w, s);
        }
        for (auto it = byWord.cbegin(); it != byWord.cend(); ++it)
            for (quint32 other : thesaurus->synonyms(it.key())) {
                const auto found = byWord.constFind(qint32(other));
                // Each pair once, from its smaller word index.
                if (found != byWord.cend() && qint32(other) > it.key())
                    add(it.value(), *found, Kind::Synonym);
            }
    }
    // Family words share their first letters, so in sorted order they lie close
    // together: each stem is compared with the next few only, which bounds the work
    // however many stems share a beginning. Their first four letters, packed in one
    // number, sort them first; only lower-case Cyrillic stems can be family words.
    struct Entry
    {
        quint64 lead;
        qint32 stem;
        bool cyrillic;
    };
    std::vector<Entry> sorted;
    for (qint32 s = 0; s < count; ++s) {
        const QStringView w = stems[size_t(s)];
        if (w.size() >= kVerbSharedLetters)
            sorted.push_back({leadOf(w), s, cyrillicLower(w)});
    }
    // Code unit by code unit, as QStringView's own order.
    std::sort(sorted.begin(), sorted.end(), [&stems](const Entry& x, const Entry& y) {
        if (x.lead != y.lead)
            return x.lead < y.lead;
        const QStringView a = stems[size_t(x.stem)];
        const QStringView b = stems[size_t(y.stem)];
        return std::lexicographical_compare(a.utf16(), a.utf16() + a.size(), b.utf16(), b.utf16() + b.size());
    });
    for (size_t i = 0; i < sorted.size(); ++i) {
        if (!sorted[i].cyrillic)
            continue;
        const QStringView a = stems[size_t(sorted[i].stem)];
        // Most stems have no neighbour to compare with: the prefix waits for the first.
        std::optional<std::u16string_view> prefix;
        for (size_t j = i + 1; j < sorted.size() && j <= i + kFamilyWindow && sorted[j].lead == sorted[i].lead; ++j) {
            if (!sorted[j].cyrillic)
                continue;
            if (!prefix)
                prefix = prefixOf(std::u16string_view(a.utf16(), size_t(a.size())));
            if (sameFamily(a, stems[size_t(sorted[j].stem)], kVerbSharedLetters, *prefix))
                add(sorted[i].stem, sorted[j].stem, Kind::Family);
        }
    }

    // Per stem, a synonym before a family word, each related stem once.
    std::stable_sort(edges.begin(), edges.end(), [](const Edge& x, const Edge& y) {
        return x.from != y.from ? x.from < y.from : x.link.kind < y.link.kind;
    });
    m_start.reserve(size_t(count) + 1);
    m_start.push_back(0);
    size_t e = 0;
    for (qint32 s = 0; s < count; ++s) {
        for (; e < edges.size() && edges[e].from == s; ++e) {
            const Link& link = edges[e].link;
            if (std::none_of(m_links.begin() + m_start.back(), m_links.end(),
                             [&link](const Link& l) { return l.stem == link.stem; }))
                m_links.push_back(link);
        }
        m_start.push_back(qint32(m_links.size()));
    }
}

bool NearRelations::related(qint32 a, qint32 b, Kind* kind) const
{
    for (const Link& link : of(a))
        if (link.stem == b) {
            if (kind)
                *kind = link.kind;
            return true;
        }
    return false;
}
