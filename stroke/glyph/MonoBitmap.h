#pragma once
// A 1-bit bitmap in a fixed buffer: most significant bit first, rows top
// down, `pitch` bytes a row. Rows x pitch never exceeds the buffer.
#include <array>
#include <cstdint>
#include <cstring>

namespace quillory::stroke {

inline constexpr int kMonoBitmapBytes = 20480;
inline constexpr int kMaxGlyphPixelSize = 216;

struct MonoBitmap {
    int rows = 0;
    int width = 0;
    int pitch = 0;
    std::array<std::uint8_t, kMonoBitmapBytes> bits{};

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < rows; }
    bool Get(int x, int y) const {
        return Contains(x, y) && (bits[Index(x, y)] & Mask(x)) != 0;
    }
    void Set(int x, int y) {
        if (Contains(x, y))
            bits[Index(x, y)] |= Mask(x);
    }
    void Reset(int x, int y) {
        if (Contains(x, y))
            bits[Index(x, y)] &= static_cast<std::uint8_t>(~Mask(x));
    }
    void ClearAll() { bits.fill(0); }
    // Same geometry, no pixels.
    void TakeGeometry(const MonoBitmap& other) {
        rows = other.rows;
        width = other.width;
        pitch = other.pitch;
        ClearAll();
    }

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * pitch + x / 8; }
    static std::uint8_t Mask(int x) { return static_cast<std::uint8_t>(0x80u >> (x % 8)); }
};

} // namespace quillory::stroke
