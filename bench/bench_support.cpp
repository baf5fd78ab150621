#include "bench_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace quantora::bench {

namespace {

class KeepingReporter : public benchmark::ConsoleReporter {
  public:
    explicit KeepingReporter(std::map<std::string, double>& times)
        : ConsoleReporter(OO_Tabular), times_(times) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            times_[run.run_name.function_name] = seconds * 1000.0;
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

std::map<std::string, double> RunAll(int argc, char** argv) {
    std::map<std::string, double> times;
    benchmark::Initialize(&argc, argv);
    KeepingReporter reporter(times);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return times;
}

void PrintCase(const std::string& name, double engineMs, double floorMs, const std::string& extra) {
    std::printf("case: %s engine_ms=%.3f floor_ms=%.3f ratio=%.3f%s%s\n", name.c_str(), engineMs,
                floorMs, floorMs > 0 ? engineMs / floorMs : 0.0, extra.empty() ? "" : " ",
                extra.c_str());
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

}  // namespace quantora::bench
