#include "app/window/MainControls.h"

#include "app/window/DisplayFonts.h"
#include "controls/ButtonImages.h"
#include "controls/ClockLabel.h"
#include "controls/FlatButton.h"
#include "controls/HyperlinkLabel.h"
#include "controls/TooltipWindow.h"
#include "settings/InterfaceLanguage.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "settings/ProductInfo.h"
#include "settings/RegisteredNames.h"

#include <QLabel>
#include <QWidget>

namespace quillory {
namespace {

using Anchor = DialogLayout::Anchor;

// The template's size in dialog units.
constexpr QSize kTemplateSize(385, 273);

// The buttons of the template: rectangles in dialog units and anchors.
struct ButtonPlace {
    ControlId id;
    DialogRect rect;
    unsigned anchors;
};
// Buttons with a text widen for the largest display fonts, into the room
// between the groups.
constexpr unsigned kTextButton = Anchor::kFitWidth;
constexpr unsigned kLanguageButton = Anchor::kFollowRight | Anchor::kFitWidth;
constexpr ButtonPlace kButtonPlaces[] = {
    {kButtonTools, {5, 1, 60, 14}, kTextButton},
    {kButtonOptions, {70, 1, 60, 14}, kTextButton},
    {kButtonHelp, {135, 1, 60, 14}, kTextButton},
    {kButtonExit, {201, 1, 50, 14}, kTextButton},
    {kButtonEnglish, {299, 1, 41, 13}, kLanguageButton},
    {kButtonPinyin, {340, 1, 44, 13}, kLanguageButton},
    {kButtonJyutping, {299, 14, 53, 13}, kLanguageButton},
    {kButtonJianti, {299, 27, 41, 13}, kLanguageButton},
    {kButtonFanti, {340, 27, 41, 13}, kLanguageButton},
    {kButtonGo, {176, 22, 19, 12}, Anchor::kFixed},
    {kButtonUpdate, {201, 27, 95, 13}, kTextButton},
    {kUpdateLamp1, {233, 20, 7, 7}, Anchor::kFixed},
    {kUpdateLamp2, {245, 20, 7, 7}, Anchor::kFixed},
    {kUpdateLamp3, {257, 20, 7, 7}, Anchor::kFixed},
};

// The search box closed: the template's 162 units of height include its list.
constexpr DialogRect kSearchBoxRect{5, 22, 168, 12};
constexpr DialogRect kTreeRect{1, 40, 105, 219};
constexpr DialogRect kBrowserRect{106, 40, 278, 219};
constexpr unsigned kFooter = Anchor::kFollowBottom | Anchor::kFitHeight | Anchor::kFitWidth;

// Separator images between the groups: a vertical line between Help and
// Exit and another before the language buttons, and a horizontal line under
// Exit above the update lamps.
struct SeparatorPlace {
    int image;
    DialogRect rect;
    unsigned anchors;
};
constexpr SeparatorPlace kSeparatorPlaces[] = {
    {image::kSeparatorVertical, {198, 1, 1, 13}, Anchor::kFixed},
    {image::kSeparatorVertical, {296, 1, 1, 13}, Anchor::kFixed},
    {image::kSeparatorHorizontal, {201, 17, 82, 1}, Anchor::kFixed},
};

// Each language's button and tooltips (plain, and the current language's).
struct LanguageButton {
    InterfaceLanguage language;
    ControlId button;
    const char* tooltip;
    const char* currentTooltip;
};
constexpr LanguageButton kLanguageButtons[] = {
    {kEnglish, kButtonEnglish, kTooltipEnglish, kTooltipEnglish2},
    {kPinyin, kButtonPinyin, kTooltipPinyin, kTooltipPinyin2},
    {kJianti, kButtonJianti, kTooltipJianti, kTooltipJianti2},
    {kFanti, kButtonFanti, kTooltipFanti, kTooltipFanti2},
    {kJyutping, kButtonJyutping, kTooltipJyutping, kTooltipJyutping2},
};

// The clock as the window starts it: every second, run flag 600, 14 px
// medium "Times New Roman" in green.
constexpr int kClockIntervalMs = 1000;
constexpr int kClockRunFlag = 600;
constexpr int kClockPixelHeight = 14;
constexpr int kClockWeight = 500;
constexpr int kButtonShade = 30;

const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kGreen(0x00, 0xFF, 0x00);
const QColor kMagenta(0xFF, 0x00, 0xFF);
const QColor kDarkGreen(0x00, 0x80, 0x00);
const QColor kBlue(0x00, 0x00, 0xFF);

} // namespace

MainControls::MainControls(QWidget* window, const LanguageData& language, const NameRegistry& names,
                           const DisplayFonts& fonts)
    : window_(window), language_(language), names_(names), fonts_(fonts),
      layout_(kTemplateSize, kEnlargedDialogScale) {}

void MainControls::CreateButtons(const ButtonHandlers& handlers) {
    for (const ButtonPlace& place : kButtonPlaces) {
        auto* button = new FlatButton(window_);
        button->setShade(kButtonShade, 0);
        buttons_[place.id] = button;
        layout_.Add(button, place.rect, place.anchors);
    }
    buttons_[kButtonGo]->setMasks(image::kGo, image::kGoHover, kGreen);
    QObject::connect(buttons_[kButtonGo], &QAbstractButton::clicked, window_, handlers.go);
    QObject::connect(buttons_[kButtonExit], &QAbstractButton::clicked, window_, handlers.exit);
    for (const LanguageButton& entry : kLanguageButtons) {
        const InterfaceLanguage language = entry.language;
        QObject::connect(buttons_[entry.button], &QAbstractButton::clicked, window_,
                         [setLanguage = handlers.setLanguage, language] { setLanguage(language); });
    }
}

void MainControls::CreateSeparators() {
    for (const SeparatorPlace& place : kSeparatorPlaces) {
        auto* separator = new QLabel(window_);
        separator->setPixmap(ImagePixmap(place.image, window_->devicePixelRatioF()));
        separator->setScaledContents(true);
        separators_.push_back(separator);
        layout_.Add(separator, place.rect, place.anchors);
    }
}

void MainControls::PlaceSearchBox(QWidget* searchBox) {
    layout_.Add(searchBox, kSearchBoxRect, Anchor::kFitHeight);
}

void MainControls::PlaceBrowser(QWidget* view) {
    layout_.Add(view, kBrowserRect, Anchor::kGrowWidth | Anchor::kGrowHeight);
}

void MainControls::PlaceTree(QWidget* tree) {
    layout_.Add(tree, kTreeRect, Anchor::kGrowHeight);
}

void MainControls::CreateFooter(std::function<bool(const QUrl&)> openUrl) {
    auto lookup = [this](std::uint32_t id) { return textOf(id); };
    auto addLabel = [&](ControlId id, DialogRect rect, StaticTextStyle style, const QColor& colour) {
        auto* label = new LanguageLabel(window_);
        label->setLabelId(id, lookup);
        label->setStyle(style);
        label->setColour(colour);
        labels_[id] = label;
        layout_.Add(label, rect, kFooter);
        return label;
    };
    // The two halves of the maker's name read as one word.
    addLabel(kMakerNameLeft, {0, 263, 18, 10}, StaticTextStyle::Right, kBlue);
    addLabel(kMakerNameRight, {18, 263, 30, 10}, StaticTextStyle::Left, kDarkGreen);
    addLabel(kSubtitle, {57, 262, 133, 11}, StaticTextStyle::Centre, Qt::black);

    auto* makerLink = new HyperlinkLabel(window_);
    makerLink->setText(QString::fromLatin1(kMakerSiteName));
    makerLink->setAddress(QString::fromLatin1(kMakerSiteAddress));
    makerLink->setUrlOpener(
        [openUrl = std::move(openUrl)](const QUrl& url) { return openUrl && openUrl(url); });
    labels_[kMakerLink] = makerLink;
    layout_.Add(makerLink, {210, 262, 69, 11}, kFooter);

    auto* clock = new ClockLabel(window_);
    clock->setStyle(StaticTextStyle::CentreImage);
    clock->Start(kClockIntervalMs, kClockRunFlag, ClockLabel::kClockMode, QStringLiteral("Times New Roman"),
                 kClockPixelHeight, kClockWeight, kDarkGreen);
    labels_[kClockLabel] = clock;
    layout_.Add(clock, {299, 264, 86, 9}, kFooter | Anchor::kFollowRight);
}

void MainControls::CreateTooltips(QWidget* searchBox) {
    tooltips_ = new TooltipWindow(window_);
    // The tip window sees the pointer moving over the buttons, and any key
    // or click there or in the search box hides it.
    for (auto& [id, button] : buttons_) {
        button->setMouseTracking(true);
        button->installEventFilter(tooltips_);
    }
    searchBox->installEventFilter(tooltips_);
    tooltips_->setTextProvider([this](const TooltipTool& tool) {
        const auto text = textOf(tool.id);
        return text ? text->text : QString();
    });
    tooltips_->setFontProvider([this](std::uint32_t id) -> std::optional<QFont> {
        if (const auto text = textOf(id)) {
            return text->font;
        }
        return std::nullopt;
    });
}

std::optional<LabelText> MainControls::textOf(std::uint32_t labelId) const {
    const auto text = language_.GetTextAndFont(labelId, language_.GetLanguage());
    if (!text || text->first.text.isEmpty()) {
        return std::nullopt;
    }
    return LabelText{text->first.text, fonts_.GetFont(text->second)};
}

void MainControls::LabelButton(FlatButton* button, ControlId id) {
    const auto text = textOf(id);
    button->setText(text ? text->text : QString());
    button->setFont(text ? text->font : fonts_.GetFont(FontSlot::English));
}

// Menu buttons show drawn Chinese captions, except in the romanised
// languages; the current language's button is marked.
void MainControls::ApplyButtonImages(int language) {
    if (IsRomanised(language)) {
        for (const ControlId id : {kButtonOptions, kButtonTools, kButtonHelp, kButtonExit}) {
            buttons_[id]->setMasks(image::kMenuPlain, image::kMenuPlain, kWhite);
        }
    } else {
        buttons_[kButtonOptions]->setMasks(image::kOptions, image::kOptionsHover, kWhite);
        buttons_[kButtonTools]->setMasks(image::kTools, image::kToolsHover, kWhite);
        buttons_[kButtonHelp]->setMasks(image::kHelp, image::kHelpHover, kGreen);
        buttons_[kButtonExit]->setMasks(image::kExit, image::kExitHover, kMagenta);
    }
    for (const LanguageButton& entry : kLanguageButtons) {
        FlatButton* button = buttons_[entry.button];
        if (entry.language == language) {
            button->setMasks(image::kLanguageCurrent, image::kLanguageCurrent, kMagenta);
        } else {
            button->setMasks(image::kLanguageOther, image::kLanguageHover, kMagenta);
        }
    }
}

// The current language's button explains itself with the second tooltip;
// each button has one tool, replaced at every switch.
void MainControls::ApplyTooltips(int language) {
    auto tool = [this](FlatButton* button, const char* name) {
        TooltipTool tip;
        tip.window = button;
        tip.id = names_.idOf(QString::fromLatin1(name)).value_or(0);
        tip.textFromOwner = true;
        tooltips_->setWindowTool(tip);
    };
    for (const LanguageButton& entry : kLanguageButtons) {
        tool(buttons_[entry.button], entry.language == language ? entry.currentTooltip : entry.tooltip);
    }
    tool(buttons_[kButtonGo], kTooltipGo);
}

void MainControls::ApplyLanguage(int language) {
    ApplyButtonImages(language);
    ApplyTooltips(language);
    for (const ControlId id : {kButtonHelp, kButtonExit, kButtonTools, kButtonOptions, kButtonUpdate,
                               kButtonEnglish, kButtonPinyin, kButtonJianti, kButtonFanti, kButtonJyutping}) {
        LabelButton(buttons_[id], id);
    }
}

void MainControls::RefreshLabels() {
    for (auto& [id, label] : labels_) {
        label->updateGeometry();
        label->update();
    }
}

FlatButton* MainControls::button(ControlId id) const {
    const auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

QWidget* MainControls::label(ControlId id) const {
    const auto it = labels_.find(id);
    return it == labels_.end() ? nullptr : it->second;
}

} // namespace quillory
