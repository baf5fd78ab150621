#include "pricelists/item_file.h"

#include "store/data_file.h"
#include "store/little_endian.h"

namespace quantora {

Amount DecodeItemPrice(const std::string& bytes) {
    std::string price = bytes.substr(0, kItemFileSize);
    price.resize(kItemFileSize, '\0');
    return Amount::FromRaw(ReadInt64(price, 0));
}

std::string EncodeItemPrice(Amount price) {
    std::string bytes;
    AppendInt64(bytes, price.raw);
    return bytes;
}

std::string ItemPath(const std::string& listFolder, const std::string& name) {
    return listFolder + name;
}

bool ItemExists(const std::string& listFolder, const std::string& name) {
    return FindFile(listFolder, name).has_value();
}

Amount ReadItemPrice(const std::string& listFolder, const std::string& name) {
    auto stored = FindFile(listFolder, name);
    if (!stored) return Amount{};
    // Only read: a desk that only reads the folder may not open it for writing.
    std::optional<std::string> bytes =
        DataFile::ReadPart(ItemPath(listFolder, *stored), 0, kItemFileSize);
    return bytes ? DecodeItemPrice(*bytes) : Amount{};
}

std::optional<Amount> ReadItemPriceIfPresent(const FolderReader& list,
                                             const std::string& listFolder, const std::string& name,
                                             NameResolver& resolver) {
    if (!IsPlainFileName(name)) return std::nullopt;
    // The exact name is by far the common case; try it before anything is listed.
    auto bytes = list.ReadHead(name, kItemFileSize);
    if (!bytes) {
        auto stored = resolver.Find(listFolder, name);
        if (stored) bytes = list.ReadHead(*stored, kItemFileSize);
    }
    if (!bytes) return std::nullopt;
    return DecodeItemPrice(*bytes);
}

void WriteItemPrice(const std::string& listFolder, const std::string& name, Amount price,
                    bool durable) {
    std::string stored = FindFile(listFolder, name).value_or(name);
    std::string path = ItemPath(listFolder, stored);
    std::string bytes = EncodeItemPrice(price);
    // An import changes thousands of prices without a flush of each, its record vouching for
    // them: the eight bytes, which lie within the file's first page, are written in place,
    // whole for any reader and any stop. A new file renamed over each old one would have the
    // disk write each at once (as ext4 does for a rename over a file) and make a new one.
    if (!durable && FileExists(path)) return WriteUntorn(path, 0, bytes);
    // Whatever a hand-placed file holds past its price stays as it was.
    if (FileExists(path)) {
        DataFile existing = DataFile::Open(path);
        std::string content = existing.ReadAll();
        if (content.size() > kItemFileSize) bytes += content.substr(kItemFileSize);
    }
    ReplaceFile(path, bytes, durable);
}

void WriteNewItemPrice(const std::string& listFolder, const std::string& name, Amount price,
                       bool durable) {
    std::string path = ItemPath(listFolder, name), bytes = EncodeItemPrice(price);
    // Where it is there after all (written by an import a kill stopped), it is replaced.
    if (durable || !PublishFile(path, bytes)) ReplaceFile(path, bytes, durable);
}

void DeleteItem(const std::string& listFolder, const std::string& name) {
    auto stored = FindFile(listFolder, name);
    if (stored) Files().Remove(ItemPath(listFolder, *stored));
}

std::vector<std::string> ListItemNames(const std::string& listFolder) {
    return ListNormalFiles(listFolder);
}

}  // namespace quantora
