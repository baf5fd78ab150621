// What every benchmark program shares: a scratch data folder, a reporter that keeps each
// benchmark's time, and the one line per case that compares the program with its floor.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace quantora::bench {

// A temporary folder removed at the end of the program.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Runs every registered benchmark and returns the mean real time of each, in milliseconds,
// by benchmark name; Google Benchmark's own table is printed as usual. With repetitions, the
// runs of all the benchmarks are interleaved in random order and each keeps its quickest
// mean: a burst of noise from the machine only ever adds time, so the engine and its floor
// are each compared at their least disturbed. Flags on the command line still win.
std::map<std::string, double> RunAll(int argc, char** argv, int repetitions = 1);

// "case: <name> engine_ms=<x> floor_ms=<y> ratio=<x/y>" plus any extra figures; "case: <name>
// error: ... did not run" when the engine or the floor has no time (filtered out, or failed).
void PrintCase(const std::string& name, double engineMs, double floorMs,
               const std::string& extra = "");

// Writes a file plainly: setting up thousands of files for a benchmark needs no crash safety.
void WriteFast(const std::string& path, const std::string& bytes);

// Lets the disk write out what setting up wrote, so that it does not slow the first case
// measured more than the others.
void SettleDisk();

// The i-th name of a supplier's catalogue: words, sizes and codes in mixed case, in no order,
// each different from every other.
std::string CatalogueName(int i);

// Opens, reads 8 bytes from and closes one file: the least any reader of an item can do.
void ReadEightBytes(const std::string& path);

// The least file work of repricing one job file: read it whole and write its records back so
// that a kill leaves each record whole: in place within one page, as a new file renamed over
// the old one beyond that.
void ReadAndWriteJob(const std::string& path);

// The least file work of making a job's working copy as it opens: the saved job read whole
// and written as a new file renamed over the working copy, so a kill never leaves half of one.
void WriteWorkingCopy(const std::string& saved, const std::string& working);

// The least a write that no crash can tear needs: a new file written and flushed, renamed to
// the name, and the folder flushed so that the rename stays.
void WriteDurably(const std::string& folder, const std::string& name, const std::string& bytes);

}  // namespace quantora::bench
