#pragma once
// Names registered with the name registry whose ids more than one part of
// the program uses: the tooltip ids (also label keys) and the stroke
// player's control ids.
namespace quillory {

// Tooltips of the main window's buttons; the "2" form is the tip of the
// current language's button.
inline constexpr char kTooltipEnglish[] = "TOOLTIP_BTN_ENGLISH";
inline constexpr char kTooltipEnglish2[] = "TOOLTIP_BTN_ENGLISH2";
inline constexpr char kTooltipPinyin[] = "TOOLTIP_BTN_PINYIN";
inline constexpr char kTooltipPinyin2[] = "TOOLTIP_BTN_PINYIN2";
inline constexpr char kTooltipJianti[] = "TOOLTIP_BTN_JIANTI";
inline constexpr char kTooltipJianti2[] = "TOOLTIP_BTN_JIANTI2";
inline constexpr char kTooltipFanti[] = "TOOLTIP_BTN_FANTI";
inline constexpr char kTooltipFanti2[] = "TOOLTIP_BTN_FANTI2";
inline constexpr char kTooltipJyutping[] = "TOOLTIP_BTN_JYUTPING";
inline constexpr char kTooltipJyutping2[] = "TOOLTIP_BTN_JYUTPING2";
inline constexpr char kTooltipGo[] = "TOOLTIP_BTN_GO";

// The word page's English for a Cantonese word that has no gloss.
inline constexpr char kCantoneseOnlyLabel[] = "HTML_ID_CANTONESE_ONLY";

// The stroke player's buttons and timers.
inline constexpr char kStrokeButtonBeginning[] = "IDC_BUTTON_BEGINNING";
inline constexpr char kStrokeButtonEnd[] = "IDC_BUTTON_END";
inline constexpr char kStrokeButtonBack[] = "IDC_BUTTON_BACK";
inline constexpr char kStrokeButtonNext[] = "IDC_BUTTON_NEXT";
inline constexpr char kStrokeButtonForward[] = "IDC_BUTTON_FORWARD";
inline constexpr char kStrokeButtonStop[] = "IDC_BUTTON_STOP";
inline constexpr char kStrokeButtonClose[] = "IDC_BUTTON_CLOSE";
inline constexpr char kStrokeButtonPlusSpeed[] = "IDC_BUTTON_PLUS_SPEED";
inline constexpr char kStrokeButtonMinusSpeed[] = "IDC_BUTTON_MINUS_SPEED";
inline constexpr char kStrokeButtonPlusScan[] = "IDC_BUTTON_PLUS_SCAN";
inline constexpr char kStrokeButtonMinusScan[] = "IDC_BUTTON_MINUS_SCAN";
inline constexpr char kStrokeTimer[] = "WM_STROKE_TIMER";
inline constexpr char kStrokeTimer2[] = "WM_STROKE_TIMER2";
// Posted by the stroke player to its parent; wParam and lParam
// kStrokeNotifyClose ask the parent to hide it.
inline constexpr char kStrokeNotify[] = "WM_STROKE_NOTIFY";
inline constexpr int kStrokeNotifyClose = 16;

} // namespace quillory
