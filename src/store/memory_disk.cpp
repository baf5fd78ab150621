#include "store/memory_disk.h"

#include <algorithm>
#include <cerrno>
#include <random>

namespace quantora {

namespace {

// "/a//b/./c/" and "/a/b/c" name the same entry; the key of every entry is the second form.
std::string Key(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        std::string part = path.substr(start, slash - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        start = slash + 1;
    }
    std::string key;
    for (const std::string& part : parts) key += "/" + part;
    return key.empty() ? "/" : key;
}

std::string ParentOf(const std::string& key) {
    std::size_t slash = key.rfind('/');
    return slash == 0 ? "/" : key.substr(0, slash);
}

bool Within(const std::string& key, const std::string& folder) {
    return folder == "/"
               ? key != "/"
               : key.size() > folder.size() && key.starts_with(folder) && key[folder.size()] == '/';
}

bool IsFolder(const MemoryDisk::Names& names, const std::string& key) {
    auto found = names.find(key);
    return found != names.end() && found->second.folder;
}

bool HasChildren(const MemoryDisk::Names& names, const std::string& key) {
    auto next = names.upper_bound(key);
    return next != names.end() && Within(next->first, key);
}

// Renames within a set of names as the system does; 0 or the error it gives.
int RenameIn(MemoryDisk::Names& names, const std::string& from, const std::string& to) {
    auto source = names.find(from);
    if (source == names.end() || !IsFolder(names, ParentOf(to))) return ENOENT;
    if (from == to) return 0;
    if (Within(to, from)) return EINVAL;
    auto target = names.find(to);
    MemoryDisk::Entry moved = source->second;
    if (target != names.end()) {
        if (target->second.folder && !moved.folder) return EISDIR;
        if (!target->second.folder && moved.folder) return ENOTDIR;
        if (target->second.folder && HasChildren(names, to)) return ENOTEMPTY;
        names.erase(target);
    }
    std::vector<std::pair<std::string, MemoryDisk::Entry>> inside;
    for (auto it = names.upper_bound(from); it != names.end() && Within(it->first, from);)
        inside.emplace_back(it->first.substr(from.size()), it->second), it = names.erase(it);
    names.erase(from);
    names[to] = moved;
    for (auto& [rest, entry] : inside) names[to + rest] = entry;
    return 0;
}

// Makes one change to a set of names; a change the names no longer allow is left out, as a
// disk that lost an earlier change never makes the later one.
void Apply(MemoryDisk::Names& names, const MemoryDisk::NameChange& change) {
    using Kind = MemoryDisk::NameChange::Kind;
    switch (change.kind) {
        case Kind::Link:
        case Kind::MakeFolder:
            if (IsFolder(names, ParentOf(change.path)) && !names.contains(change.path))
                names[change.path] = change.entry;
            break;
        case Kind::Unlink:
            if (names.contains(change.path) && !names[change.path].folder) names.erase(change.path);
            break;
        case Kind::RemoveFolder:
            if (IsFolder(names, change.path) && !HasChildren(names, change.path))
                names.erase(change.path);
            break;
        case Kind::Rename:
            RenameIn(names, change.path, change.to);
            break;
    }
}

// The content a file comes back with: each page old or new, and its length the old one or
// the new one, the bytes past what either held reading as zeros.
std::string Mixed(const std::string& kept, const std::string& now, std::mt19937_64& random) {
    constexpr std::size_t kPage = 4096;
    std::size_t length = random() % 2 ? now.size() : kept.size();
    if (random() % 3 == 0) length = now.empty() ? 0 : random() % (now.size() + 1);
    std::string mixed(length, '\0');
    for (std::size_t page = 0; page < length; page += kPage) {
        const std::string& from = random() % 2 ? now : kept;
        if (page < from.size())
            mixed.replace(page, std::min({kPage, length - page, from.size() - page}), from, page,
                          std::min({kPage, length - page, from.size() - page}));
    }
    return mixed;
}

}  // namespace

MemoryDisk::MemoryDisk() {
    names_["/"] = Entry{true, nextId_++};
    keptNames_ = names_;
}

MemoryDisk::MemoryDisk(const MemoryDisk& other) { *this = other; }

MemoryDisk& MemoryDisk::operator=(const MemoryDisk& other) {
    if (this == &other) return *this;
    std::scoped_lock both(lock_, other.lock_);
    names_ = other.names_;
    keptNames_ = other.keptNames_;
    changes_ = other.changes_;
    contents_ = other.contents_;
    nextId_ = other.nextId_;
    steps_ = other.steps_;
    cutAt_ = other.cutAt_;
    powerGone_ = other.powerGone_;
    lying_ = other.lying_;
    return *this;
}

std::uint64_t MemoryDisk::Steps() const {
    std::lock_guard hold(lock_);
    return steps_;
}

void MemoryDisk::CutPowerAt(std::uint64_t step) {
    std::lock_guard hold(lock_);
    cutAt_ = step;
    powerGone_ = steps_ >= cutAt_;
}

bool MemoryDisk::Step() {
    if (powerGone_ || steps_ >= cutAt_) {
        powerGone_ = true;
        return false;
    }
    ++steps_;
    return true;
}

void MemoryDisk::PowerBack(std::uint64_t variant) {
    std::lock_guard hold(lock_);
    std::mt19937_64 random(variant);
    std::size_t unflushed = static_cast<std::size_t>(
        std::count_if(changes_.begin(), changes_.end(), [](auto& c) { return !c.kept; }));
    std::size_t keepUnflushed = variant == 0   ? unflushed
                                : variant == 1 ? 0
                                               : random() % (unflushed + 1);
    Names names = keptNames_;
    for (const NameChange& change : changes_) {
        if (!change.kept) {
            if (keepUnflushed == 0) continue;
            --keepUnflushed;
        }
        Apply(names, change);
    }
    std::map<std::uint64_t, Content> contents;
    for (const auto& [key, entry] : names) {
        if (entry.folder || contents.contains(entry.id)) continue;
        const Content& was = contents_[entry.id];
        std::string back =
            variant <= 1 || was.kept == was.now ? was.kept : Mixed(was.kept, was.now, random);
        contents[entry.id] = Content{back, back};
    }
    names_ = names;
    keptNames_ = std::move(names);
    contents_ = std::move(contents);
    changes_.clear();
    cutAt_ = UINT64_MAX;
    powerGone_ = false;
}

std::map<std::string, std::string> MemoryDisk::Contents() const {
    std::lock_guard hold(lock_);
    std::map<std::string, std::string> all;
    for (const auto& [key, entry] : names_) {
        if (entry.folder)
            all[key == "/" ? key : key + "/"] = "";
        else
            all[key] = contents_.at(entry.id).now;
    }
    return all;
}

int MemoryDisk::Facts(const std::string& path, EntryFacts& out, bool) {
    std::lock_guard hold(lock_);
    out = EntryFacts{};
    if (int error = Reading()) return error;
    auto found = names_.find(Key(path));
    if (found == names_.end()) return 0;
    out.kind = found->second.folder ? EntryKind::Folder : EntryKind::File;
    out.size = found->second.folder ? 0 : contents_[found->second.id].now.size();
    out.device = 1;
    out.identity = found->second.id;
    return 0;
}

int MemoryDisk::Read(const std::string& path, std::uint64_t offset, std::size_t count,
                     std::string& out) {
    std::lock_guard hold(lock_);
    out.clear();
    if (int error = Reading()) return error;
    auto found = names_.find(Key(path));
    if (found == names_.end()) return ENOENT;
    if (found->second.folder) return EISDIR;
    const std::string& bytes = contents_[found->second.id].now;
    if (offset < bytes.size()) out = bytes.substr(static_cast<std::size_t>(offset), count);
    return 0;
}

int MemoryDisk::Write(const std::string& path, std::string_view bytes, WriteMode mode, bool flush) {
    std::lock_guard hold(lock_);
    if (!Step()) return EIO;
    std::string key = Key(path);
    auto found = names_.find(key);
    if (found != names_.end() && found->second.folder) return EISDIR;
    if (found == names_.end()) {
        if (mode == WriteMode::Over) return ENOENT;
        if (!IsFolder(names_, ParentOf(key))) return ENOENT;
        Entry entry{false, nextId_++};
        contents_[entry.id] = Content{};
        found = names_.emplace(key, entry).first;
        changes_.push_back(NameChange{NameChange::Kind::Link, key, "", entry});
    } else if (mode == WriteMode::New) {
        return EEXIST;
    }
    Content& content = contents_[found->second.id];
    if (mode == WriteMode::Append)
        content.now.append(bytes);
    else
        content.now.assign(bytes);
    if (flush && !lying_) content.kept = content.now;
    return 0;
}

int MemoryDisk::Publish(const std::string& path, std::string_view bytes) {
    return Write(path, bytes, WriteMode::New, false);
}

int MemoryDisk::WriteAt(const std::string& path, std::uint64_t offset, std::string_view bytes,
                        bool create) {
    {
        std::lock_guard hold(lock_);
        auto found = names_.find(Key(path));
        if (!powerGone_ && found != names_.end() && !found->second.folder) {
            if (!Step()) return EIO;
            std::string& now = contents_[found->second.id].now;
            if (now.size() < offset + bytes.size()) now.resize(offset + bytes.size(), '\0');
            now.replace(static_cast<std::size_t>(offset), bytes.size(), bytes);
            return 0;
        }
    }
    if (!create) {
        EntryFacts facts;
        Facts(path, facts);
        return facts.kind == EntryKind::Folder ? EISDIR : ENOENT;
    }
    if (int error = Write(path, "", WriteMode::New, false)) return error;
    return WriteAt(path, offset, bytes, false);
}

int MemoryDisk::Rename(const std::string& from, const std::string& to) {
    std::lock_guard hold(lock_);
    if (!Step()) return EIO;
    std::string source = Key(from), target = Key(to);
    if (int error = RenameIn(names_, source, target)) return error;
    changes_.push_back(NameChange{NameChange::Kind::Rename, source, target, {}});
    return 0;
}

int MemoryDisk::Remove(const std::string& path) {
    std::lock_guard hold(lock_);
    if (!Step()) return EIO;
    std::string key = Key(path);
    auto found = names_.find(key);
    if (found == names_.end()) return ENOENT;
    if (found->second.folder) return EISDIR;
    names_.erase(found);
    changes_.push_back(NameChange{NameChange::Kind::Unlink, key, "", {}});
    return 0;
}

int MemoryDisk::MakeFolder(const std::string& path) {
    std::lock_guard hold(lock_);
    if (!Step()) return EIO;
    std::string key = Key(path);
    if (names_.contains(key)) return EEXIST;
    if (!IsFolder(names_, ParentOf(key))) return ENOENT;
    Entry entry{true, nextId_++};
    names_[key] = entry;
    changes_.push_back(NameChange{NameChange::Kind::MakeFolder, key, "", entry});
    return 0;
}

int MemoryDisk::RemoveFolder(const std::string& path) {
    std::lock_guard hold(lock_);
    if (!Step()) return EIO;
    std::string key = Key(path);
    auto found = names_.find(key);
    if (found == names_.end()) return ENOENT;
    if (!found->second.folder) return ENOTDIR;
    if (key == "/") return EBUSY;
    if (HasChildren(names_, key)) return ENOTEMPTY;
    names_.erase(found);
    changes_.push_back(NameChange{NameChange::Kind::RemoveFolder, key, "", {}});
    return 0;
}

int MemoryDisk::List(const std::string& folder, std::vector<FolderEntry>& out) {
    std::lock_guard hold(lock_);
    out.clear();
    if (int error = Reading()) return error;
    std::string key = Key(folder);
    auto found = names_.find(key);
    if (found == names_.end()) return ENOENT;
    if (!found->second.folder) return ENOTDIR;
    for (auto it = names_.upper_bound(key); it != names_.end() && Within(it->first, key); ++it) {
        std::string name = it->first.substr(key == "/" ? 1 : key.size() + 1);
        if (name.find('/') != std::string::npos) continue;
        out.push_back({name, it->second.folder ? EntryKind::Folder : EntryKind::File});
    }
    return 0;
}

namespace {

class MemoryFolder : public OpenFolder {
  public:
    MemoryFolder(MemoryDisk& disk, std::string folder) : disk_(disk), folder_(std::move(folder)) {}
    int Read(const std::string& name, std::uint64_t offset, std::size_t count,
             std::string& out) override {
        return disk_.Read(folder_ + "/" + name, offset, count, out);
    }
    int Remove(const std::string& name) override { return disk_.Remove(folder_ + "/" + name); }

