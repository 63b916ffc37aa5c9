#pragma once

#include <map>
#include <string>
#include <vector>

namespace mhelper {

// The affix rules of a spelling dictionary (.aff): prefix and suffix classes with
// strip, add and condition, and the cross-product switch. Flags are single
// characters, the format's default; other flag encodings are refused.
class AffixFile
{
public:
    struct Rule
    {
        std::u32string strip;
        std::u32string add;
        // One set per condition position; an empty set with negate means "any".
        std::vector<std::pair<std::u32string, bool>> condition;
    };
    struct Class
    {
        bool prefix = false;
        bool cross = false;
        std::vector<Rule> rules;
    };
    struct Form
    {
        std::u32string text;
        char32_t suffixFlag = 0; // 0 for the entry itself and prefix-only forms
        const Rule* suffixRule = nullptr;
    };

    bool Load(const std::string& path, std::string& error);
    bool LoadText(const std::string& text, std::string& error);

    // Every form the flags make of the word, the word itself first.
    void Expand(const std::u32string& word, const std::u32string& flags, std::vector<Form>& forms) const;

    const std::map<char32_t, Class>& classes() const { return m_classes; }

private:
    std::map<char32_t, Class> m_classes;
};

std::u32string FromUtf8(const std::string& s);
std::string ToUtf8(const std::u32string& s);

} // namespace mhelper
