// Power cuts at every counted step of an action, on a disk kept in memory: after each cut the
// program starts again and its own recovery runs, and the test looks at what the disk holds.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "store/data_folder.h"
#include "store/memory_disk.h"

namespace quantora::testing {

struct CutReport {
    std::uint64_t steps = 0;     // of the action run whole
    std::uint64_t cuts = 0;      // power cuts tried: every step, each with every mix
    std::uint64_t failures = 0;  // cuts after which the check found something lost
    std::string firstFailure;    // what it found, and where
};

// Runs the action once whole on a copy of the disk to count its steps, then, for each step
// and each of several mixes of what the disk keeps, again on a fresh copy with the power cut
// at that step. After each cut, restart runs on the disk the power came back to, then check
// says what is wrong with that disk ("" when nothing is). Whatever the action throws once the power
// has gone is what a dead program would not have seen.
CutReport CutAtEveryStep(const MemoryDisk& before, const std::function<void()>& action,
                         const std::function<void()>& restart,
                         const std::function<std::string(const MemoryDisk&)>& check);

// CutAtEveryStep, expecting nothing lost after any cut of an action of at least leastSteps
// steps, and printing what was tried. Then the same on the disk lying about its flushes,
// expecting a loss: proof that the cuts would catch a flush the action left out.
void ExpectEveryCutSurvived(const char* what, const MemoryDisk& before,
                            const std::function<void()>& action,
                            const std::function<void()>& restart,
                            const std::function<std::string(const MemoryDisk&)>& check,
                            std::uint64_t leastSteps);

// The files under folder (ending in "/") on the disk in use, by path within it, with their
// bytes; hidden ones and folders left out.
std::map<std::string, std::string> FilesUnder(const MemoryDisk& disk, const std::string& folder);

// The default folder of the program on the disk in memory: a path no real disk holds, so
// that nothing of the machine's own folders can stand in for it.
inline constexpr const char* kHome = "/quantora-power-cut/home/";

// A first-run data folder in kHome on the disk in use, the settings it wrote in settings.
DataPaths NewDataFolder(Settings& settings);

// What the program does with the data folder as it starts, up to its first window: finish or
// undo a folder action, set the data folder up, and finish the work a stop left half done.
// The data folder it then works in.
DataPaths StartAgain();

// Writes the file whole and flushed, as data that was there long before the action.
void PutFile(const std::string& path, const std::string& bytes);

}  // namespace quantora::testing
