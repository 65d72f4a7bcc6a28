#pragma once
// The program's numbered images, drawn in code so that they are sharp at any
// device pixel ratio: one-bit style masks that buttons paint in a colour,
// coloured pictures (update lamps, separators) and the program icon with
// its animation frames.
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <vector>

namespace quillory {

namespace image {
// Masks: the Go button, the menu buttons and the language buttons.
inline constexpr int kGo = 147;
inline constexpr int kGoHover = 145;
inline constexpr int kOptions = 149;
inline constexpr int kOptionsHover = 150;
inline constexpr int kTools = 187;
inline constexpr int kToolsHover = 186;
inline constexpr int kHelp = 154;
inline constexpr int kHelpHover = 153;
inline constexpr int kExit = 162;
inline constexpr int kExitHover = 161;
inline constexpr int kMenuPlain = 175; // the menu buttons' mark for the romanised interface languages
inline constexpr int kLanguageCurrent = 167;
inline constexpr int kLanguageOther = 176;
inline constexpr int kLanguageHover = 168;
// Pictures.
inline constexpr int kLampLit = 249;
inline constexpr int kLampUnlit = 242;
inline constexpr int kSeparatorVertical = 163;
inline constexpr int kSeparatorHorizontal = 178;
// The program icon and its animation frames.
inline constexpr int kProgramIcon = 128;
inline constexpr int kIconFrame1 = 132;
inline constexpr int kIconFrame2 = 137;
inline constexpr int kIconFrame3 = 136;
inline constexpr int kIconFrame4 = 142;
} // namespace image

enum class ImageKind {
    Unknown,
    Mask,    // coverage in the alpha channel, painted in a colour by TintMask
    Picture, // coloured, transparent where nothing is drawn
    Icon,    // coloured, offered in several sizes by ImageIcon
};

ImageKind KindOfImage(int id);

// Every image number drawn here, in ascending order.
const std::vector<int>& DrawnImageIds();

// The image's size in device-independent pixels; invalid for unknown numbers.
QSize ImageSize(int id);

// The image at its own size, with size * devicePixelRatio pixels and that
// ratio set; a null image for unknown numbers.
QImage DrawImage(int id, qreal devicePixelRatio = 1.0);
// The image drawn to fill logicalSize.
QImage DrawImage(int id, const QSize& logicalSize, qreal devicePixelRatio);

QPixmap ImagePixmap(int id, qreal devicePixelRatio = 1.0);

// Icons in the usual sizes from 16 to 256 pixels for the program icon and
// its frames; other images at ratios 1 and 2.
QIcon ImageIcon(int id);

// A mask painted in colour: the colour where the mask covers, transparent
// elsewhere. The device pixel ratio is kept.
QImage TintMask(const QImage& mask, const QColor& colour);

} // namespace quillory
