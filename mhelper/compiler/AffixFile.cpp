#include "AffixFile.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace mhelper {

std::u32string FromUtf8(const std::string& s)
{
    std::u32string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + size_t(len) > s.size()) {
            out.push_back(U'?');
            ++i;
            continue;
        }
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k < len; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + size_t(k)]) & 0x3F);
        out.push_back(cp);
        i += size_t(len);
    }
    return out;
}

std::string ToUtf8(const std::u32string& s)
{
    std::string out;
    out.reserve(s.size() * 2);
    for (char32_t c : s) {
        if (c < 0x80) {
            out.push_back(char(c));
        } else if (c < 0x800) {
            out.push_back(char(0xC0 | (c >> 6)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(char(0xE0 | (c >> 12)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (c >> 18)));
            out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

namespace {

std::vector<std::pair<std::u32string, bool>> ParseCondition(const std::u32string& text, bool& ok)
{
    std::vector<std::pair<std::u32string, bool>> out;
    ok = true;
    if (text == U".")
        return out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'[') {
            const size_t close = text.find(U']', i);
            if (close == std::u32string::npos) {
                ok = false;
                return out;
            }
            bool negate = i + 1 < close && text[i + 1] == U'^';
            out.emplace_back(text.substr(i + 1 + (negate ? 1 : 0), close - i - 1 - (negate ? 1 : 0)), negate);
            i = close;
        } else if (text[i] == U'.') {
            out.emplace_back(std::u32string(), true);
        } else {
            out.emplace_back(std::u32string(1, text[i]), false);
        }
    }
    return out;
}

bool Matches(const std::pair<std::u32string, bool>& set, char32_t c)
{
    const bool in = set.first.find(c) != std::u32string::npos;
    return set.second ? !in : in;
}

bool SuffixApplies(const AffixFile::Rule& r, const std::u32string& w)
{
    if (w.size() <= r.strip.size() || w.size() < r.condition.size())
        return false;
    if (w.compare(w.size() - r.strip.size(), r.strip.size(), r.strip) != 0)
        return false;
    const size_t start = w.size() - r.condition.size();
    for (size_t k = 0; k < r.condition.size(); ++k)
        if (!Matches(r.condition[k], w[start + k]))
            return false;
    return true;
}

bool PrefixApplies(const AffixFile::Rule& r, const std::u32string& w)
{
    if (w.size() <= r.strip.size() || w.size() < r.condition.size())
        return false;
    if (w.compare(0, r.strip.size(), r.strip) != 0)
        return false;
    for (size_t k = 0; k < r.condition.size(); ++k)
        if (!Matches(r.condition[k], w[k]))
            return false;
    return true;
}

} // namespace

bool AffixFile::Load(const std::string& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return LoadText(text.str(), error);
}

bool AffixFile::LoadText(const std::string& text, std::string& error)
{
    std::istringstream lines(text);
    std::string line;
    int lineNo = 0;
    std::map<char32_t, size_t> expected;
    while (std::getline(lines, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream fields(line);
        std::string kind;
        fields >> kind;
        if (kind == "SET") {
            std::string enc;
            fields >> enc;
            if (enc != "UTF-8") {
                error = "only UTF-8 affix files are supported";
                return false;
            }
            continue;
        }
        if (kind == "FLAG") {
            std::string mode;
            fields >> mode;
            if (mode != "UTF-8") {
                error = "unsupported FLAG " + mode;
                return false;
            }
            continue;
        }
        if (kind != "PFX" && kind != "SFX")
            continue;
        std::string flagText, a, b, c;
        fields >> flagText >> a >> b;
        const std::u32string flag = FromUtf8(flagText);
        if (flag.size() != 1 || a.empty() || b.empty()) {
            error = "line " + std::to_string(lineNo) + ": malformed affix line";
            return false;
        }
        // A header (PFX|SFX flag Y|N count) opens a class; its rule lines follow.
        auto it = m_classes.find(flag[0]);
        if (it == m_classes.end() || expected[flag[0]] == 0) {
            if (it != m_classes.end()) {
                error = "line " + std::to_string(lineNo) + ": flag defined twice";
                return false;
            }
            Class& cls = m_classes[flag[0]];
            cls.prefix = kind == "PFX";
            cls.cross = a == "Y";
            expected[flag[0]] = std::strtoul(b.c_str(), nullptr, 10);
            if (expected[flag[0]] > 100000) {
                error = "line " + std::to_string(lineNo) + ": too many rules";
                return false;
            }
            continue;
        }
        fields >> c;
        Rule rule;
        rule.strip = a == "0" ? std::u32string() : FromUtf8(a);
        const size_t slash = b.find('/');
        if (slash != std::string::npos)
            b.resize(slash); // continuation classes are not followed
        rule.add = b == "0" ? std::u32string() : FromUtf8(b);
        bool ok = true;
        rule.condition = ParseCondition(c.empty() ? std::u32string(U".") : FromUtf8(c), ok);
        if (!ok) {
            error = "line " + std::to_string(lineNo) + ": bad condition";
            return false;
        }
        it->second.rules.push_back(std::move(rule));
        --expected[flag[0]];
    }
    return true;
}

void AffixFile::Expand(const std::u32string& word, const std::u32string& flags, std::vector<Form>& forms) const
{
    forms.push_back({word, 0, nullptr});
    std::vector<const Class*> crossPrefixes;
    for (char32_t f : flags) {
        auto it = m_classes.find(f);
        if (it == m_classes.end() || !it->second.prefix)
            continue;
        for (const Rule& r : it->second.rules)
            if (PrefixApplies(r, word))
                forms.push_back({r.add + word.substr(r.strip.size()), 0, nullptr});
        if (it->second.cross)
            crossPrefixes.push_back(&it->second);
    }
    for (char32_t f : flags) {
        auto it = m_classes.find(f);
        if (it == m_classes.end() || it->second.prefix)
            continue;
        for (const Rule& r : it->second.rules) {
            if (!SuffixApplies(r, word))
                continue;
            std::u32string form = word.substr(0, word.size() - r.strip.size()) + r.add;
            if (it->second.cross) {
                for (const Class* p : crossPrefixes)
                    for (const Rule& pr : p->rules)
                        if (PrefixApplies(pr, form))
                            forms.push_back({pr.add + form.substr(pr.strip.size()), f, &r});
            }
            forms.push_back({std::move(form), f, &r});
        }
    }
}

} // namespace mhelper
