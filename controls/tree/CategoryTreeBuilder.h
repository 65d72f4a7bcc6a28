#pragma once
// The category tree without widgets: the item data scheme, the nodes built
// from the dictionary index and the lesson libraries, the labels of an
// interface language, the lesson notices and what a click asks for.
#include "dictionary/text/Romanisation.h"
#include "pages/protocol/ProtocolRequest.h"
#include "settings/FontSlot.h"
#include "settings/LabelIds.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace quillory {

class DataIndex;
class LanguageData;
class NameRegistry;

// Node kinds, the lower 16 bits of an item's data. The category kinds are
// also the label ids of their texts.
enum TreeNodeKind : std::uint16_t {
    kPinyinNode = 1,     // initial letter (value 0) or syllable (value SyllableId)
    kJyutpingNode = 2,   // initial letter (value 0) or syllable (value SyllableId)
    kStrokeNode = 3,     // value: number of strokes
    kRadicalNode = 4,    // value: radical number, + 0x100 for the variant form
    kHtmlLessonNode = 5, // value: HTML lesson id
    kOxaLessonNode = 6,  // value: Oxa lesson id
    kSupportNode = 7,    // category (value 0) or support entry (value 1 to 5)
    kPinyinCategory = kPinyinCategoryLabel,
    kJyutpingCategory = kJyutpingCategoryLabel,
    kStrokeCategory = kStrokeCategoryLabel,
    kRadicalCategory = kRadicalCategoryLabel,
    kLessonsCategory = kLessonsCategoryLabel,
    kHtmlLessonCategory = kHtmlLessonCategoryLabel,
    kOxaLessonCategory = kOxaLessonCategoryLabel,
};

// Label ids that are no node kinds: the word after a stroke number and the
// "Technical Support" category.
inline constexpr std::uint32_t kStrokeWordLabel = kStrokeCharLabel;
inline constexpr std::uint32_t kSupportLabel = kSupportCategoryLabel;

// Display font slots the tree uses; -1 means the tree's own font.
inline constexpr int kTreeOwnFont = -1;
inline constexpr int kEnglishFontSlot = IndexOf(FontSlot::English);
inline constexpr int kPinyinFontSlot = IndexOf(FontSlot::Pinyin);
inline constexpr int kJiantiFontSlot = IndexOf(FontSlot::Jianti);
inline constexpr int kJyutpingFontSlot = IndexOf(FontSlot::Jyutping);

// Item data: value in the upper 16 bits, node kind in the lower 16.
constexpr std::uint32_t MakeItemData(std::uint16_t value, std::uint16_t kind) {
    return (std::uint32_t(value) << 16) | kind;
}
constexpr std::uint16_t ItemValue(std::uint32_t data) {
    return std::uint16_t(data >> 16);
}
constexpr std::uint16_t ItemKind(std::uint32_t data) {
    return std::uint16_t(data & 0xFFFF);
}

struct TreeNode {
    QString text;
    std::uint32_t data = 0;
    int fontSlot = kTreeOwnFont;
    std::vector<TreeNode> children;
};

enum class LessonFormat { Oxa, Html };

struct LessonTitle {
    std::uint16_t id = 0;
    QString title;
};

// The lessons of both libraries in index order, with their titles under one
// title key.
struct LessonTitles {
    std::vector<LessonTitle> oxa;
    std::vector<LessonTitle> html;
};

// Everything the tree lists.
struct CategoryListing {
    std::vector<SyllableId> pinyin;   // in stored order
    std::vector<SyllableId> jyutping; // in stored order
    std::vector<std::uint8_t> strokeCounts;
    QString radicalTable; // one line per radical
    LessonTitles lessons; // English titles
};

// The dictionary's lists from a loaded index; no lessons.
CategoryListing ListingFromIndex(const DataIndex& index);

// The top-level nodes in order: Lessons, Pinyin, Jyutping, Radical, Stroke,
// Technical Support.
std::vector<TreeNode> BuildCategoryTree(const CategoryListing& listing);

// Stroke counts that never get an item.
bool IsSkippedStrokeCount(int count);

// The index key of a lesson title in an interface language ("en=", "py=" ...).
QString LessonTitleKey(int language);

std::uint32_t LessonItemData(LessonFormat format, std::uint16_t id);
std::uint32_t LessonCategoryData(LessonFormat format);

// A new text, and a font when one is known, for the first item with the data.
struct LabelChange {
    std::uint32_t data = 0;
    QString text;
    std::optional<int> fontSlot; // nullopt keeps the item's font
};

// The labels of an interface language. Lesson titles are under that
// language's title key; Pinyin titles are shown with tone marks. A missing
// label gives no change, so the item keeps its text and font.
std::vector<LabelChange> RelabelCategoryTree(const LanguageData& texts, const NameRegistry& names,
                                             int language, const std::vector<std::uint8_t>& strokeCounts,
                                             const LessonTitles& titles);

// What a lesson library's notice asks of the tree.
inline constexpr int kRemoveLessonAction = 2;
struct AddLessonItem {
    std::uint32_t categoryData = 0;
    TreeNode item;
};
struct RemoveLessonItem {
    std::uint32_t data = 0;
};
using LessonNotice = std::variant<AddLessonItem, RemoveLessonItem>;

// The title is taken as given (no tone marks until the next relabelling);
// the item gets the font of its category's label when that label exists.
LessonNotice DecideLessonNotice(LessonFormat format, std::uint16_t id, int action, const QString& title,
                                const LanguageData& texts, int language);

// The request a click on an item asks for: none for value 0, an unknown
// kind, or a radical item that is not selected.
std::optional<ProtocolRequest> TreeClickRequest(std::uint32_t itemData, bool itemIsSelected);

} // namespace quillory
