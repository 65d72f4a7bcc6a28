#pragma once
// Label keys that are no control ids: the category tree's nodes and the word
// after a stroke count. (Controls and menu items are labelled under their
// ids in ControlIds.h.)
#include "settings/ControlIds.h"

#include <cstdint>

namespace quillory {

enum LabelId : std::uint32_t {
    kPinyinCategoryLabel = 30,
    kJyutpingCategoryLabel = 31,
    kStrokeCategoryLabel = 32,
    kRadicalCategoryLabel = 33,
    kLessonsCategoryLabel = 34,
    kHtmlLessonCategoryLabel = 35,
    kOxaLessonCategoryLabel = 36,
    // "stroke(s)" after a stroke count; also the stroke player's label.
    kStrokeCharLabel = 37,
    // The Converter's choice of traditional forms.
    kVariantStandardLabel = 1261,
    kVariantTaiwanLabel = 1262,
    kVariantHongKongLabel = 1263,
    // The tree's "Technical Support" category speaks as the Help menu's item.
    kSupportCategoryLabel = kMenuHelpTech,
};

} // namespace quillory
