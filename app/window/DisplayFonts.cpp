#include "app/window/DisplayFonts.h"

#include "settings/DisplayFontRules.h"

#include <QFontDatabase>
#include <QStringList>

namespace quillory {

void DisplayFonts::RebuildFonts(const SettingsStore& settings, int dpi) {
    const QFont menuFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    // Built in the order Pinyin, English, Jyutping, Jianti, Fanti, second Fanti.
    for (const FontSlot slot : {FontSlot::Pinyin, FontSlot::English, FontSlot::Jyutping, FontSlot::Jianti,
                                FontSlot::Fanti, FontSlot::Fanti2}) {
        const DisplayFontSpec rule = DisplayFontForSlot(slot, settings);
        QFont font = menuFont;
        if (!rule.useMenuFace && !rule.face.isEmpty()) {
            font.setFamilies(QStringList() << rule.face << menuFont.family());
        }
        font.setPixelSize(PointsToPixels(rule.pointSize, dpi));
        fonts_[static_cast<std::size_t>(IndexOf(slot))] = font;
    }
}

} // namespace quillory
