#include "store/name_store.h"

#include <algorithm>
#include <cstring>

namespace quantora {

std::string_view NameStore::Add(std::string_view name) {
    if (name.empty()) return {};
    if (used_ + name.size() > kBlockSize) {
        // A name longer than a block has a block of its own size.
        blocks_.push_back(std::make_unique<char[]>(std::max(kBlockSize, name.size())));
        used_ = 0;
    }
    char* place = blocks_.back().get() + used_;
    std::memcpy(place, name.data(), name.size());
    used_ += name.size();
    return {place, name.size()};
}

void NameStore::Clear() {
    blocks_.clear();
    used_ = kBlockSize;
}

}  // namespace quantora
