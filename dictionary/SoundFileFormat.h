#pragma once
// Layout of "sounds.dat", the archive of recorded syllables (little endian):
//   header  16 bytes: magic "QSND", uint16 version, uint16 zero, uint32 count,
//                     uint32 sample rate
//   index   count entries of 12 bytes, sorted by (scheme, id), no duplicates:
//           uint8 scheme, uint8 zero, uint16 SyllableId, uint32 offset of the
//           samples from the file start, uint32 sample count
//   samples µ-law bytes, one per sample, mono
#include <QByteArray>
#include <QtEndian>
#include <cstdint>

namespace quillory::soundfile {

inline constexpr char kMagic[4] = {'Q', 'S', 'N', 'D'};
inline constexpr std::uint16_t kVersion = 1;
inline constexpr std::uint32_t kSampleRate = 16000;
inline constexpr int kHeaderSize = 16;
inline constexpr int kEntrySize = 12;

// Little-endian numbers, the byte order of the whole file (and of WAV).
inline void AppendU16(QByteArray& out, std::uint16_t value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

inline void AppendU32(QByteArray& out, std::uint32_t value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace quillory::soundfile
