#pragma once
// The main window: search box with history, language buttons, menus, the
// category tree, the browser pane and the footer. It owns the dictionary,
// the interface texts, the history and the dispatcher of page requests, and
// routes every request through a queued call, never running one inside the
// handler that asked for it.
#include "app/window/DisplayFonts.h"
#include "app/window/MessageBoxReporter.h"
#include "app/sound/SyllablePlayer.h"
#include "dictionary/Dictionary.h"
#include "pages/protocol/SearchActions.h"
#include "pages/builders/PageBuilder.h"
#include "pages/protocol/ProtocolDispatcher.h"
#include "pages/protocol/WindowActions.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "settings/SettingsStore.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace quillory {

class CExplainWin;
class CUniTreeCtrl;
class ClockLabel;
class FlatButton;
class HyperlinkLabel;
class SearchComboBox;
class LanguageLabel;
class TooltipWindow;
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

class MainWindow final : public QWidget, private SearchBox, private WindowActions {
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
    int Language() const { return language_.GetLanguage(); }

    // Saves the history and the settings and ends the program.
    void ExitProgram();
    // Restores the window from the tray or the task bar and raises it.
    void ShowYourself();

    void ShowWelcomePage();
    void ShowSupportPage();
    void ShowAboutPage();

    // For tests and the fonts of other windows.
    CExplainWin* view() const { return view_; }
    CUniTreeCtrl* tree() const { return tree_; }
    SearchComboBox* searchBox() const { return searchBox_; }
    FlatButton* button(int controlId) const;
    QMenu* contextMenu() const { return contextMenu_; }
    TooltipWindow* tooltips() const { return tooltips_; }
    const SearchState& searchState() const { return search_; }
    const DisplayFonts& fonts() const { return fonts_; }
    QString historyPath() const { return historyPath_; }
    bool animatedIcon() const { return animatedIcon_; }
    SyllablePlayer& player() { return player_; }

signals:
    // The Exit action has run; the application should end.
    void exited();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // SearchBox
    QString text() const override;
    int itemCount() const override;
    QString itemText(int item) const override;
    int itemData(int item) const override;
    int selectedItem() const override;
    void post(const ProtocolRequest& request) override { PostRequest(request); }

    // WindowActions
    void PlaySyllable(const QString& syllable, Scheme scheme) override;
    void StartStroke(std::uint32_t code, int pixelSize) override;
    void OpenLessonEditor(std::uint32_t lessonId) override;
    void OpenHtmlLesson(std::uint32_t lessonId) override;
    void OpenAddress(const QString& url) override;
    void RefillSearchBox() override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    void CreateControls();
    void CreateMenus();
    void CreateTray();
    void LayOut();
    void ApplyLanguage();
    void LabelButton(FlatButton* button, std::uint32_t labelId);
    void LabelAction(QAction* action, std::uint32_t labelId);
    void RefreshShownPage();
    void HideToTray();
    void SetAnimatedIcon(bool on);
    void AnimationTick();
    void ShowContextMenu(const QPoint& globalPos);
    void StartUpdateCheck();
    void ChooseChineseFonts();
    void OnTreeNotify(quint32 itemData);
    void RunGo();
    void PickHistory(int index);
    QString TextOf(std::uint32_t labelId, int* slot = nullptr) const;
    std::uint32_t Id(const char* name) const;

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
    int waitDepth_ = 0;

    CExplainWin* view_ = nullptr;
    CUniTreeCtrl* tree_ = nullptr;
    SearchComboBox* searchBox_ = nullptr;
    std::map<int, FlatButton*> buttons_;
    LanguageLabel* subtitle_ = nullptr;
    LanguageLabel* makerLeft_ = nullptr;
    LanguageLabel* makerRight_ = nullptr;
    HyperlinkLabel* makerLink_ = nullptr;
    ClockLabel* clock_ = nullptr;
    TooltipWindow* tooltips_ = nullptr;

    QMenu* contextMenu_ = nullptr; // 246
    QMenu* optionsMenu_ = nullptr; // 203
    QMenu* toolsMenu_ = nullptr;   // 204
    QMenu* helpMenu_ = nullptr;    // 205
    std::map<int, QAction*> actions_;

    UpdateChecker* updateChecker_ = nullptr;
    UpdateIndicator* updateIndicator_ = nullptr;

    QSystemTrayIcon* tray_ = nullptr;
    QTimer* animationTimer_ = nullptr;
    bool animatedIcon_ = true;
    int animationFrame_ = 0;
};

} // namespace quillory
