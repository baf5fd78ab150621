// Price list storage: a price list is a folder, and each item is a file named as the item
// holding its price as one 8-byte Amount. Every function takes the list's folder (ending
// in "/") and finds an item whatever the letter case of its file name.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/amount.h"
#include "store/data_file.h"
#include "store/name_lookup.h"

namespace quantora {

inline constexpr std::size_t kItemFileSize = 8;

// The price in the first 8 bytes of an item file's content. A shorter file (never written
// by this program) reads with its missing bytes as zeros, so an empty file is a price of 0.
Amount DecodeItemPrice(const std::string& bytes);
std::string EncodeItemPrice(Amount price);

// listFolder + name.
std::string ItemPath(const std::string& listFolder, const std::string& name);

// True when the list holds the item (letter case ignored).
bool ItemExists(const std::string& listFolder, const std::string& name);

// The item's price; 0 for an item that is not there (nothing is created). Throws
// DataFileError when the item exists but cannot be opened.
Amount ReadItemPrice(const std::string& listFolder, const std::string& name);

// The item's price, or nothing when there is no such item (or its name cannot be a file).
// Pricing reads a whole costing through this, so the list folder comes opened (list) as
// well as named (listFolder), and a resolver remembers folder listings.
std::optional<Amount> ReadItemPriceIfPresent(const FolderReader& list,
                                             const std::string& listFolder, const std::string& name,
                                             NameResolver& resolver);

// Writes the price. An item that exists under another letter case is written there; a new
// one gets a file of exactly 8 bytes. The file is never left half written: durable, it is
// replaced and on the disk when this returns; otherwise (an action over many items, which
// flushes once) an existing file has its price written in place.
void WriteItemPrice(const std::string& listFolder, const std::string& name, Amount price,
                    bool durable = true);

// Writes the price of an item the list is known not to hold under any letter case, as an
// import that has just listed the folder knows: no search of the folder for each one.
void WriteNewItemPrice(const std::string& listFolder, const std::string& name, Amount price,
                       bool durable = true);

// Deletes the item; any failure (missing, locked) is ignored.
void DeleteItem(const std::string& listFolder, const std::string& name);

// The names of the list's items in the order of the folder listing.
std::vector<std::string> ListItemNames(const std::string& listFolder);

}  // namespace quantora
