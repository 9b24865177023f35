// Numbers inside file bytes, little-endian, as the tests read them back.
#pragma once

#include <cstdint>
#include <string>

inline uint32_t u16_at(const std::string& bytes, size_t offset)
{
    return static_cast<unsigned char>(bytes.at(offset)) |
           (static_cast<uint32_t>(static_cast<unsigned char>(bytes.at(offset + 1))) << 8);
}

inline uint32_t u32_at(const std::string& bytes, size_t offset)
{
    return u16_at(bytes, offset) | (u16_at(bytes, offset + 2) << 16);
}
