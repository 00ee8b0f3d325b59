// Wildcard matching of member names under each case setting.
#include "archive/name.h"

#include <gtest/gtest.h>

namespace {

struct MatchCase {
    const char* name;
    const char* pattern;
    ALCase nameCase;
    bool match;
};

TEST(ALName, WildCardMatch)
{
    const MatchCase cases[] = {
        {"rose.pes", "*.*", AL_MIXED, true},
        {"README", "*.*", AL_MIXED, true}, // "*.*" is every name, with or without a dot
        {"", "*.*", AL_MIXED, true},
        {"rose.pes", "*.pes", AL_MIXED, true},
        {"rose.pes", "*.PES", AL_MIXED, true},
        {"ROSE.PES", "rose.p?s", AL_MIXED, true},
        {"rose.pes", "rose.p?", AL_MIXED, false},
        {"rose.pes", "?ose.pes", AL_MIXED, true},
        {"rose.pes", "??ose.pes", AL_MIXED, false},
        {"rose", "rose.*", AL_MIXED, true}, // "x.*" ends in "*": the bare name matches too
        {"rosebud.dst", "rose.*", AL_MIXED, true},
        {"lily.dst", "rose.*", AL_MIXED, false},
        {"designs/rose.dst", "*.dst", AL_MIXED, true},
        {"designs\\rose.dst", "designs/rose.dst", AL_MIXED, true},
        {"designs\\rose.dst", "designs\\rose.dst", AL_MIXED, true},
        {"designs/rose.dst", "designs\\*", AL_MIXED, false}, // a backslash before a star escapes it
        {"designs*", "designs\\*", AL_MIXED, true},
        {"a*b", "a\\*b", AL_MIXED, true},  // an escaped star is a star
        {"axb", "a\\*b", AL_MIXED, false},
        {"a?b", "a\\?b", AL_MIXED, true},
        {"rose.dst", "[rl]ose.dst", AL_MIXED, true},
        {"hose.dst", "[rl]ose.dst", AL_MIXED, false},
        {"hose.dst", "[!rl]ose.dst", AL_MIXED, true},
        {"hose.dst", "[^rl]ose.dst", AL_MIXED, true},
        {"rose7.dst", "rose[0-9].dst", AL_MIXED, true},
        {"rosex.dst", "rose[0-9].dst", AL_MIXED, false},
        {"a[b", "a[b", AL_MIXED, true}, // an unclosed set is a plain bracket
        {"Rose.pes", "rose.pes", AL_KEEP_CASE, false},
        {"Rose.pes", "Rose.pes", AL_KEEP_CASE, true},
        {"ROSE.PES", "rose.pes", AL_UPPER, true}, // the name is upper case; the pattern follows
        {"rose.pes", "ROSE.PES", AL_LOWER, true},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*a*a*a*ac", AL_MIXED, false},
        {"abcabcabd", "*abd", AL_MIXED, true},
        {"abc", "", AL_MIXED, false},
        {"", "", AL_MIXED, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.match, ALName(c.name, c.nameCase).WildCardMatch(c.pattern))
            << '"' << c.name << "\" against \"" << c.pattern << "\" case " << c.nameCase;
}

TEST(ALName, SameNameIgnoresCaseUnlessTheNameKeepsIt)
{
    EXPECT_TRUE(ALName("Rose.PES", AL_MIXED).SameName("rose.pes"));
    EXPECT_FALSE(ALName("Rose.PES", AL_KEEP_CASE).SameName("rose.pes"));
    EXPECT_TRUE(ALName("Rose.PES", AL_KEEP_CASE).SameName("Rose.PES"));
    EXPECT_FALSE(ALName("rose.pes", AL_MIXED).SameName("rose.pe"));
}

} // namespace
