#pragma once
// The main window: search box with history, language buttons, menus, the
// category tree, the browser pane and the footer. It owns the dictionary,
// the interface texts, the history and the dispatcher of page requests, and
// routes every request through a queued call, never running one inside the
// handler that asked for it.
#include "app/sound/SyllablePlayer.h"
#include "app/window/DisplayFonts.h"
#include "app/window/MessageBoxReporter.h"
#include "controls/DialogLayout.h"
#include "dictionary/Dictionary.h"
#include "pages/builders/PageBuilder.h"
#include "pages/protocol/ProtocolDispatcher.h"
#include "pages/protocol/SearchActions.h"
#include "pages/protocol/WindowActions.h"
#include "settings/ControlIds.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "settings/SettingsStore.h"

#include <QUrl>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class QAction;
class QMenu;

namespace quillory {

class CExplainWin;
class CUniTreeCtrl;
class ClockLabel;
class FlatButton;
class HyperlinkLabel;
class LanguageLabel;
class MainMenus;
class SearchComboBox;
class TooltipWindow;
class TrayIcon;
class UpdateChecker;
class UpdateIndicator;

// What the window needs from outside: where its data and settings are, and
// how addresses are opened (the user's browser; tests record them).
struct MainWindowEnvironment {
    QString dataFolder;
    SettingsStore* settings = nullptr;
    std::function<bool(const QUrl&)> openUrl;
    // Where the user's messages go; a message box when not given.
    MessageReporter* reporter = nullptr;
};

class MainWindow final : public QWidget, private PageActions {
    Q_OBJECT
public:
    explicit MainWindow(MainWindowEnvironment environment, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up steps: fonts, settings, data files, texts, children,
    // labels, tray icon, history. False when the window cannot run.
    bool Initialise();

    // Posts a request; it runs after the current handler has returned.
    void PostRequest(const ProtocolRequest& request);
    void SetLanguage(int language);
    int language() const { return language_.GetLanguage(); }

    // Saves the history and the settings and ends the program. Asked before
    // the window is initialised, it runs once initialisation is over.
    void ExitProgram();
    // Restores the window from the tray or the task bar and raises it; asked
    // during initialisation (the first-start fonts dialog), once it is over.
    void ShowYourself();

    void ShowWelcomePage();
    void ShowSupportPage();
    void ShowAboutPage();
    void ShowHelpContents();

    // For tests and the fonts of other windows.
    CExplainWin* view() const { return view_; }
    CUniTreeCtrl* tree() const { return tree_; }
    SearchComboBox* searchBox() const { return searchBox_; }
    FlatButton* button(ControlId id) const;
    // The footer's labels: maker's name halves, subtitle, link, clock.
    QWidget* label(ControlId id) const;
    // The separator images between the groups of controls.
    const std::vector<QWidget*>& separators() const { return separators_; }
    QMenu* menu(MenuId id) const;
    QAction* menuAction(ControlId id) const;
    TooltipWindow* tooltips() const { return tooltips_; }
    const SearchState& searchState() const { return search_; }
    const DisplayFonts& fonts() const { return fonts_; }
    QString historyPath() const { return historyPath_; }
    bool animatedIcon() const { return animatedIcon_; }
    SyllablePlayer& player() { return player_; }
    // Lays the window out again, as after a change of fonts.
    void LayOut();

signals:
    // The Exit action has run; the application should end.
    void exited();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // PageActions
    void PlaySyllable(const QString& syllable, Scheme scheme) override;
    void OpenAddress(const QString& url) override;
    void RefillSearchBox() override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    void ReadWindowSettings();
    void CreateControls();
    void CreateFooter();
    void CreateTooltips();
    void CreateMenus();
    void ApplyLanguage();
    void ApplyButtonImages(int language);
    void ApplyTooltips(int language);
    void LabelButton(FlatButton* button, ControlId id);
    void RefreshShownPage();
    void HideToTray();
    void SetAnimatedIcon(bool on);
    void StartUpdateCheck();
    void ChooseChineseFonts();
    void RebuildDisplayFonts();
    void OnTreeNotify(quint32 itemData);
    void RunGo();
    void PickHistory(int index);
    // The text of a label id in the current language and its display font.
    std::optional<std::pair<QString, QFont>> TextOf(std::uint32_t labelId) const;

    MainWindowEnvironment env_;
    MessageBoxReporter boxReporter_;
    MessageReporter& reporter_;
    NameRegistry names_;
    LanguageData language_;
    DisplayFonts fonts_;
    Dictionary dictionary_;
    PageBuilder builder_;
    SearchState search_;
    std::unique_ptr<ProtocolDispatcher> dispatcher_;
    SyllablePlayer player_;
    QString historyPath_;
    int pinyinFontId_ = -1;
    bool initialised_ = false;
    bool exiting_ = false;
    bool showPending_ = false;
    bool exitPending_ = false;
    int waitDepth_ = 0;

    DialogLayout layout_;
    CExplainWin* view_ = nullptr;
    CUniTreeCtrl* tree_ = nullptr;
    SearchComboBox* searchBox_ = nullptr;
    std::map<ControlId, FlatButton*> buttons_;
    std::map<ControlId, QWidget*> labels_;
    std::vector<QWidget*> separators_;
    LanguageLabel* subtitle_ = nullptr;
    LanguageLabel* makerLeft_ = nullptr;
    LanguageLabel* makerRight_ = nullptr;
    HyperlinkLabel* makerLink_ = nullptr;
    ClockLabel* clock_ = nullptr;
    TooltipWindow* tooltips_ = nullptr;
    std::unique_ptr<MainMenus> menus_;

    UpdateChecker* updateChecker_ = nullptr;
    UpdateIndicator* updateIndicator_ = nullptr;

    TrayIcon* tray_ = nullptr;
    bool animatedIcon_ = true;
};

} // namespace quillory