  private:
    MemoryDisk& disk_;
    std::string folder_;
};

}  // namespace

int MemoryDisk::Open(const std::string& folder, std::unique_ptr<OpenFolder>& out) {
    EntryFacts facts;
    if (int error = Facts(folder, facts)) return error;
    if (facts.kind == EntryKind::Missing) return ENOENT;
    if (facts.kind != EntryKind::Folder) return ENOTDIR;
    out = std::make_unique<MemoryFolder>(*this, Key(folder));
    return 0;
}

int MemoryDisk::FlushFolder(const std::string& folder) {
    std::lock_guard hold(lock_);
    if (!Step()) return EIO;
    std::string key = Key(folder);
    if (!IsFolder(names_, key)) return ENOENT;
    if (lying_) return 0;
    for (NameChange& change : changes_) {
        bool touches = ParentOf(change.path) == key ||
                       (change.kind == NameChange::Kind::Rename && ParentOf(change.to) == key);
        if (touches) change.kept = true;
    }
    return 0;
}

int MemoryDisk::FlushDisk(const std::string& folder) {
    std::lock_guard hold(lock_);
    if (!Step()) return EIO;
    if (!IsFolder(names_, Key(folder))) return ENOENT;
    if (lying_) return 0;
    keptNames_ = names_;
    changes_.clear();
    for (auto& [id, content] : contents_) content.kept = content.now;
    return 0;
}

int MemoryDisk::AllowWriting(const std::string& path) {
    std::lock_guard hold(lock_);
    if (int error = Reading()) return error;
    return names_.contains(Key(path)) ? 0 : ENOENT;
}

}  // namespace quantora
