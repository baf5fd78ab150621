// Files for tests: a fresh folder under the system's temporary folder for each test, removed
// afterwards, so no test touches a real data folder or the home folder; and the bytes of
// the files put there and read back.
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quantora::testing {

class TempFolder {
  public:
    // Under the system's temporary folder, or under base.
    explicit TempFolder(
        const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
        std::string pattern = (base / "quantora-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
        path_ += '/';
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending in "/".
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

  private:
    std::string path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool Exists(const std::string& path) { return std::filesystem::exists(path); }

// A used name slot of Groups.dat or PriceLists.dat: the name padded with spaces to 70 bytes.
inline std::string Slot(const std::string& name) {
    return name + std::string(70 - name.size(), ' ');
}

// While it lives, file permissions hold for this thread as they do for any user: a root
// test run (as in CI) gives up root's right to read and write past them, and takes it back
// at the end. Without it a file of mode 000 would still read fine as root.
class PermissionsEnforced {
  public:
    PermissionsEnforced() {
        if (::geteuid() != 0) return;
        ::syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        dropped_ = ::syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~PermissionsEnforced() {
        if (dropped_) ::syscall(SYS_capset, &header_, saved_);
    }
    PermissionsEnforced(const PermissionsEnforced&) = delete;
    PermissionsEnforced& operator=(const PermissionsEnforced&) = delete;

  private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] = {};
    bool dropped_ = false;
};

}  // namespace quantora::testing
