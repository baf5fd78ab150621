#include "store/own_settings.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <sstream>

#include "store/data_file.h"

namespace quantora {

namespace {

constexpr const char* kMarkup = "quote-markup";
constexpr const char* kShowsUnitPrices = "quote-shows-unit-prices";
constexpr const char* kFileFolder = "file-folder";
constexpr const char* kPriceChangeNote = "price-change-note";
constexpr const char* kReadOnlySettings = "read-only-settings";

// The whole number of text within [low, high], or nothing.
std::optional<int> NumberIn(const std::string& text, int low, int high) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

}  // namespace

OwnSettings ReadOwnSettings(const std::string& path) {
    OwnSettings settings;
    std::optional<std::string> content;
    try {
        content = DataFile::ReadWhole(path);
    } catch (const DataFileError&) {
    }
    std::istringstream file(content.value_or(""));
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t equals = line.find('=');
        std::string name = line.substr(0, equals);
        std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
        if (name == kMarkup) {
            settings.quoteMarkup = NumberIn(value, 0, kMaxMarkup).value_or(0);
        } else if (name == kShowsUnitPrices) {
            settings.quoteShowsUnitPrices = NumberIn(value, 0, 1).value_or(1) == 1;
        } else if (name == kPriceChangeNote) {
            settings.priceChangeNote = NumberIn(value, 0, 1).value_or(1) == 1;
        } else if (name == kFileFolder) {
            settings.fileFolder = value;
        } else if (name == kReadOnlySettings) {
            settings.readOnlySettings = value;
        } else if (!line.empty() && line.front() != '#') {
            settings.otherLines.push_back(line);
        }
    }
    return settings;
}

bool WriteOwnSettings(const std::string& path, const OwnSettings& settings) {
    if (path.empty()) return false;
    std::ostringstream text;
    text << "# Quantora's own settings, kept apart from Kiru.ini\n"
         << kMarkup << '=' << settings.quoteMarkup << '\n'
         << kShowsUnitPrices << '=' << (settings.quoteShowsUnitPrices ? 1 : 0) << '\n';
    text << kPriceChangeNote << '=' << (settings.priceChangeNote ? 1 : 0) << '\n';
    // A folder name with a line break in it cannot be kept on one line: it is forgotten.
    if (!settings.fileFolder.empty() &&
        settings.fileFolder.find_first_of("\r\n") == std::string::npos)
        text << kFileFolder << '=' << settings.fileFolder << '\n';
    if (!settings.readOnlySettings.empty() &&
        settings.readOnlySettings.find_first_of("\r\n") == std::string::npos)
        text << kReadOnlySettings << '=' << settings.readOnlySettings << '\n';
    for (const std::string& line : settings.otherLines) text << line << '\n';
    EnsureFolderPath(path);
    try {
        ReplaceFile(path, text.str(), false);
        return true;
    } catch (const DataFileError&) {
        return false;
    }
}

std::string FileDialogFolder(const OwnSettings& settings, const std::string& home) {
    std::error_code error;
    if (!settings.fileFolder.empty() && std::filesystem::is_directory(settings.fileFolder, error))
        return settings.fileFolder;
    return home;
}

void RememberFileFolder(const std::string& path, const std::string& chosenFile) {
    std::string folder = std::filesystem::path(chosenFile).parent_path().string();
    if (folder.empty()) return;
    OwnSettings settings = ReadOwnSettings(path);
    if (settings.fileFolder == folder) return;
    settings.fileFolder = folder;
    WriteOwnSettings(path, settings);
}

}  // namespace quantora
