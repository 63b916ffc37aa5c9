// mhelper-synonyms: compiles a thesaurus in the MyThes text format into synonyms.dat,
// pairs of lemmas as the morphology gives them.
//   mhelper-synonyms -o OUT -d MHELPER_DAT [-x EXTRA] [-p PAIRS_OUT] THESAURUS
//
// Only the synonym lines are read (not similar or related terms, not antonyms), one
// word against the headword, never chained: two synonyms of one headword are not
// paired, as chains join most of the vocabulary into one group. A pair is kept when
// both words are single words the dictionary knows, of at least four letters, of one
// part of speech as their endings tell, with different lemmas; and a pair from a long synonym line (a broad
// sense, исследование → пытка) only when the other word lists it too. EXTRA holds more
// pairs, one "word word" a line, with the same checks. PAIRS_OUT receives the kept
// pairs, one "lemma lemma" a line, for measuring.
#include "Dictionary.h"
#include "Morphology.h"
#include "SynonymFormat.h"
#include "WordText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// A sense line longer than this lists words of broad or loose meaning.
constexpr size_t kBroadSense = 8;
// Shorter lemmas are mostly prepositions, conjunctions and pronouns (в → на, и → да),
// which the thesaurus pairs by loose senses.
constexpr size_t kMinLetters = 4;

