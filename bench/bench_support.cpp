#include "bench_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "store/data_file.h"

namespace quantora::bench {

namespace {

class KeepingReporter : public benchmark::ConsoleReporter {
  public:
    explicit KeepingReporter(std::map<std::string, double>& times)
        : ConsoleReporter(OO_Tabular), times_(times) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            double ms = run.real_accumulated_time / static_cast<double>(run.iterations) * 1000.0;
            auto [kept, first] = times_.try_emplace(run.run_name.function_name, ms);
            if (!first) kept->second = std::min(kept->second, ms);
        }
        ConsoleReporter::ReportRuns(runs);
    }

  private:
    std::map<std::string, double>& times_;
};

}  // namespace

ScratchFolder::ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quantora-bench-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    path_ += '/';
}

ScratchFolder::~ScratchFolder() { std::filesystem::remove_all(path_); }

std::map<std::string, double> RunAll(int argc, char** argv, int repetitions) {
    std::map<std::string, double> times;
    std::string repeat = "--benchmark_repetitions=" + std::to_string(repetitions);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args{argv[0], repeat.data(), interleave.data()};
    args.insert(args.end(), argv + 1, argv + argc);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    KeepingReporter reporter(times);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return times;
}

void PrintCase(const std::string& name, double engineMs, double floorMs, const std::string& extra) {
    // A case whose engine or floor was filtered out, or failed, has no ratio to give.
    if (!(engineMs > 0) || !(floorMs > 0)) {
        std::printf("case: %s error: %s did not run\n", name.c_str(),
                    !(engineMs > 0) && !(floorMs > 0) ? "the engine and the floor"
                    : !(engineMs > 0)                 ? "the engine"
                                                      : "the floor");
        return;
    }
    std::printf("case: %s engine_ms=%.3f floor_ms=%.3f ratio=%.3f%s%s\n", name.c_str(), engineMs,
                floorMs, engineMs / floorMs, extra.empty() ? "" : " ", extra.c_str());
}

void WriteFast(const std::string& path, const std::string& bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        std::abort();
    ::close(fd);
}

void SettleDisk() { ::sync(); }

void ReadEightBytes(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) std::abort();
    char buffer[8];
    if (::read(fd, buffer, sizeof buffer) < 0) std::abort();
    benchmark::DoNotOptimize(buffer);
    ::close(fd);
}

std::string CatalogueName(int i) {
    static const char* words[] = {"Bolt",    "nut",   "Washer", "screw",  "Hinge",
                                  "bracket", "Plate", "rivet",  "Hammer", "hanger"};
    char name[64];
    std::snprintf(name, sizeof name, "%s M%d x %d code %07lld", words[i % 10], 3 + i % 9,
                  10 + i % 90, i * 7919LL % 10'000'019);
    return name;
}

namespace {

void WriteNewAndRename(const std::string& path, const std::string& bytes) {
    std::string temp = path + ".new";
    int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (::write(out, bytes.data(), bytes.size()) < 0) std::abort();
    ::close(out);
    if (::rename(temp.c_str(), path.c_str()) != 0) std::abort();
}

std::string ReadAll(int fd) {
    std::string bytes(static_cast<std::size_t>(::lseek(fd, 0, SEEK_END)), '\0');
    if (::pread(fd, bytes.data(), bytes.size(), 0) < 0) std::abort();
    return bytes;
}

}  // namespace

void ReadAndWriteJob(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    std::string bytes = ReadAll(fd);
    if (bytes.size() <= kUntornPiece) {
        if (::pwrite(fd, bytes.data(), bytes.size(), 0) < 0) std::abort();
        ::close(fd);
        return;
    }
    ::close(fd);
    WriteNewAndRename(path, bytes);
}

void WriteWorkingCopy(const std::string& saved, const std::string& working) {
    int fd = ::open(saved.c_str(), O_RDONLY | O_CLOEXEC);
    std::string bytes = ReadAll(fd);
    ::close(fd);
    WriteNewAndRename(working, bytes);
}

void WriteDurably(const std::string& folder, const std::string& name, const std::string& bytes) {
    std::string temp = folder + ".durable.tmp", target = folder + name;
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) < 0 || ::fsync(fd) != 0) std::abort();
    ::close(fd);
    if (::rename(temp.c_str(), target.c_str()) != 0) std::abort();
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0 || ::fsync(dir) != 0) std::abort();
    ::close(dir);
}

}  // namespace quantora::bench
