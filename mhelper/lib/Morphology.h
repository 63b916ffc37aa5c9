#pragma once

#include "Dictionary.h"
#include "WordText.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace mhelper {

// One open morphology: the dictionary when it could be used, the Snowball rules for
// everything it lacks. Stem is safe to call from several threads at once.
class Morphology
{
public:
    explicit Morphology(const std::string& dataPath);

    bool hasDictionary() const { return m_dictionary.isOpen(); }
    Dictionary::Status status() const { return m_status; }

    // Writes the stem of a UTF-8 word to out (at most cap bytes, cut at a character
    // boundary, no terminator) and returns its length.
    size_t Stem(std::string_view word, char* out, size_t cap) const;

    // Words longer than this are not looked up nor stemmed: they come back
    // normalised and cut to the output's size.
    static constexpr size_t kMaxWordBytes = 256;

private:
    // Stems one normalised word or hyphen-free part of one.
    size_t StemPart(std::string_view form, Script script, char* out, size_t cap) const;
    // The same for a form the dictionary lacks.
    size_t StemUnknown(std::string_view form, Script script, char* out, size_t cap) const;

    Dictionary m_dictionary;
    Dictionary::Status m_status;
};

} // namespace mhelper