size_t Letters(const std::string& utf8)
{
    return size_t(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

bool EndsWith(const std::string& s, const char* tail)
{
    const size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// A coarse part of speech from the lemma's ending: 1 verb, 2 adjective, 3 adverb-like
// (-о, -е), 0 anything else (mostly nouns).
int PartOfSpeech(const std::string& lemma)
{
    for (const char* t : {"ть", "ться", "тись", "ти", "чь", "чься"})
        if (EndsWith(lemma, t))
            return 1;
    for (const char* t : {"ый", "ий", "ой", "ся"})
        if (EndsWith(lemma, t))
            return 2;
    return 0;
}

// Cyrillic letters and inner hyphens only: no phrases, no Latin, no digits.
bool IsSingleWord(const std::string& word)
{
    if (word.empty() || word.front() == '-' || word.back() == '-')
        return false;
    for (size_t i = 0; i < word.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(word[i]);
        if (c == '-')
            continue;
        if ((c != 0xD0 && c != 0xD1) || i + 1 >= word.size())
            return false;
        ++i;
    }
    return true;
}

class Lemmas
{
public:
    explicit Lemmas(const std::string& dataPath) : m_morphology(dataPath) { m_dictionary.Open(dataPath); }
    bool ok() const { return m_dictionary.isOpen(); }

    // The lemma of a word the dictionary knows, as the program will stem it; empty otherwise.
    std::string Known(const std::string& word) const
    {
        if (!IsSingleWord(word))
            return {};
        char norm[mhelper::Morphology::kMaxWordBytes];
        bool truncated = false;
        mhelper::Script script = mhelper::Script::Other;
        const size_t n = mhelper::NormaliseWord(word, norm, sizeof norm, &truncated, &script);
        if (truncated || m_dictionary.Lookup(std::string_view(norm, n)).empty())
            return {};
        char stem[100];
        const size_t s = m_morphology.Stem(word, stem, 99);
        return std::string(stem, s);
    }

private:
    mhelper::Morphology m_morphology;
    mhelper::Dictionary m_dictionary;
};

std::vector<std::string> SplitBars(const std::string& line)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t bar = line.find('|', start);
        parts.push_back(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            return parts;
        start = bar + 1;
    }
}

std::string Lower(const std::string& word)
{
    char out[mhelper::Morphology::kMaxWordBytes];
    bool truncated = false;
    mhelper::Script script = mhelper::Script::Other;
    return std::string(out, mhelper::NormaliseWord(word, out, sizeof out, &truncated, &script));
}

void Put32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

} // namespace

int main(int argc, char** argv)
{
    std::string output, data, extra, pairsOut, input;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-o" && i + 1 < argc)
            output = argv[++i];
        else if (arg == "-d" && i + 1 < argc)
            data = argv[++i];
        else if (arg == "-x" && i + 1 < argc)
            extra = argv[++i];
        else if (arg == "-p" && i + 1 < argc)
            pairsOut = argv[++i];
        else
            input = arg;
    }
    if (output.empty() || data.empty() || input.empty()) {
        std::fprintf(stderr, "usage: mhelper-synonyms -o OUT -d MHELPER_DAT [-x EXTRA] [-p PAIRS_OUT] THESAURUS\n");
        return 2;
    }
    const Lemmas lemmas(data);
    if (!lemmas.ok()) {
        std::fprintf(stderr, "mhelper-synonyms: cannot open the dictionary %s\n", data.c_str());
        return 1;
    }
    std::ifstream in(input, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "mhelper-synonyms: cannot read %s\n", input.c_str());
        return 1;
    }

    // Directed listings: (headword lemma, synonym lemma) -> listed in a narrow sense.
    std::map<std::pair<std::string, std::string>, bool> listed;
    size_t headwords = 0, lines = 0, wordPairs = 0;
    std::string line, head;
    std::getline(in, line); // the encoding line
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (line.front() != '(') {
            head = lemmas.Known(Lower(SplitBars(line).front()));
            ++headwords;
            continue;
        }
        const std::vector<std::string> parts = SplitBars(line);
        if (parts.front() != "(синоним)")
            continue;
        ++lines;
        const bool narrow = parts.size() - 1 <= kBroadSense;
        for (size_t i = 1; i < parts.size(); ++i) {
            ++wordPairs;
            const std::string other = lemmas.Known(Lower(parts[i]));
            if (head.empty() || other.empty() || other == head || PartOfSpeech(head) != PartOfSpeech(other) ||
                Letters(head) < kMinLetters || Letters(other) < kMinLetters)
                continue;
            bool& isNarrow = listed[{head, other}];
            isNarrow = isNarrow || narrow;
        }
    }
    size_t extraPairs = 0;
    if (!extra.empty()) {
        std::ifstream x(extra, std::ios::binary);
        if (!x) {
            std::fprintf(stderr, "mhelper-synonyms: cannot read %s\n", extra.c_str());
            return 1;
        }
        while (std::getline(x, line)) {
            if (line.empty() || line.front() == '#')
                continue;
            const size_t space = line.find(' ');
            if (space == std::string::npos)
                continue;
            const std::string a = lemmas.Known(Lower(line.substr(0, space)));
            std::string b = line.substr(space + 1);
            while (!b.empty() && (b.back() == '\r' || b.back() == ' '))
                b.pop_back();
            b = lemmas.Known(Lower(b));
            if (a.empty() || b.empty() || a == b) {
                std::fprintf(stderr, "mhelper-synonyms: %s: unknown or equal words: %s\n", extra.c_str(), line.c_str());
                return 1;
            }
            listed[{a, b}] = true;
            ++extraPairs;
        }
    }

    // Symmetric pairs, each once as (smaller, larger).
    std::set<std::pair<std::string, std::string>> pairs;
    size_t broadDropped = 0;
    for (const auto& [pair, narrow] : listed) {
        const bool both = listed.count({pair.second, pair.first}) > 0;
        if (!narrow && !both) {
            ++broadDropped;
            continue;
        }
        pairs.insert(std::minmax(pair.first, pair.second));
    }

    std::vector<std::string> words;
    for (const auto& [a, b] : pairs) {
        words.push_back(a);
        words.push_back(b);
    }
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    const auto indexOf = [&words](const std::string& w) {
        return uint32_t(std::lower_bound(words.begin(), words.end(), w) - words.begin());
    };
    std::vector<std::vector<uint32_t>> links(words.size());
    for (const auto& [a, b] : pairs) {
        links[indexOf(a)].push_back(indexOf(b));
        links[indexOf(b)].push_back(indexOf(a));
    }

    std::string body;
    uint32_t offset = 0;
    for (const std::string& w : words) {
        Put32(body, offset);
        offset += uint32_t(w.size());
    }
    Put32(body, offset);
    uint32_t linkCount = 0;
    for (std::vector<uint32_t>& l : links) {
        std::sort(l.begin(), l.end());
        Put32(body, linkCount);
        linkCount += uint32_t(l.size());
    }
    Put32(body, linkCount);
    for (const std::vector<uint32_t>& l : links)
        for (uint32_t v : l)
            Put32(body, v);
    for (const std::string& w : words)
        body += w;

    std::string file(synonymformat::kMagic, 8);
    Put32(file, synonymformat::kVersion);
    Put32(file, uint32_t(words.size()));
    Put32(file, linkCount);
    Put32(file, offset);
    Put32(file, synonymformat::Checksum(reinterpret_cast<const unsigned char*>(body.data()), body.size()));
    Put32(file, 0);
    file += body;
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(file.data(), std::streamsize(file.size()));
    if (!out) {
        std::fprintf(stderr, "mhelper-synonyms: cannot write %s\n", output.c_str());
        return 1;
    }
    if (!pairsOut.empty()) {
        std::ofstream p(pairsOut, std::ios::binary | std::ios::trunc);
        for (const auto& [a, b] : pairs)
            p << a << ' ' << b << '\n';
    }
    std::printf("mhelper-synonyms: %zu headwords, %zu synonym lines, %zu word pairs; %zu listed pairs of known "
                "lemmas, %zu extra, %zu from broad senses dropped; %zu pairs of %zu words -> %s (%zu bytes)\n",
                headwords, lines, wordPairs, listed.size(), extraPairs, broadDropped, pairs.size(), words.size(),
                output.c_str(), file.size());
    return 0;
}
