#include "controls/tree/CategoryTreeBuilder.h"

#include "dictionary/files/DataIndex.h"
#include "dictionary/lists/CharacterLists.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"

#include <QStringList>
#include <array>

namespace quillory {
namespace {

struct SupportEntry {
    const char* text;
    const char* labelName;
};

// In the order of their values 1 to 5.
constexpr std::array<SupportEntry, 5> kSupportEntries = {{
    {"FAQ", "HTML_ID_FAQ"},
    {"Bug Report", "HTML_ID_BUG_REPORT"},
    {"Technical Support Request", "HTML_ID_TECH_REQUEST"},
    {"Useful Links", "HTML_ID_USEFUL_LINKS"},
    {"Give us some suggestions", "HTML_ID_SUGGESTIONS"},
}};

TreeNode CategoryNode(const char* text, std::uint16_t kind) {
    return TreeNode{QString::fromLatin1(text), kind, kTreeOwnFont, {}};
}

// The syllable without its tone digit.
QString TonelessSyllable(const std::string& syllable, Scheme scheme) {
    const int tone = scheme == Scheme::Pinyin ? PinyinTone(syllable) : JyutpingTone(syllable);
    const std::size_t length = tone > 0 ? syllable.size() - 1 : syllable.size();
    return QString::fromLatin1(syllable.data(), qsizetype(length));
}

// One letter item per first letter and one item per toneless syllable,
// carrying the id of its first tone in the list.
TreeNode SyllableBranch(TreeNode branch, const std::vector<SyllableId>& ids, Scheme scheme) {
    const std::uint16_t kind = scheme == Scheme::Pinyin ? kPinyinNode : kJyutpingNode;
    const int font = scheme == Scheme::Pinyin ? kPinyinFontSlot : kJyutpingFontSlot;
    char previousLetter = 0;
    QString previousToneless;
    for (const SyllableId id : ids) {
        const std::optional<std::string> syllable = DecodeSyllable(id, scheme);
        if (!syllable || syllable->empty()) {
            continue;
        }
        if (branch.children.empty() || syllable->front() != previousLetter) {
            previousLetter = syllable->front();
            branch.children.push_back(TreeNode{QString(QLatin1Char(previousLetter)), kind, font, {}});
        }
        const QString toneless = TonelessSyllable(*syllable, scheme);
        if (toneless.compare(previousToneless, Qt::CaseInsensitive) == 0) {
            continue;
        }
        previousToneless = toneless;
        // Tone 5 carries no mark, so the label shows the bare syllable with ü.
        const QString label = scheme == Scheme::Pinyin ? MarkPinyinFont(QString(toneless + u'5')) : toneless;
        branch.children.back().children.push_back(TreeNode{label, MakeItemData(id, kind), font, {}});
    }
    return branch;
}

TreeNode RadicalBranch(const QString& radicalTable) {
    TreeNode branch = CategoryNode("Radical", kRadicalCategory);
    const QStringList lines = radicalTable.split(u'\n');
    for (const QString& line : lines) {
        const RadicalLine radical = ParseRadicalLine(line);
        if (radical.count > 0 && radical.value > 0 && radical.value <= 0xFFFF) {
            branch.children.push_back(TreeNode{radical.forms,
                                               MakeItemData(std::uint16_t(radical.value), kRadicalNode),
                                               kJiantiFontSlot,
                                               {}});
        }
    }
    return branch;
}

TreeNode StrokeBranch(const std::vector<std::uint8_t>& counts) {
    TreeNode branch = CategoryNode("Stroke", kStrokeCategory);
    for (const std::uint8_t count : counts) {
        if (IsSkippedStrokeCount(count)) {
            continue;
        }
        branch.children.push_back(TreeNode{QStringLiteral("%1 stroke(s)").arg(count),
                                           MakeItemData(count, kStrokeNode),
                                           kEnglishFontSlot,
                                           {}});
    }
    return branch;
}

TreeNode LessonFolder(const char* text, LessonFormat format, const std::vector<LessonTitle>& lessons) {
    TreeNode folder = CategoryNode(text, std::uint16_t(LessonCategoryData(format)));
    for (const LessonTitle& lesson : lessons) {
        folder.children.push_back(
            TreeNode{lesson.title, LessonItemData(format, lesson.id), kTreeOwnFont, {}});
    }
    return folder;
}

TreeNode SupportBranch() {
    TreeNode branch = CategoryNode("Technical Support", kSupportNode);
    branch.fontSlot = kEnglishFontSlot;
    std::uint16_t value = 1;
    for (const SupportEntry& entry : kSupportEntries) {
        branch.children.push_back(TreeNode{
            QString::fromLatin1(entry.text), MakeItemData(value++, kSupportNode), kEnglishFontSlot, {}});
    }
    return branch;
}

// A change for the item when the label exists in the language.
std::optional<LabelChange> LabelFor(std::uint32_t data, std::uint32_t labelId, const LanguageData& texts,
                                    int language) {
    const auto label = texts.GetTextAndFont(labelId, language);
    if (!label) {
        return std::nullopt;
    }
    return LabelChange{data, label->first.text, IndexOf(label->second)};
}

} // namespace

CategoryListing ListingFromIndex(const DataIndex& index) {
    CategoryListing listing;
    listing.pinyin = index.PinyinSyllables();
    listing.jyutping = index.JyutpingSyllables();
    listing.strokeCounts = index.StrokeCounts();
    listing.radicalTable = index.RadicalTableText();
    return listing;
}

bool IsSkippedStrokeCount(int count) {
    return count == 34 || count == 44 || count == 52;
}

QString LessonTitleKey(int language) {
    return LanguageKey(language);
}

std::uint32_t LessonItemData(LessonFormat format, std::uint16_t id) {
    return MakeItemData(id, format == LessonFormat::Oxa ? kOxaLessonNode : kHtmlLessonNode);
}

std::uint32_t LessonCategoryData(LessonFormat format) {
    return format == LessonFormat::Oxa ? kOxaLessonCategory : kHtmlLessonCategory;
}

std::vector<TreeNode> BuildCategoryTree(const CategoryListing& listing) {
    std::vector<TreeNode> roots;
    TreeNode lessons = CategoryNode("Lessons", kLessonsCategory);
    lessons.children.push_back(LessonFolder("Oxa Format", LessonFormat::Oxa, listing.lessons.oxa));
    lessons.children.push_back(LessonFolder("HTML Format", LessonFormat::Html, listing.lessons.html));
    roots.push_back(std::move(lessons));
    roots.push_back(SyllableBranch(CategoryNode("Pinyin", kPinyinCategory), listing.pinyin, Scheme::Pinyin));
    roots.push_back(
        SyllableBranch(CategoryNode("Jyutping", kJyutpingCategory), listing.jyutping, Scheme::Jyutping));
    roots.push_back(RadicalBranch(listing.radicalTable));
    roots.push_back(StrokeBranch(listing.strokeCounts));
    roots.push_back(SupportBranch());
    return roots;
}

std::vector<LabelChange> RelabelCategoryTree(const LanguageData& texts, const NameRegistry& names,
                                             int language, const std::vector<std::uint8_t>& strokeCounts,
                                             const LessonTitles& titles) {
    std::vector<LabelChange> changes;
    auto add = [&changes](std::optional<LabelChange> change) {
        if (change) {
            changes.push_back(std::move(*change));
        }
    };

    for (const std::uint16_t category :
         {kPinyinCategory, kJyutpingCategory, kRadicalCategory, kStrokeCategory}) {
        add(LabelFor(category, category, texts, language));
    }

    if (const auto word = texts.GetTextAndFont(kStrokeWordLabel, language)) {
        for (const std::uint8_t count : strokeCounts) {
            if (!IsSkippedStrokeCount(count)) {
                changes.push_back(LabelChange{MakeItemData(count, kStrokeNode),
                                              QStringLiteral("%1 %2").arg(count).arg(word->first.text),
                                              IndexOf(word->second)});
            }
        }
    }

    add(LabelFor(kSupportNode, kSupportLabel, texts, language));
    std::uint16_t value = 1;
    for (const SupportEntry& entry : kSupportEntries) {
        const std::uint32_t data = MakeItemData(value++, kSupportNode);
        if (const auto id = names.idOf(QString::fromLatin1(entry.labelName))) {
            add(LabelFor(data, *id, texts, language));
        }
    }

    // The lesson items take the font of the last lesson category label found.
    std::optional<int> lessonFont;
    for (const std::uint16_t category : {kLessonsCategory, kHtmlLessonCategory, kOxaLessonCategory}) {
        if (auto change = LabelFor(category, category, texts, language)) {
            lessonFont = change->fontSlot;
            changes.push_back(std::move(*change));
        }
    }
    auto addLessons = [&](LessonFormat format, const std::vector<LessonTitle>& lessons) {
        for (const LessonTitle& lesson : lessons) {
            const QString title = language == kPinyin ? MarkPinyinFont(lesson.title) : lesson.title;
            changes.push_back(LabelChange{LessonItemData(format, lesson.id), title, lessonFont});
        }
    };
    addLessons(LessonFormat::Oxa, titles.oxa);
    addLessons(LessonFormat::Html, titles.html);
    return changes;
}

LessonNotice DecideLessonNotice(LessonFormat format, std::uint16_t id, int action, const QString& title,
                                const LanguageData& texts, int language) {
    const std::uint32_t data = LessonItemData(format, id);
    if (action == kRemoveLessonAction) {
        return RemoveLessonItem{data};
    }
    const std::uint32_t category = LessonCategoryData(format);
    TreeNode item{title, data, kTreeOwnFont, {}};
    if (const auto label = texts.GetTextAndFont(category, language)) {
        item.fontSlot = IndexOf(label->second);
    }
    return AddLessonItem{category, std::move(item)};
}

std::optional<ProtocolRequest> TreeClickRequest(std::uint32_t itemData, bool itemIsSelected) {
    const std::uint16_t value = ItemValue(itemData);
    if (value == 0) {
        return std::nullopt;
    }
    std::uint8_t command = 0;
    switch (ItemKind(itemData)) {
    case kPinyinNode:
        command = kListPinyin;
        break;
    case kJyutpingNode:
        command = kListJyutping;
        break;
    case kStrokeNode:
        command = kListStrokeCount;
        break;
    case kRadicalNode:
        // A radical page opens only for the item that the click selected.
        if (!itemIsSelected) {
            return std::nullopt;
        }
        command = kListRadical;
        break;
    case kHtmlLessonNode:
        command = kOpenHtmlLesson;
        break;
    case kOxaLessonNode:
        command = kOpenLessonEditor;
        break;
    case kSupportNode:
        command = kOpenSupport;
        break;
    default:
        return std::nullopt;
    }
    return ProtocolRequest{command, value, std::nullopt};
}

} // namespace quillory
