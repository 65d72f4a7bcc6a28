#pragma once
// The stroke player's geometry and colours: a 239 x 239 square, the
// transport row along the bottom, the close button at the top right, and
// the speed and scan gauges with their minus and plus buttons.
#include "settings/RegisteredNames.h"
#include "stroke/player/PlayerImages.h"

#include <QPoint>
#include <QRgb>

namespace quillory::stroke::player_layout {

inline constexpr int kWidth = 239;
inline constexpr int kHeight = 239;
// Pixels between the player and the main window's right and bottom edges.
inline constexpr int kMargin = 28;

inline constexpr QRgb kBackground = qRgb(255, 255, 255);
inline constexpr QRgb kGrid = qRgb(200, 200, 200);
inline constexpr QRgb kGlyph = qRgb(218, 218, 218);
inline constexpr QRgb kRevealed = qRgb(0, 0, 0);
inline constexpr QRgb kDigits = qRgb(0, 128, 0);
inline constexpr QRgb kGaugeUnlit = qRgb(192, 192, 192);
inline constexpr QRgb kGaugeLit = qRgb(255, 0, 0);
inline constexpr QPoint kTensDigit{5, 5};
inline constexpr QPoint kOnesDigit{18, 5};

// Sizes of the button images, and the places derived from them.
inline constexpr int kImageWidth = 15;
inline constexpr int kImageHeight = 13;
inline constexpr int kStep = kImageWidth + 6;
inline constexpr int kRow = kHeight - kImageHeight - 2;
inline constexpr int kGaugeX = ((kWidth - 2) >> 1) - kImageWidth / 2 + 20;
inline constexpr int kPlusX = kGaugeX + kImageWidth + 48;
inline constexpr int kSpeedRow = kRow + 5 - kImageHeight;
inline constexpr int kScanRow = kRow + 4;
inline constexpr QPoint kSpeedBar{kGaugeX + kImageWidth, (kImageHeight - 6) / 2 + kSpeedRow + 1};
inline constexpr QPoint kScanBar{kGaugeX + kImageWidth, (kImageHeight - 6) / 2 + kRow + 5};
// A gauge tick i (1 to 10) is a 2 x 6 block at the bar's origin + (4i, 0).
inline constexpr int kTickSpacing = 4;
inline constexpr int kTickWidth = 2;
inline constexpr int kTickHeight = 6;

struct ButtonColourSet {
    QRgb normal;
    QRgb hover;
    QRgb disabled;
};
inline constexpr ButtonColourSet kTransportColours{qRgb(0, 128, 0), qRgb(0, 192, 0), qRgb(192, 192, 192)};
inline constexpr ButtonColourSet kCloseColours{qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(192, 192, 192)};
inline constexpr ButtonColourSet kGaugeColours{qRgb(255, 0, 0), qRgb(255, 0, 0), qRgb(192, 192, 192)};

struct ButtonPlace {
    const char* name; // registered name, also the button's id
    QPoint at;
    int image;
    ButtonColourSet colours;
};

inline constexpr ButtonPlace kButtons[] = {
    {kStrokeButtonClose, {kWidth - kImageWidth - 2, 2}, player_image::kClose, kCloseColours},
    {kStrokeButtonBeginning, {17, kRow}, player_image::kBeginning, kTransportColours},
    {kStrokeButtonBack, {17 + kStep, kRow}, player_image::kBack, kTransportColours},
    {kStrokeButtonForward, {17 + 2 * kStep, kRow}, player_image::kPlay, kTransportColours},
    {kStrokeButtonNext, {17 + 3 * kStep, kRow}, player_image::kNext, kTransportColours},
    {kStrokeButtonEnd, {17 + 4 * kStep, kRow}, player_image::kEnd, kTransportColours},
    {kStrokeButtonMinusSpeed, {kGaugeX, kSpeedRow}, player_image::kMinus, kGaugeColours},
    {kStrokeButtonPlusSpeed, {kPlusX, kSpeedRow}, player_image::kPlus, kGaugeColours},
    {kStrokeButtonMinusScan, {kGaugeX, kScanRow}, player_image::kMinus, kGaugeColours},
    {kStrokeButtonPlusScan, {kPlusX, kScanRow}, player_image::kPlus, kGaugeColours},
};

} // namespace quillory::stroke::player_layout
