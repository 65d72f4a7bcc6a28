#pragma once
// Big-endian writing of font tables.
#include <QByteArray>
#include <cstdint>

namespace quillory::datagen {

class FontBytes {
public:
    void U8(std::uint8_t v) { bytes_.append(char(v)); }
    void U16(std::uint32_t v) {
        U8(std::uint8_t(v >> 8));
        U8(std::uint8_t(v));
    }
    void I16(int v) { U16(std::uint16_t(std::int16_t(v))); }
    void U32(std::uint32_t v) {
        U16(v >> 16);
        U16(v & 0xFFFF);
    }
    void I64(std::int64_t v) {
        U32(std::uint32_t(std::uint64_t(v) >> 32));
        U32(std::uint32_t(v));
    }
    void Append(const QByteArray& bytes) { bytes_.append(bytes); }
    void PadTo4() {
        while (bytes_.size() % 4 != 0)
            U8(0);
    }
    // Overwrites 4 bytes at offset.
    void PutU32(qsizetype offset, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes_[offset + i] = char(std::uint8_t(v >> (24 - 8 * i)));
    }
    qsizetype size() const { return bytes_.size(); }
    const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

// The sum of the big-endian 32-bit words of the bytes, zero-padded.
inline std::uint32_t FontChecksum(const QByteArray& bytes) {
    std::uint32_t sum = 0;
    for (qsizetype i = 0; i < bytes.size(); i += 4) {
        std::uint32_t word = 0;
        for (int j = 0; j < 4; ++j)
            word = (word << 8) | (i + j < bytes.size() ? std::uint8_t(bytes[i + j]) : 0);
        sum += word;
    }
    return sum;
}

} // namespace quillory::datagen
