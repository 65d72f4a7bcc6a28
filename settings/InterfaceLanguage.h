#pragma once
// The interface languages by index, as the settings ("LANG") and the
// language data number them.
#include <array>

namespace quillory {

enum InterfaceLanguage : int { kEnglish = 0, kPinyin, kJianti, kFanti, kJyutping };

inline constexpr int kInterfaceLanguageCount = 5;
inline constexpr std::array<InterfaceLanguage, kInterfaceLanguageCount> kInterfaceLanguages = {
    kEnglish, kPinyin, kJianti, kFanti, kJyutping};

// An index read from outside; anything out of range counts as English.
constexpr InterfaceLanguage LanguageFromIndex(int index) {
    return index >= 0 && index < kInterfaceLanguageCount ? static_cast<InterfaceLanguage>(index) : kEnglish;
}

// The languages written in Latin letters, whose menu buttons carry text
// instead of drawn Chinese captions.
constexpr bool IsRomanised(int language) {
    return language == kPinyin || language == kJyutping;
}

} // namespace quillory
