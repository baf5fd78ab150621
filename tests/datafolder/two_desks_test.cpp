// A desk that only reads a data folder while another works in it, each a process of its own:
// the reader never reads a file half written and never changes the folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>

#include "datafolder/desk_hold.h"
#include "desk_traffic.h"
#include "folder_tree.h"
#include "test_files.h"

namespace quantora::testing {
namespace {

struct Ended {
    int status = -1;
    std::string output;
};

Ended RunToEnd(const std::string& command) {
    Ended ended;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[512];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        ended.output += buffer;
    int status = pipe != nullptr ? ::pclose(pipe) : -1;
    ended.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ended;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

class TwoDesks : public ::testing::Test {
  protected:
    void SetUp() override {
        // Another user must be able to reach the folders: a reader that is not root.
        ::chmod(root.path().c_str(), 0755);
        ::chmod(own.path().c_str(), 0777);
        std::filesystem::create_directories(data);
        SetUpTrafficFolder(paths);
    }
    std::string Reader(int times, bool asNobody) const {
        return std::string(QUANTORA_DESK_TRAFFIC) + " read " + Quoted(data) + " " +
               Quoted(own.path()) + " " + std::to_string(times) + (asNobody ? " as-nobody" : "");
    }

    TempFolder root;
    TempFolder own;
    std::string data = root / "data/";
    DataPaths paths{data, data};
};

TEST_F(TwoDesks, TheReaderSeesEveryFileWholeWhileTheOtherDeskSavesPastesAndImports) {
    std::string stop = root / "stop";
    FILE* worker = ::popen((std::string(QUANTORA_DESK_TRAFFIC) + " work " + Quoted(data) + " " +
                            Quoted(stop) + " 2>&1")
                               .c_str(),
                           "r");
    ASSERT_NE(worker, nullptr);
    char line[256];
    // Under way before the reader starts: a save, a paste and an import are done.
    ASSERT_NE(std::fgets(line, sizeof line, worker), nullptr);
    ASSERT_STREQ(line, "round 1\n");

    // As root, the reader runs as another user, to whom the data folder is not writable: a
    // write it tried would fail and end it.
    Ended reader = RunToEnd(Reader(1000, ::geteuid() == 0) + " 2>&1");
    WriteBytes(stop, "");
    int rounds = 0;
    while (std::fgets(line, sizeof line, worker) != nullptr) ++rounds;
    int status = ::pclose(worker);

    EXPECT_EQ(reader.status, 0) << reader.output;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // It read while the jobs and the prices changed under it, not once before and after.
    std::smatch seen;
    std::string output = reader.output;
    ASSERT_TRUE(std::regex_search(output, seen, std::regex("rounds seen (\\d+)"))) << output;
    EXPECT_GE(std::stoi(seen[1]), 2) << output << " over " << rounds << " rounds";
    EXPECT_NE(output.find("holder "), std::string::npos);
}

TEST_F(TwoDesks, TheReaderChangesNothingInTheFolderEvenWhereItMay) {
    {
        DeskHold other;
        ASSERT_EQ(other.Take(data, ThisDesk()).outcome, DeskHold::Outcome::Held);
        auto before = TreeOf(data);
        // As this user, to whom the folder is writable: nothing may be created, changed or
        // deleted all the same.
        Ended reader = RunToEnd(Reader(50, false));
        EXPECT_EQ(reader.status, 0) << reader.output;
        EXPECT_EQ(TreeOf(data), before);
        // Its working copy is in its own folder.
        EXPECT_TRUE(Exists(own / "work/Temp.job"));
        EXPECT_FALSE(Exists(data + "Temp.job"));
    }
}

}  // namespace
}  // namespace quantora::testing
