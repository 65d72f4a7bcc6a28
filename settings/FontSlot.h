#pragma once
// The six display fonts by slot.
namespace quillory {

enum class FontSlot : int { English = 0, Pinyin, Jianti, Fanti, Jyutping, Fanti2 };

inline constexpr int kFontSlotCount = 6;

constexpr int IndexOf(FontSlot slot) {
    return static_cast<int>(slot);
}
// A slot out of range gives the English font.
constexpr FontSlot FontSlotFromIndex(int index) {
    return index >= 0 && index < kFontSlotCount ? static_cast<FontSlot>(index) : FontSlot::English;
}

} // namespace quillory
