// Names kept back to back in blocks that never move: a list of a million names costs their
// bytes and not a string object each, and a name handed out stays where it is for as long as
// the store lives, whatever is added after it.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace quantora {

class NameStore {
  public:
    // A copy of name, kept until Clear.
    std::string_view Add(std::string_view name);
    void Clear();

  private:
    static constexpr std::size_t kBlockSize = 256 * 1024;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t used_ = kBlockSize;  // in the last block; a full one until the first name
};

}  // namespace quantora
