// The records a price list's folder keeps beside its items (the last import, the names a
// supplier gave its items): text of one entry a line, its fields split by tabs, a tab, a line
// break or a backslash in a field escaped by a backslash.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quantora {

// A field as a record holds it.
std::string EscapedField(const std::string& text);

// The entries of a record's bytes, each split into its fields (at least one).
std::vector<std::vector<std::string>> SplitRecordLines(std::string_view text);

// The entries of the record at path, each split into its fields; none for a record that is
// missing or cannot be read.
std::vector<std::vector<std::string>> ReadRecordLines(const std::string& path);

// The names a supplier gave the items an import mended: (name in the file, item name).
std::vector<std::pair<std::string, std::string>> ReadSupplierNames(const std::string& listFolder);

}  // namespace quantora
