#pragma once
// The rules of the six display fonts: which face, size and character set
// each slot takes from the settings. The window turns these into fonts.
#include "settings/FontSlot.h"

#include <QString>

namespace quillory {

class SettingsStore;

// Character sets as the settings name them.
inline constexpr int kAnsiCharset = 0;
inline constexpr int kDefaultCharset = 1;
inline constexpr int kGb2312Charset = 134;
inline constexpr int kBig5Charset = 136;

inline constexpr const char* kPinyinFontFace = "Oxapinyin basic";

struct DisplayFontSpec {
    QString face;     // empty when useMenuFace is set
    bool useMenuFace; // take the face of the system's menu font
    int pointSize;
    int charset;
    QString kindMarker; // "en", "py", "gb", "b5", "jp"; empty for slot 5
};

// The font of a slot built from the settings.
DisplayFontSpec DisplayFontForSlot(FontSlot slot, const SettingsStore& settings);

// Points to pixels at a resolution, rounded half away from zero.
int PointsToPixels(int points, int dpi);

} // namespace quillory
