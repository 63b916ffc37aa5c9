#pragma once

// Spelling-level tests on normalised Russian words, used to link a dictionary's
// entries to one another. They look at endings only.
#include <cstdint>
#include <string>

namespace mhelper {

bool EndsWith(const std::string& s, const char* suffix);
// Drops n two-byte (Cyrillic) characters from the end.
std::string Cut(const std::string& s, size_t n);
// A verb's dictionary form: -ть, -ти, -чь and their reflexives.
bool IsRussianVerb(const std::string& lemma);
bool IsAdjective(const std::string& lemma);
// Which lemma a form shared by several is more likely to belong to in running text.
uint8_t Preference(const std::string& lemma, bool verb, const std::string& form);
// Endings of noun and adjective forms that a spelling dictionary lists on their own.
bool HasNominalEnding(const std::string& w);
bool HasAdjectiveEnding(const std::string& w);
// Whether w is the lemma's stem (with a fleeting vowel dropped or not) plus a noun or
// adjective ending: сургучом of сургуч, словенцем of словенец, but not чуть of чутье
// nor много of многий.
bool IsInflectionOf(const std::string& w, const std::string& lemma);

} // namespace mhelper
