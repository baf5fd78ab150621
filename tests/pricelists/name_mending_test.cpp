#include "pricelists/name_mending.h"

#include <gtest/gtest.h>

namespace quantora {
namespace {

TEST(NameMending, EachPartOfTheRule) {
    MendingRule rule;
    struct Case {
        const char* name;
        const char* mended;
    };
    for (const Case& c :
         {Case{"Pipe 3/4in",
               "Pipe \xC2\xBE"
               "in"},
          Case{"Hinge 1/2\" brass", "Hinge \xC2\xBD\" brass"},
          Case{"Bolt 1 1/4", "Bolt 1 \xC2\xBC"},
          Case{"Ratio 11/2", "Ratio 11-2"},  // not a fraction standing alone
          Case{"Ratio 1/25", "Ratio 1-25"}, Case{"In/Out\\Switch", "In-Out-Switch"},
          Case{"Screw M4*20", "Screw M4x20"}, Case{"Star * glue*", "Star glue"},
          Case{"Cable 2:1", "Cable 2-1"}, Case{"What? <Best> | ok", "What Best ok"},
          Case{"  ..Dotted   name  ", "Dotted name"}, Case{"Plain name", "Plain name"}})
        EXPECT_EQ(MendItemName(c.name, rule), c.mended) << c.name;
}

TEST(NameMending, PartsSwitchedOffLeaveTheirCharacters) {
    MendingRule rule;
    rule.fractions = false;
    EXPECT_EQ(MendItemName("Pipe 3/4in", rule), "Pipe 3-4in");
    rule.slashes = false;
    rule.colons = false;
    EXPECT_EQ(MendItemName("a/b:c", rule), "a/b:c");
    rule.dropOthers = false;
    EXPECT_EQ(MendItemName("a?b", rule), "a?b");
}

TEST(NameMending, MendingAMendedNameChangesNothing) {
    MendingRule rule;
    for (const char* name : {"Pipe 3/4in", "a / b", "x::y", "1/2/3", " . / . ", "**", "3*4*5"}) {
        std::string once = MendItemName(name, rule);
        EXPECT_EQ(MendItemName(once, rule), once) << name;
        EXPECT_FALSE(NeedsMending(once)) << name;
    }
    EXPECT_FALSE(NeedsMending("Plain name, 5\" long"));
    EXPECT_TRUE(NeedsMending("a/b"));
    EXPECT_TRUE(NeedsMending(".hidden"));
}

}  // namespace
}  // namespace quantora
