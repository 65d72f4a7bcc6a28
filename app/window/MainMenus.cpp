#include "app/window/MainMenus.h"

#include "settings/InterfaceLanguage.h"

#include <QMenu>
#include <QWidget>

namespace quillory {
namespace {

// The Options menu's language items, in the menu's order.
struct LanguageItem {
    InterfaceLanguage language;
    ControlId id;
};
constexpr LanguageItem kLanguageItems[] = {
    {kEnglish, kMenuOptionsEnglish}, {kJianti, kMenuOptionsJianti},     {kFanti, kMenuOptionsFanti},
    {kPinyin, kMenuOptionsPinyin},   {kJyutping, kMenuOptionsJyutping},
};

} // namespace

MainMenus::MainMenus(QWidget* window, const MenuHandlers& handlers) : window_(window) {
    for (const MenuId id : {kResultPageMenu, kOptionsMenu, kToolsMenu, kHelpMenu}) {
        menus_[id] = new QMenu(window);
    }
    Add(kResultPageMenu, kMenuAbout, handlers.about);
    menus_[kResultPageMenu]->addSeparator();
    Add(kResultPageMenu, kMenuExitItem, handlers.exit);

    Add(kOptionsMenu, kMenuOptionsAnimatedIcon, handlers.toggleAnimatedIcon)->setCheckable(true);
    menus_[kOptionsMenu]->addSeparator();
    for (const LanguageItem& item : kLanguageItems) {
        const InterfaceLanguage language = item.language;
        Add(kOptionsMenu, item.id, [handlers, language] {
            handlers.setLanguage(language);
        })->setCheckable(true);
    }
    menus_[kOptionsMenu]->addSeparator();
    Add(kOptionsMenu, kMenuOptionsChineseFont, handlers.chooseFonts);

    Add(kToolsMenu, kMenuToolsConverter, handlers.converter);
    menus_[kToolsMenu]->addSeparator();
    Add(kToolsMenu, kMenuToolsEditor, handlers.lessonEditor);

    Add(kHelpMenu, kMenuHelpContents, handlers.helpContents);
    Add(kHelpMenu, kMenuHelpTech, handlers.support);
    Add(kHelpMenu, kMenuHelpAbout, handlers.about);
}

QAction* MainMenus::Add(MenuId menu, ControlId id, const std::function<void()>& handler) {
    QAction* action = menus_[menu]->addAction(QString());
    action->setData(static_cast<uint>(id));
    if (handler) {
        QObject::connect(action, &QAction::triggered, window_, handler);
    }
    actions_[id] = action;
    return action;
}

QAction* MainMenus::action(ControlId id) const {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

void MainMenus::Relabel(const std::function<void(QAction*, ControlId)>& label) {
    for (const auto& [id, action] : actions_) {
        label(action, id);
    }
}

void MainMenus::setChecks(int language, bool animatedIcon) {
    actions_.at(kMenuOptionsAnimatedIcon)->setChecked(animatedIcon);
    for (const LanguageItem& item : kLanguageItems) {
        actions_.at(item.id)->setChecked(item.language == language);
    }
}

} // namespace quillory
