#pragma once
// The stroke data files of the data folder and the layout of the
// stroke-order store, shared by the data compiler that writes them and the
// readers.
//
// Stroke-order store: chunks of records, each chunk covering one range of
// code points that the index's stroke-order section names with the chunk's
// position. A chunk is a run of records in ascending code order:
//   code (16-bit little-endian), entry count n (8-bit), n entries of
//   (contour index, flags), two bytes each.
#include <cstdint>

namespace quillory::stroke {

inline constexpr char kStrokeFontFileName[] = "def.dat";
inline constexpr char kStrokeOrderFileName[] = "klm.dat";
// The license of the stroke data, shipped unaltered beside the font.
inline constexpr char kStrokeLicenseFileName[] = "ARPHICPL.TXT";

inline constexpr int kStrokeRecordHeadSize = 3;
// Characters per chunk the compiler writes; the reader accepts any count.
inline constexpr int kStrokeCharactersPerChunk = 128;
// Longest chunk the reader reads: a damaged index cannot make it read more.
inline constexpr int kMaxStrokeChunkSize = 1 << 20;

} // namespace quillory::stroke
