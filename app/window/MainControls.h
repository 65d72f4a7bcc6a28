#pragma once
// The main window's template: the buttons, the separators and the footer
// (maker's name, subtitle, link, clock) at their places in dialog units, the
// places of the search box, the category tree and the browser pane, and each
// interface language's button images, captions and tooltips.
#include "controls/DialogLayout.h"
#include "controls/LanguageLabel.h"
#include "settings/ControlIds.h"

#include <QFont>
#include <QUrl>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QWidget;

namespace quillory {

class DisplayFonts;
class FlatButton;
class LanguageData;
class NameRegistry;
class TooltipWindow;

// What the window's own buttons do when clicked.
struct ButtonHandlers {
    std::function<void()> go;
    std::function<void()> exit;
    std::function<void(int language)> setLanguage;
};

class MainControls {
public:
    // The controls are children of window; texts come from language in the
    // display fonts, tooltip names are looked up in names.
    MainControls(QWidget* window, const LanguageData& language, const NameRegistry& names,
                 const DisplayFonts& fonts);

    // The buttons of the template, the Go button's image and the clicks.
    void CreateButtons(const ButtonHandlers& handlers);
    // The separator images between the groups of buttons.
    void CreateSeparators();
    // The footer's labels, the maker's link (opened by openUrl) and the clock.
    void CreateFooter(std::function<bool(const QUrl&)> openUrl);
    // The tip window over the buttons; keys and clicks in searchBox hide it.
    void CreateTooltips(QWidget* searchBox);

    // The template's places of the controls the window makes itself.
    void PlaceSearchBox(QWidget* searchBox);
    void PlaceBrowser(QWidget* view);
    void PlaceTree(QWidget* tree);

    // The buttons' images, tooltips and captions in the language.
    void ApplyLanguage(int language);
    // The footer's labels measured and drawn again, as after a change of
    // language or fonts.
    void RefreshLabels();

    // The text of a label id in the current language and its display font.
    std::optional<LabelText> textOf(std::uint32_t labelId) const;

    const DialogLayout& layout() const { return layout_; }
    FlatButton* button(ControlId id) const;
    QWidget* label(ControlId id) const;
    const std::vector<QWidget*>& separators() const { return separators_; }
    TooltipWindow* tooltips() const { return tooltips_; }

private:
    void ApplyButtonImages(int language);
    void ApplyTooltips(int language);
    void LabelButton(FlatButton* button, ControlId id);

    QWidget* window_;
    const LanguageData& language_;
    const NameRegistry& names_;
    const DisplayFonts& fonts_;
    DialogLayout layout_;
    std::map<ControlId, FlatButton*> buttons_;
    std::map<ControlId, QWidget*> labels_;
    std::vector<QWidget*> separators_;
    TooltipWindow* tooltips_ = nullptr;
};

} // namespace quillory
