#pragma once

#include <QtGlobal>

// The characters a disguised copy hides behind, as the reading of a document sees them.
namespace TrickCharacters {

// A letter of the Cyrillic script (the basic block, its supplement and extensions).
bool IsCyrillicLetter(char32_t c);

// The Cyrillic letter a Latin or Greek letter is drawn like, or 0. Only letters that
// look alike in ordinary text fonts, case kept:
//   Latin  a c e k o p x y ë  ->  а с е к о р х у ё
//          A B C E H K M O P T X Y Ë  ->  А В С Е Н К М О Р Т Х У Ё
//   Greek  α ε ο ρ κ  ->  а е о р к
//          Α Β Ε Η Κ Μ Ο Ρ Τ Χ Υ  ->  А В Е Н К М О Р Т Х У
// Latin i, m, n, u and the like are left out: they differ from і, т, п, и in print,
// and a word holding one of them is genuinely mixed, not disguised.
char16_t CyrillicLookAlike(char32_t c);

// A character that prints as nothing: the default-ignorable code points (zero-width
// space, joiners, word joiner, byte order mark, bidirectional marks and isolates,
// invisible operators, variation selectors, tags...) except the soft hyphen and the
// fillers that print as a blank, which have their own classes.
bool IsInvisible(char32_t c);

constexpr char16_t SoftHyphen = u'\u00AD';

// A character that prints as a blank between words but is no plain space: every space
// separator (no-break, en, em, thin, ideographic...), the braille blank and the Hangul
// fillers.
bool IsSpaceLookAlike(char32_t c);
// The space look-alikes typesetting puts into honest text (no-break, narrow, en, em,
// figure, thin, hair and medium spaces), as opposed to the blanks only a disguise uses
// (braille, Hangul fillers, ogham, ideographic).
bool IsTypographicSpace(char32_t c);

// Combining acute and grave accents: the stress marks of Russian teaching texts.
bool IsStressMark(char32_t c);

// Vowels of Russian and of Latin script, either case, for telling a soft hyphen that
// parts syllables from one planted anywhere.
bool IsVowel(char32_t c);

} // namespace TrickCharacters
