#include "archive/name.h"

#include <cctype>
#include <cstring>
#include <strings.h>
#include <vector>

namespace {

void Upper(std::string& s)
{
    for (auto& c : s) c = (char)std::toupper((unsigned char)c);
}

void Lower(std::string& s)
{
    for (auto& c : s) c = (char)std::tolower((unsigned char)c);
}

bool IsEscapable(char c)
{
    return c != 0 && std::strchr("!*-?[]^", c) != nullptr;
}

// One position of a parsed pattern: a literal, "?", "*" or a set.
struct Token {
    enum Kind { kLiteral, kAny, kStar, kSet };
    explicit Token(Kind k) : kind(k) {}

    Kind kind;
    unsigned char literal = 0;
    bool negate = false;
    std::vector<std::pair<unsigned char, unsigned char>> ranges;

    bool Matches(unsigned char c) const
    {
        switch (kind) {
        case kLiteral: return c == literal;
        case kAny: return true;
        case kSet: {
            bool in = false;
            for (const auto& [lo, hi] : ranges)
                if (c >= lo && c <= hi) in = true;
            return in != negate;
        }
        case kStar: break;
        }
        return false;
    }
};

// A set starting at pattern[i] == '['; false (and the '[' is a literal) when it is not closed.
bool ParseSet(const std::string& pattern, size_t& i, Token& token)
{
    size_t j = i + 1;
    token.kind = Token::kSet;
    if (j < pattern.size() && (pattern[j] == '!' || pattern[j] == '^')) {
        token.negate = true;
        ++j;
    }
    bool first = true;
    while (j < pattern.size() && (pattern[j] != ']' || first)) {
        first = false;
        unsigned char lo = (unsigned char)pattern[j];
        if (lo == '\\' && j + 1 < pattern.size()) lo = (unsigned char)pattern[++j];
        unsigned char hi = lo;
        if (j + 2 < pattern.size() && pattern[j + 1] == '-' && pattern[j + 2] != ']') {
            j += 2;
            hi = (unsigned char)pattern[j];
            if (hi == '\\' && j + 1 < pattern.size()) hi = (unsigned char)pattern[++j];
        }
        token.ranges.emplace_back(lo, hi);
        ++j;
    }
    if (j >= pattern.size()) return false;
    i = j; // the closing ']'
    return true;
}

std::vector<Token> Parse(const std::string& pattern)
{
    std::vector<Token> tokens;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        Token token(Token::kLiteral);
        if (c == '*') {
            if (!tokens.empty() && tokens.back().kind == Token::kStar) continue;
            token.kind = Token::kStar;
        } else if (c == '?') {
            token.kind = Token::kAny;
        } else if (c == '[') {
            Token set(Token::kSet);
            if (ParseSet(pattern, i, set)) token = set;
            else token.literal = '[';
        } else if (c == '\\' && i + 1 < pattern.size()) {
            token.literal = (unsigned char)pattern[++i];
        } else {
            token.literal = (unsigned char)c;
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

// Greedy matching that returns to the last star on a mismatch: linear in practice and never
// exponential, whatever the pattern.
bool Match(const std::string& name, const std::vector<Token>& tokens)
{
    size_t n = 0, t = 0;
    size_t starToken = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (t < tokens.size() && tokens[t].kind == Token::kStar) {
            starToken = ++t;
            starName = n;
        } else if (t < tokens.size() && tokens[t].Matches((unsigned char)name[n])) {
            ++t;
            ++n;
        } else if (starToken != std::string::npos) {
            t = starToken;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (t < tokens.size() && tokens[t].kind == Token::kStar) ++t;
    return t == tokens.size();
}

} // namespace

ALName::ALName(const char* name, ALCase nameCase) : mName(name ? name : ""), mCase(nameCase) {}

bool ALName::WildCardMatch(const char* pattern) const
{
    std::string name = mName;
    std::string pat = pattern ? pattern : "";
    switch (mCase) {
    case AL_UPPER: Upper(pat); break;
    case AL_LOWER: Lower(pat); break;
    case AL_MIXED:
        Lower(pat);
        Lower(name);
        break;
    case AL_KEEP_CASE: break;
    }
    if (pat.size() >= 2 && pat.compare(pat.size() - 2, 2, ".*") == 0) pat.replace(pat.size() - 2, 2, "*");
    for (auto& c : name)
        if (c == '\\') c = '/';
    for (size_t i = 0; i < pat.size(); ++i) {
        if (pat[i] != '\\') continue;
        if (i + 1 < pat.size() && IsEscapable(pat[i + 1]))
            ++i; // an escape: keep it and the character it guards
        else
            pat[i] = '/';
    }
    return Match(name, Parse(pat));
}

bool ALName::SameName(const char* other) const
{
    const char* b = other ? other : "";
    if (mCase == AL_KEEP_CASE) return std::strcmp(mName.c_str(), b) == 0;
    return strcasecmp(mName.c_str(), b) == 0;
}
