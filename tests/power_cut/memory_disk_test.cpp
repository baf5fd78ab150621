// The disk kept in memory answers as the system's disk does, and after a power cut holds
// only what a real disk may come back with: what was flushed, and of the rest a mix.
#include "store/memory_disk.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <set>

#include "store/data_file.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

// The same steps on the system's disk and on the disk in memory give the same answers and
// leave the same files: the power-cut tests are worth only as much as this likeness.
TEST(MemoryDisk, AnswersAsTheSystemsDiskDoes) {
    TempFolder real;
    std::string base = real.path().substr(0, real.path().size() - 1);
    MemoryDisk memory;
    EnsureFolderPath(base + "/");  // nothing on the real disk: it exists already
    {
        FileLayerInUse use(memory);
        EnsureFolderPath(base + "/");
    }
    using Step = std::function<int(FileLayer&, const std::string&)>;
    std::string out;
    const std::vector<std::pair<const char*, Step>> steps = {
        {"make a", [](FileLayer& f, auto& b) { return f.MakeFolder(b + "/a"); }},
        {"make a again", [](FileLayer& f, auto& b) { return f.MakeFolder(b + "/a/"); }},
        {"make under missing", [](FileLayer& f, auto& b) { return f.MakeFolder(b + "/x/y"); }},
        {"new file",
         [](FileLayer& f, auto& b) { return f.Write(b + "/a/f", "12345", WriteMode::New, false); }},
        {"new over it",
         [](FileLayer& f, auto& b) { return f.Write(b + "/a/f", "z", WriteMode::New, false); }},
        {"append",
         [](FileLayer& f, auto& b) { return f.Write(b + "/a/f", "678", WriteMode::Append, true); }},
        {"over missing",
         [](FileLayer& f, auto& b) { return f.Write(b + "/a/g", "1", WriteMode::Over, false); }},
        {"over",
         [](FileLayer& f, auto& b) { return f.Write(b + "/a/f", "ab", WriteMode::Over, false); }},
        {"write past end",
         [](FileLayer& f, auto& b) { return f.WriteAt(b + "/a/f", 4, "Q", false); }},
        {"publish", [](FileLayer& f, auto& b) { return f.Publish(b + "/a/p", "whole"); }},
        {"publish over it", [](FileLayer& f, auto& b) { return f.Publish(b + "/a/p", "x"); }},
        {"read published",
         [&out](FileLayer& f, auto& b) { return f.Read(b + "/a/p", 0, kWholeFile, out); }},
        {"remove published", [](FileLayer& f, auto& b) { return f.Remove(b + "/a/p"); }},
        {"write at missing",
         [](FileLayer& f, auto& b) { return f.WriteAt(b + "/a/m", 0, "M", false); }},
        {"write at made",
         [](FileLayer& f, auto& b) { return f.WriteAt(b + "/a/m", 1, "M", true); }},
        {"write into folder",
         [](FileLayer& f, auto& b) { return f.Write(b + "/a", "x", WriteMode::Replace, false); }},
        {"read folder", [&out](FileLayer& f, auto& b) { return f.Read(b + "/a", 0, 4, out); }},
        {"read missing",
         [&out](FileLayer& f, auto& b) { return f.Read(b + "/a/none", 0, 4, out); }},
        {"make b", [](FileLayer& f, auto& b) { return f.MakeFolder(b + "/b"); }},
        {"file into b", [](FileLayer& f, auto& b) { return f.Rename(b + "/a/f", b + "/b/f"); }},
        {"folder over full", [](FileLayer& f, auto& b) { return f.Rename(b + "/a", b + "/b"); }},
        {"file over folder", [](FileLayer& f, auto& b) { return f.Rename(b + "/b/f", b + "/a"); }},
        {"folder over file", [](FileLayer& f, auto& b) { return f.Rename(b + "/a", b + "/b/f"); }},
        {"folder into itself",
         [](FileLayer& f, auto& b) { return f.Rename(b + "/b", b + "/b/c"); }},
        {"rename missing", [](FileLayer& f, auto& b) { return f.Rename(b + "/q", b + "/r"); }},
        {"folder moves whole",
         [](FileLayer& f, auto& b) { return f.Rename(b + "/b", b + "/a/b"); }},
        {"remove full folder", [](FileLayer& f, auto& b) { return f.RemoveFolder(b + "/a"); }},
        {"remove folder as file", [](FileLayer& f, auto& b) { return f.Remove(b + "/a/b"); }},
        {"remove file as folder", [](FileLayer& f, auto& b) { return f.RemoveFolder(b + "/a/m"); }},
        {"remove file", [](FileLayer& f, auto& b) { return f.Remove(b + "/a/m"); }},
        {"remove again", [](FileLayer& f, auto& b) { return f.Remove(b + "/a/m"); }},
        {"flush missing", [](FileLayer& f, auto& b) { return f.FlushFolder(b + "/none"); }},
        {"flush disk", [](FileLayer& f, auto& b) { return f.FlushDisk(b + "/a/"); }},
    };
    for (const auto& [what, step] : steps) {
        std::string realOut, memoryOut;
        int realAnswer = step(SystemFiles(), base);
        realOut = out;
        int memoryAnswer = step(memory, base);
        memoryOut = out;
        EXPECT_EQ(memoryAnswer, realAnswer) << what;
        EXPECT_EQ(memoryOut, realOut) << what;
    }
    auto tree = [&](FileLayer& files) {
        std::set<std::string> seen;
        std::function<void(const std::string&)> walk = [&](const std::string& folder) {
            std::vector<FolderEntry> entries;
            files.List(folder, entries);
            for (const FolderEntry& entry : entries) {
                std::string path = folder + entry.name;
                if (entry.kind == EntryKind::Folder) {
                    seen.insert(path.substr(base.size()) + "/");
                    walk(path + "/");
                    continue;
                }
                std::string bytes;
                files.Read(path, 0, kWholeFile, bytes);
                seen.insert(path.substr(base.size()) + "=" + bytes);
            }
        };
        walk(base + "/");
        return seen;
    };
    EXPECT_EQ(tree(memory), tree(SystemFiles()));
    EXPECT_TRUE(tree(memory).contains(std::string("/a/b/f=ab\0\0Q", 12)))
        << "the folder moved with its file";
}

