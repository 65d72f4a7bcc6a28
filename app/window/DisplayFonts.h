#pragma once
// The six display fonts of the window's controls, built from the settings:
// every font starts from the system's menu font and takes the slot's face,
// pixel height and writing system.
#include <QFont>
#include <array>

namespace quillory {

class SettingsStore;

class DisplayFonts {
public:
    // Builds every slot again from the settings at the screen's resolution.
    void RebuildFonts(const SettingsStore& settings, int dpi);
    // Slots 0 English, 1 Pinyin, 2 Jianti, 3 Fanti, 4 Jyutping, 5 second Fanti;
    // any other slot gives the English font.
    QFont GetFont(int slot) const;

private:
    std::array<QFont, 6> fonts_;
};

} // namespace quillory
