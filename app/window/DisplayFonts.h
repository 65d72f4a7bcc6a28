#pragma once
// The six display fonts of the window's controls, built from the settings:
// every font starts from the system's menu font and takes the slot's face,
// pixel height and writing system.
#include "settings/FontSlot.h"

#include <QFont>
#include <array>

namespace quillory {

class SettingsStore;

class DisplayFonts {
public:
    // Builds every slot again from the settings at the screen's resolution.
    void RebuildFonts(const SettingsStore& settings, int dpi);
    QFont GetFont(FontSlot slot) const { return fonts_[static_cast<std::size_t>(IndexOf(slot))]; }

private:
    std::array<QFont, kFontSlotCount> fonts_;
};

} // namespace quillory