// A file replaced by a new one whose bytes never reached the disk: the real disk may keep the
// rename and lose the bytes, which is why a save flushes before it renames.
TEST(MemoryDisk, APowerCutKeepsWhatWasFlushedAndMixesTheRest) {
    MemoryDisk before;
    before.MakeFolder("/d");
    before.Write("/d/job", "OLD", WriteMode::Replace, true);
    before.FlushDisk("/d");
    before.Write("/d/tmp", "NEW", WriteMode::New, false);
    before.Rename("/d/tmp", "/d/job");
    std::set<std::string> seen;
    for (std::uint64_t mix = 0; mix < 40; ++mix) {
        MemoryDisk disk = before;
        disk.PowerBack(mix);
        auto files = disk.Contents();
        ASSERT_TRUE(files.contains("/d/job")) << mix;
        if (mix <= 1) {
            EXPECT_FALSE(files.contains("/d/tmp")) << mix;
        }
        if (mix == 0) {
            EXPECT_EQ(files["/d/job"], "") << "the rename kept, the bytes lost";
        }
        if (mix == 1) {
            EXPECT_EQ(files["/d/job"], "OLD") << "nothing unflushed kept";
        }
        seen.insert(files["/d/job"]);
    }
    // Short, or with pages that never came: zeros where the length did but the bytes did not.
    auto partOfNew = [](const std::string& content) {
        for (std::size_t i = 0; i < content.size(); ++i)
            if (i >= 3 || (content[i] != "NEW"[i] && content[i] != '\0')) return false;
        return true;
    };
    for (const std::string& content : seen)
        EXPECT_TRUE(content == "OLD" || partOfNew(content)) << content;
    EXPECT_TRUE(seen.contains("NEW") && seen.contains("OLD")) << "the mixes reach both ends";

    // Flushed, the same steps survive every cut.
    MemoryDisk flushed = before;
    flushed.FlushDisk("/");
    for (std::uint64_t mix = 0; mix < 10; ++mix) {
        MemoryDisk disk = flushed;
        disk.PowerBack(mix);
        EXPECT_EQ(disk.Contents()["/d/job"], "NEW") << mix;
    }

    // A file's own flush keeps its bytes, and its folder's flush its name.
    MemoryDisk careful = flushed;
    careful.Write("/d/tmp", "NEWER", WriteMode::New, true);
    careful.Rename("/d/tmp", "/d/job");
    careful.FlushFolder("/d/");
    careful.MakeFolder("/d/later");
    for (std::uint64_t mix = 0; mix < 10; ++mix) {
        MemoryDisk disk = careful;
        disk.PowerBack(mix);
        EXPECT_EQ(disk.Contents()["/d/job"], "NEWER") << mix;
        if (mix == 1) {
            EXPECT_FALSE(disk.Contents().contains("/d/later/"));
        }
    }

    // A disk that only says it flushed keeps nothing of it.
    MemoryDisk lying = flushed;
    lying.LieAboutFlushes();
    lying.Write("/d/tmp", "NEWER", WriteMode::New, true);
    lying.Rename("/d/tmp", "/d/job");
    lying.FlushDisk("/");
    lying.PowerBack(0);
    EXPECT_EQ(lying.Contents()["/d/job"], "");
}

TEST(MemoryDisk, ThePowerGoesAtTheCountedStepAndNothingChangesAfter) {
    MemoryDisk disk;
    disk.MakeFolder("/d");
    disk.CutPowerAt(3);
    EXPECT_EQ(disk.Write("/d/a", "a", WriteMode::New, false), 0);
    EXPECT_EQ(disk.Steps(), 2u);
    EXPECT_EQ(disk.Rename("/d/a", "/d/b"), 0);
    EXPECT_EQ(disk.Remove("/d/b"), EIO);
    std::string out;
    EXPECT_EQ(disk.Read("/d/b", 0, 1, out), EIO) << "the program meets a dead disk";
    EXPECT_EQ(disk.MakeFolder("/e"), EIO);
    EXPECT_EQ(disk.Steps(), 3u);
    disk.PowerBack(0);
    auto files = disk.Contents();
    EXPECT_TRUE(files.contains("/d/b"));
    EXPECT_FALSE(files.contains("/e/"));
    EXPECT_EQ(disk.Remove("/d/b"), 0) << "the power is back";
}

}  // namespace
}  // namespace quantora
