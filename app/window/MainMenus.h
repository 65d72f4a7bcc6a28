#pragma once
// The main window's menus: the result-page menu (window icon, tray and
// browser context menu) and the Options, Tools and Help menus that drop down
// from their buttons. Items are keyed by their command ids, which are also
// their label keys.
#include "settings/ControlIds.h"

#include <QObject>
#include <functional>
#include <map>

class QAction;
class QMenu;
class QWidget;

namespace quillory {

struct MenuHandlers {
    std::function<void()> about;
    std::function<void()> exit;
    std::function<void()> toggleAnimatedIcon;
    std::function<void(int language)> setLanguage;
    std::function<void()> chooseFonts;
    std::function<void()> converter;
    std::function<void()> lessonEditor;
    std::function<void()> helpContents;
    std::function<void()> support;
};

class MainMenus {
public:
    // The menus belong to window; the handlers run in its context.
    MainMenus(QWidget* window, const MenuHandlers& handlers);

    QMenu* menu(MenuId id) const { return menus_.at(id); }
    QAction* action(ControlId id) const;

    // Gives every item its text (and font) for its label id.
    void Relabel(const std::function<void(QAction*, ControlId)>& label);
    // Checks the current language's item and the animated-icon item.
    void setChecks(int language, bool animatedIcon);

private:
    QAction* Add(MenuId menu, ControlId id, const std::function<void()>& handler);

    QWidget* window_;
    std::map<MenuId, QMenu*> menus_;
    std::map<ControlId, QAction*> actions_;
};

} // namespace quillory
