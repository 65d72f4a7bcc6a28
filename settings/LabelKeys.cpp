#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"

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
    {1018, "IDC_BUTTON_HELP"},
    {1019, "IDC_BUTTON_EXIT"},
    {1047, "IDC_BUTTON_TOOL"},
    {1048, "IDC_BUTTON_OPTION"},
    // Converter buttons.
    {1088, "IDC_BUTTON_COPY1"},
    {1074, "IDC_BUTTON_COPY2"},
    {1073, "IDC_BUTTON_SAVE1"},
    {1075, "IDC_BUTTON_SAVE2"},
    {1137, "IDC_BUTTON_CLEAR1"},
    {1138, "IDC_BUTTON_CLEAR2"},
};

constexpr FixedKey kLanguageAndFooterKeys[] = {
    {1024, "IDC_BUTTON_ENGLISH"},
    {1025, "IDC_BUTTON_JIANTI"},
    {1026, "IDC_BUTTON_FANTI"},
    {1027, "IDC_BUTTON_PINYIN"},
    {1044, "IDC_BUTTON_JYUTPING"},
    {1136, "IDC_BUTTON_UPDATE"},
    // The two halves of the maker's name in the footer.
    {1058, "IDC_STATIC_LOGO1"},
    {1060, "IDC_STATIC_LOGO2"},
    {1059, "IDC_STATIC_SUBTITLE"},
    // Category tree nodes.
    {30, "TTTID_PINYIN"},
    {31, "TTTID_JYUTPING"},
    {32, "TTTID_STROKE"},
    {33, "TTTID_RADICAL"},
    {34, "TTTID_LESSON"},
    {36, "TTTID_LESSON_OXA"},
    {35, "TTTID_LESSON_HTML"},
    // Menu items.
    {32792, "IDR_OPTIONS_JIANTI"},
    {32793, "IDR_OPTIONS_FANTI"},
    {32790, "IDR_OPTIONS_ENGLISH"},
    {32794, "IDR_OPTIONS_PINYIN"},
    {32795, "IDR_OPTIONS_JYUTPING"},
    {32800, "IDR_OPTIONS_ANIMATED_ICON"},
    {32805, "IDR_OPTIONS_CHINESE_FONT"},
    {32797, "IDR_HELP_CONTENTS"},
    {32799, "IDR_HELP_ABOUT"},
    {32801, "IDR_HELP_TECH"},
    {32803, "IDR_HELP_ABOUT"},
    {32804, "IDC_BUTTON_EXIT"},
    {32789, "IDR_TOOLS_CONVERTER"},
    {32802, "IDR_TOOLS_EDITOR"},
};

constexpr FixedKey kStrokeAndEditorKeys[] = {
    {37, "TTTID_STROKE_CHAR"},
    // Lesson Editor.
    {1090, "IDC_STATIC_JIANTI"},
    {1091, "IDC_STATIC_FANTI"},
    {1092, "IDC_STATIC_PINYIN"},
    {1093, "IDC_STATIC_JYUTPING"},
    {1105, "IDC_BTN_PYFONT"},
    {1106, "IDC_BTN_PYFONT2"},
    {1129, "IDC_STATIC_JT_TITLE"},
    {1130, "IDC_STATIC_FT_TITLE"},
    {1131, "IDC_STATIC_PY_TITLE"},
    {1132, "IDC_STATIC_JP_TITLE"},
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
                  {QStringLiteral("TOOLTIP_BTN_ENGLISH"), QStringLiteral("TOOLTIP_BTN_ENGLISH2"),
                   QStringLiteral("TOOLTIP_BTN_PINYIN"), QStringLiteral("TOOLTIP_BTN_PINYIN2"),
                   QStringLiteral("TOOLTIP_BTN_JIANTI"), QStringLiteral("TOOLTIP_BTN_JIANTI2"),
                   QStringLiteral("TOOLTIP_BTN_FANTI"), QStringLiteral("TOOLTIP_BTN_FANTI2"),
                   QStringLiteral("TOOLTIP_BTN_JYUTPING"), QStringLiteral("TOOLTIP_BTN_JYUTPING2"),
                   QStringLiteral("TOOLTIP_BTN_GO")});
    RegisterFixed(language, kLanguageAndFooterKeys);
    RegisterNamed(language, names, PageLabelNames());
    RegisterFixed(language, kStrokeAndEditorKeys);
}

} // namespace quillory
