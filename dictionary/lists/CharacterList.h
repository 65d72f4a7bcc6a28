#pragma once
#include <cstdint>
#include <vector>

namespace quillory {

// Code points in the order stored in a list record.
using CharacterList = std::vector<std::uint32_t>;

constexpr std::uint32_t kFirstIdeograph = 0x4E00;
constexpr std::uint32_t kLastIdeograph = 0x9FA5;

constexpr bool IsIdeograph(std::uint32_t code) {
    return code >= kFirstIdeograph && code <= kLastIdeograph;
}

} // namespace quillory
