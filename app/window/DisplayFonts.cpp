#include "app/window/DisplayFonts.h"

#include "settings/DisplayFontRules.h"

#include <QFontDatabase>
#include <QStringList>

namespace quillory {

void DisplayFonts::RebuildFonts(const SettingsStore& settings, int dpi) {
    const QFont menuFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    // Built in the order Pinyin, English, Jyutping, Jianti, Fanti, second Fanti.
    for (const int slot : {1, 0, 4, 2, 3, 5}) {
        const DisplayFontSpec rule = DisplayFontForSlot(slot, settings);
        QFont font = menuFont;
        if (!rule.useMenuFace && !rule.face.isEmpty()) {
            font.setFamilies(QStringList() << rule.face << menuFont.family());
        }
        font.setPixelSize(PointsToPixels(rule.pointSize, dpi));
        fonts_[static_cast<std::size_t>(slot)] = font;
    }
}

QFont DisplayFonts::GetFont(int slot) const {
    if (slot < 0 || slot >= static_cast<int>(fonts_.size())) {
        slot = 0;
    }
    return fonts_[static_cast<std::size_t>(slot)];
}

} // namespace quillory
