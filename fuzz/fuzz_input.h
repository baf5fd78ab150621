// What the fuzz targets that build folders share: a scratch folder of their own, emptied
// for each input, and a reader that takes names, bytes and small numbers from the input.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace quantora::fuzz {

// A folder under the system's temporary folder, made once per run, ending in "/".
inline const std::string& Scratch() {
    static const std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quantora-fuzz-XXXXXX").string();
        std::string made = ::mkdtemp(pattern.data());
        return made + "/";
    }();
    return folder;
}

// Empties the scratch folder, pipes, links and read-only files included.
inline void ClearScratch() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(Scratch(), ignored))
        std::filesystem::remove_all(entry.path(), ignored);
}

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // Up to max bytes, the count taken from the input first.
    std::string Bytes(std::size_t max) {
        std::size_t count = Byte() % (max + 1);
        std::string bytes;
        while (count-- > 0 && !Empty()) bytes += static_cast<char>(Byte());
        return bytes;
    }
    // A name that can be a file name here: no "/" or NUL, not "." or "..", not empty.
    std::string FileName(std::size_t max = 12) {
        std::string name;
        for (char c : Bytes(max))
            if (c != '/' && c != '\0') name += c;
        if (name.empty() || name == "." || name == "..") name = "n";
        return name;
    }

    // A file of a name and up to max bytes from the input, in folder; false when it cannot
    // be made (the name may be taken by a folder).
    bool File(const std::string& folder, std::size_t max) {
        std::string name = FileName();
        int fd = ::open((folder + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) return false;
        std::string bytes = Bytes(max);
        if (::write(fd, bytes.data(), bytes.size()) < 0) std::abort();
        ::close(fd);
        return true;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace quantora::fuzz
