// Little-endian integers inside the byte strings of the data files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quantora {

inline void AppendInt16(std::string& bytes, std::int16_t value) {
    auto u = static_cast<std::uint16_t>(value);
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
}

inline void AppendInt64(std::string& bytes, std::int64_t value) {
    auto u = static_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) bytes += static_cast<char>((u >> (8 * i)) & 0xFF);
}

// Overwrites 8 bytes at offset; the caller guarantees they are there.
inline void PutInt64(std::string& bytes, std::size_t offset, std::int64_t value) {
    auto u = static_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) bytes[offset + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

// Reads at offset; the caller guarantees the bytes are there.
inline std::int16_t ReadInt16(std::string_view bytes, std::size_t offset) {
    auto lo = static_cast<std::uint8_t>(bytes[offset]);
    auto hi = static_cast<std::uint8_t>(bytes[offset + 1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

inline std::int64_t ReadInt64(std::string_view bytes, std::size_t offset) {
    std::uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = (u << 8) | static_cast<std::uint8_t>(bytes[offset + i]);
    return static_cast<std::int64_t>(u);
}

}  // namespace quantora
