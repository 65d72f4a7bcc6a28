#pragma once
// Control and menu-command ids of the windows. A labelled control's id is
// also the key under which the language data gives its text.
#include <cstdint>

namespace quillory {

enum ControlId : std::uint32_t {
    // The main window's template.
    kTreePlaceholder = 1008,
    kBrowserPlaceholder = 1009,
    kButtonGo = 1016,
    kButtonUnused1 = 1017,
    kButtonHelp = 1018,
    kButtonExit = 1019,
    kButtonEnglish = 1024,
    kButtonJianti = 1025,
    kButtonFanti = 1026,
    kButtonPinyin = 1027,
    kButtonUnused2 = 1028,
    kButtonUnused3 = 1029,
    kClockLabel = 1043,
    kButtonJyutping = 1044,
    kButtonTools = 1047,
    kButtonOptions = 1048,
    kSearchBox = 1053,
    kMakerLink = 1057,
    kMakerNameLeft = 1058,
    kSubtitle = 1059,
    kMakerNameRight = 1060,
    kButtonUpdate = 1136,
    kUpdateLamp1 = 1140,
    kUpdateLamp2 = 1141,
    kUpdateLamp3 = 1142,

    // The fonts dialog's link to the fonts page.
    kFontsPageLink = 1063,

    // The Converter.
    kConverterHide = 2,
    kConverterUpperBox = 1069,
    kConverterLowerBox = 1070,
    kConverterUpperKindFirst = 1076, // GB; then Big5, Pinyin, Jyutping, HTML
    kConverterLowerKindFirst = 1081,
    kButtonDownArrow = 1086,
    kButtonUpArrow = 1087,
    kButtonCopy1 = 1088,
    kButtonCopy2 = 1074,
    kButtonSave1 = 1073,
    kButtonSave2 = 1075,
    kButtonClear1 = 1137,
    kButtonClear2 = 1138,

    // The Lesson Editor.
    kStaticJianti = 1090,
    kStaticFanti = 1091,
    kStaticPinyin = 1092,
    kStaticJyutping = 1093,
    kButtonPinyinFont = 1105,
    kButtonPinyinFont2 = 1106,
    kStaticJiantiTitle = 1129,
    kStaticFantiTitle = 1130,
    kStaticPinyinTitle = 1131,
    kStaticJyutpingTitle = 1132,
    kLessonTagField = 1089,
    kLessonJyutpingField = 1095,
    kLessonPinyinField = 1096,
    kLessonFantiField = 1097,
    kLessonJiantiField = 1098,
    kLessonEnglishField = 1099,
    kLessonFileField = 1100,
    kStaticLessonTag = 1101,
    kStaticLessonFile = 1102,
    kStaticEnglish = 1094,
    kStaticEnglishTitle = 1133,
    kButtonPinyinFromJianti = 1103,
    kButtonJyutpingFromJianti = 1104,
    kButtonSpeakPinyin = 1107,
    kButtonPinyinFromFanti = 1108,
    kButtonJyutpingFromFanti = 1109,
    kButtonFantiFromJianti = 1110,
    kButtonJiantiFromFanti = 1111,
    kButtonLessonOpen = 1112,
    kButtonPreviousRecord = 1113,
    kButtonNextRecord = 1114,
    kButtonAddSection = 1115,
    kRadioInsertBefore = 1116,
    kRadioInsertAfter = 1117,
    kButtonInsertSection = 1118,
    kButtonFirstRecord = 1119,
    kButtonLastRecord = 1120,
    kButtonLessonSave = 1121,
    kButtonLessonClose = 1122,
    kButtonSpeakJyutping = 1123,
    kButtonLessonDelete = 1124,
    kButtonLessonImport = 1125,
    kButtonLessonBrowse = 1126,
    kRadioOxaMode = 1127,
    kRadioHtmlMode = 1128,
    kLessonHtmlList = 1134,
    kStaticHtmlList = 1135,

    // Menu commands.
    kMenuExit = 32771,
    kMenuToolsConverter = 32789,
    kMenuOptionsEnglish = 32790,
    kMenuOptionsJianti = 32792,
    kMenuOptionsFanti = 32793,
    kMenuOptionsPinyin = 32794,
    kMenuOptionsJyutping = 32795,
    kMenuHelpContents = 32797,
    kMenuHelpAbout = 32799,
    kMenuOptionsAnimatedIcon = 32800,
    kMenuHelpTech = 32801,
    kMenuToolsEditor = 32802,
    kMenuAbout = 32803,
    kMenuExitItem = 32804,
    kMenuOptionsChineseFont = 32805,
};

// The menus: the window-icon, tray and browser context menu, and the three
// drop-down menus of the main window's buttons.
enum MenuId : int {
    kResultPageMenu = 246,
    kOptionsMenu = 203,
    kToolsMenu = 204,
    kHelpMenu = 205,
};

} // namespace quillory
