#pragma once
// Layout of "sounds.dat", the archive of recorded syllables (little endian):
//   header  16 bytes: magic "QSND", uint16 version, uint16 pre-skip (samples
//                     the decoder puts out before the recording starts),
//                     uint32 count, uint32 sample rate
//   index   count entries of 16 bytes, sorted by (scheme, id), no duplicates:
//           uint8 scheme, uint8 zero, uint16 SyllableId, uint32 offset of the
//           recording from the file start, uint32 its length in bytes,
//           uint32 its sample count
//   recordings  mono Opus packets of 20 ms each, every packet preceded by its
//           uint16 length; decoded, a recording holds pre-skip samples, then
//           its samples, then silence up to the end of the last packet
#include <QByteArray>
#include <QtEndian>
#include <cstdint>

namespace quillory::soundfile {

inline constexpr char kMagic[4] = {'Q', 'S', 'N', 'D'};
inline constexpr std::uint16_t kVersion = 2;
inline constexpr std::uint32_t kSampleRate = 16000;
inline constexpr int kHeaderSize = 16;
inline constexpr int kEntrySize = 16;
inline constexpr int kFrameSamples = 320;            // 20 ms at 16 kHz
inline constexpr int kBitRate = 24000;               // clear wide-band speech
inline constexpr std::uint32_t kMaxSamples = 160000; // 10 s: no syllable is longer

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
