#include "app/command_line.h"

#include <gtest/gtest.h>

namespace quantora {
namespace {

StartRequest Asked(std::vector<std::string> args) { return ReadCommandLine(args).request; }

TEST(CommandLine, HelpAndVersionAnswerWithoutWindowsAndHelpWins) {
    EXPECT_EQ(Asked({}), StartRequest::Windows);
    EXPECT_EQ(Asked({"--help"}), StartRequest::Usage);
    EXPECT_EQ(Asked({"-h"}), StartRequest::Usage);
    EXPECT_EQ(Asked({"--version"}), StartRequest::Version);
    EXPECT_EQ(Asked({"--version", "--help"}), StartRequest::Usage);
    EXPECT_EQ(Asked({"--help", "--version"}), StartRequest::Usage);
}

TEST(CommandLine, ReadOnlyOpensTheWindowsToReadTheFolderOnly) {
    EXPECT_FALSE(ReadCommandLine({}).readOnly);
    CommandLine asked = ReadCommandLine({"--read-only", "-platform", "offscreen"});
    EXPECT_EQ(asked.request, StartRequest::Windows);
    EXPECT_TRUE(asked.readOnly);
    EXPECT_EQ(Asked({"--read-only=yes"}), StartRequest::Refused);
    EXPECT_NE(UsageText("/home/anne/", "/usr/share/quantora/").find("  --read-only  "),
              std::string::npos);
}

TEST(CommandLine, TheWindowSystemsOptionsPassWithTheirValues) {
    EXPECT_EQ(Asked({"-platform", "offscreen"}), StartRequest::Windows);
    EXPECT_EQ(Asked({"--platform=xcb", "-reverse"}), StartRequest::Windows);
    EXPECT_EQ(Asked({"-session", "1234abcd", "--version"}), StartRequest::Version);
    // The value is taken as the option's, even when it looks like an option itself.
    EXPECT_EQ(Asked({"-style", "-bogus"}), StartRequest::Windows);
}

TEST(CommandLine, AnythingElseIsRefusedInOneLineNamingIt) {
    for (std::vector<std::string> args :
         std::vector<std::vector<std::string>>{{"--bogus"},
                                               {"prices.csv"},
                                               {"--help", "prices.csv"},
                                               {"-platform"},
                                               {"-reverse=1"},
                                               {"--versions"},
                                               {"-"}}) {
        CommandLine asked = ReadCommandLine(args);
        EXPECT_EQ(asked.request, StartRequest::Refused) << args.back();
        EXPECT_NE(asked.refusal.find(args.back()), std::string::npos) << asked.refusal;
        EXPECT_EQ(asked.refusal.find('\n'), std::string::npos);
    }
}

}  // namespace
}  // namespace quantora
