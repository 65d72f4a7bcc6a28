#include "settings/LabelIds.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "settings/RegisteredNames.h"

#include <QStringList>
#include <utility>

namespace quillory {
namespace {

struct FixedKey {
    std::uint32_t id;
    const char* name;
};

// Dialog controls, tree nodes and menu items under their fixed ids.
constexpr FixedKey kMainWindowKeys[] = {
    {kButtonHelp, "IDC_BUTTON_HELP"},     {kButtonExit, "IDC_BUTTON_EXIT"},
    {kButtonTools, "IDC_BUTTON_TOOL"},    {kButtonOptions, "IDC_BUTTON_OPTION"},
    {kButtonCopy1, "IDC_BUTTON_COPY1"},   {kButtonCopy2, "IDC_BUTTON_COPY2"},
    {kButtonSave1, "IDC_BUTTON_SAVE1"},   {kButtonSave2, "IDC_BUTTON_SAVE2"},
    {kButtonClear1, "IDC_BUTTON_CLEAR1"}, {kButtonClear2, "IDC_BUTTON_CLEAR2"},
};

constexpr FixedKey kLanguageAndFooterKeys[] = {
    {kButtonEnglish, "IDC_BUTTON_ENGLISH"},
    {kButtonJianti, "IDC_BUTTON_JIANTI"},
    {kButtonFanti, "IDC_BUTTON_FANTI"},
    {kButtonPinyin, "IDC_BUTTON_PINYIN"},
    {kButtonJyutping, "IDC_BUTTON_JYUTPING"},
    {kButtonUpdate, "IDC_BUTTON_UPDATE"},
    {kMakerNameLeft, "IDC_STATIC_LOGO1"},
    {kMakerNameRight, "IDC_STATIC_LOGO2"},
    {kSubtitle, "IDC_STATIC_SUBTITLE"},
    {kPinyinCategoryLabel, "TTTID_PINYIN"},
    {kJyutpingCategoryLabel, "TTTID_JYUTPING"},
    {kStrokeCategoryLabel, "TTTID_STROKE"},
    {kRadicalCategoryLabel, "TTTID_RADICAL"},
    {kLessonsCategoryLabel, "TTTID_LESSON"},
    {kOxaLessonCategoryLabel, "TTTID_LESSON_OXA"},
    {kHtmlLessonCategoryLabel, "TTTID_LESSON_HTML"},
    {kMenuOptionsJianti, "IDR_OPTIONS_JIANTI"},
    {kMenuOptionsFanti, "IDR_OPTIONS_FANTI"},
    {kMenuOptionsEnglish, "IDR_OPTIONS_ENGLISH"},
    {kMenuOptionsPinyin, "IDR_OPTIONS_PINYIN"},
    {kMenuOptionsJyutping, "IDR_OPTIONS_JYUTPING"},
    {kMenuOptionsAnimatedIcon, "IDR_OPTIONS_ANIMATED_ICON"},
    // The menu item says "Chinese Fonts"; the short "Fonts" is the dialog's.
    {kMenuOptionsChineseFont, "IDR_OPTIONS_CHINESE_FONT2"},
    {kMenuHelpContents, "IDR_HELP_CONTENTS"},
    {kMenuHelpAbout, "IDR_HELP_ABOUT"},
    {kMenuHelpTech, "IDR_HELP_TECH"},
    {kMenuAbout, "IDR_HELP_ABOUT"},
    {kMenuExitItem, "IDC_BUTTON_EXIT"},
    {kMenuToolsConverter, "IDR_TOOLS_CONVERTER"},
    {kMenuToolsEditor, "IDR_TOOLS_EDITOR"},
};

constexpr FixedKey kStrokeAndEditorKeys[] = {
    {kStrokeCharLabel, "TTTID_STROKE_CHAR"},
    {kStaticJianti, "IDC_STATIC_JIANTI"},
    {kStaticFanti, "IDC_STATIC_FANTI"},
    {kStaticPinyin, "IDC_STATIC_PINYIN"},
    {kStaticJyutping, "IDC_STATIC_JYUTPING"},
    {kButtonPinyinFont, "IDC_BTN_PYFONT"},
    {kButtonPinyinFont2, "IDC_BTN_PYFONT2"},
    {kStaticJiantiTitle, "IDC_STATIC_JT_TITLE"},
    {kStaticFantiTitle, "IDC_STATIC_FT_TITLE"},
    {kStaticPinyinTitle, "IDC_STATIC_PY_TITLE"},
    {kStaticJyutpingTitle, "IDC_STATIC_JP_TITLE"},
};

constexpr FixedKey kConverterKeys[] = {
    {kConverterHide, "IDC_BUTTON_HIDE"},
    {kVariantStandardLabel, "IDC_VARIANT_STANDARD"},
    {kVariantTaiwanLabel, "IDC_VARIANT_TAIWAN"},
    {kVariantHongKongLabel, "IDC_VARIANT_HONGKONG"},
};

template <std::size_t N> void RegisterFixed(LanguageData& language, const FixedKey (&keys)[N]) {
    for (const FixedKey& key : keys) {
        language.RegisterTextId(key.id, QString::fromLatin1(key.name));
    }
}

// Names registered with the name registry are entered under their ids.
void RegisterNamed(LanguageData& language, const NameRegistry& names, const QStringList& keys) {
    for (const QString& key : keys) {
        if (const auto id = names.idOf(key)) {
            language.RegisterTextId(*id, key);
        }
    }
}

QStringList PageLabelNames() {
    QStringList keys;
    for (const QString& name : NameRegistry::RegisteredNames()) {
        if (name.startsWith(QStringLiteral("HTML_ID_"))) {
            keys.append(name);
        }
    }
    return keys;
}

} // namespace

void RegisterLabelKeys(LanguageData& language, const NameRegistry& names) {
    RegisterFixed(language, kMainWindowKeys);
    RegisterNamed(language, names,
                  {kTooltipEnglish, kTooltipEnglish2, kTooltipPinyin, kTooltipPinyin2, kTooltipJianti,
                   kTooltipJianti2, kTooltipFanti, kTooltipFanti2, kTooltipJyutping, kTooltipJyutping2,
                   kTooltipGo});
    RegisterFixed(language, kLanguageAndFooterKeys);
    RegisterNamed(language, names, PageLabelNames());
    RegisterFixed(language, kStrokeAndEditorKeys);
    RegisterFixed(language, kConverterKeys);
}

} // namespace quillory
