#pragma once
// The stroke player's button symbols: 15 x 13 one-bit masks by their image
// numbers. Set pixels are the symbol; clear pixels let the button's ground
// show through.
#include <QImage>

namespace quillory::stroke {

namespace player_image {
inline constexpr int kBack = 189;
inline constexpr int kBeginning = 191;
inline constexpr int kClose = 193;
inline constexpr int kEnd = 194;
inline constexpr int kPlay = 196;
inline constexpr int kMinus = 198;
inline constexpr int kNext = 199;
inline constexpr int kPause = 201;
inline constexpr int kPlus = 202;
} // namespace player_image

// The mask as a Format_Mono image, pixel index 1 for the symbol; a null
// image for other numbers.
QImage PlayerImage(int id);

} // namespace quillory::stroke
