#pragma once
// The main window: search box with history, language buttons, menus, the
// category tree, the browser pane and the footer. It owns the dictionary,
// the interface texts, the history and the dispatcher of page requests, and
// routes every request through a queued call, never running one inside the
// handler that asked for it. The controls and their template are
// MainControls, the update button and lamps UpdateControls, the actions of
// page requests WindowPageActions.
#include "app/sound/SyllablePlayer.h"
#include "app/window/DisplayFonts.h"
#include "app/window/MainControls.h"
#include "app/window/MessageBoxReporter.h"
#include "app/window/WindowPageActions.h"
#include "app/window/WindowStrokeActions.h"
#include "controls/tree/CategoryTreeBuilder.h"
#include "dictionary/Dictionary.h"
#include "lessons/library/LessonLibraries.h"
#include "pages/builders/PageBuilder.h"
#include "pages/protocol/ProtocolDispatcher.h"
#include "pages/protocol/SearchActions.h"
#include "settings/ControlIds.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "settings/SettingsStore.h"

#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;

namespace quillory {

class CExplainWin;
class ConverterWindow;
class LessonEditor;
class SyllableSequence;
class TextConverter;
class CUniTreeCtrl;
class MainMenus;
class SearchComboBox;
class TrayIcon;
class StoreSuggestions;
class UpdateControls;

// What the window needs from outside: where its data and settings are, and
// how addresses are opened (the user's browser; tests record them).
struct MainWindowEnvironment {
    QString dataFolder;
    SettingsStore* settings = nullptr;
    std::function<bool(const QUrl&)> openUrl;
    // Where the user's messages go; a message box when not given.
    MessageReporter* reporter = nullptr;
    // The folder of the lesson libraries "oxa" and "html"; empty: "lesson"
    // beside the program, or its copy in the user's folder.
    QString lessonFolder = {};
};

class MainWindow final : public QWidget {
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

    // Posts a lesson library's notice: the tree adds the lesson's item, or
    // removes it for kRemoveLessonAction.
    void PostLessonNotice(LessonFormat format, std::uint16_t id, int action);
    LessonLibraries& lessons() { return *lessons_; }
    // Tools > Lesson Editor and a click on an Oxa lesson: the editor is
    // created on first use, then shows the lesson (a new one for kNoLesson).
    void ShowLessonEditor(std::uint32_t lessonId);
    LessonEditor* lessonEditor() const { return lessonEditor_; }
    // Tools > Converter: the window is created on first use, then shown and made active.
    void ShowConverter();

    // For tests and the fonts of other windows.
    CExplainWin* view() const { return view_; }
    CUniTreeCtrl* tree() const { return tree_; }
    ConverterWindow* converter() const { return converter_; }
    SearchComboBox* searchBox() const { return searchBox_; }
    FlatButton* button(ControlId id) const { return controls_.button(id); }
    // The footer's labels: maker's name halves, subtitle, link, clock.
    QWidget* label(ControlId id) const { return controls_.label(id); }
    // The separator images between the groups of controls.
    const std::vector<QWidget*>& separators() const { return controls_.separators(); }
    QMenu* menu(MenuId id) const;
    QAction* menuAction(ControlId id) const;
    TooltipWindow* tooltips() const { return controls_.tooltips(); }
    const SearchState& searchState() const { return search_; }
    const DisplayFonts& fonts() const { return fonts_; }
    QString historyPath() const { return historyPath_; }
    bool animatedIcon() const { return animatedIcon_; }
    SyllablePlayer& player() { return player_; }
    // The stroke player over the browser pane; hidden until a stroke request.
    stroke::StrokePlayer* strokePlayer() const { return strokeActions_.player(); }
    // Lays the window out again, as after a change of fonts.
    void LayOut();

signals:
    // The Exit action has run; the application should end.
    void exited();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void ReadWindowSettings();
    void CreateControls();
    void CreateMenus();
    void ApplyLanguage();
    void RefreshShownPage();
    void HideToTray();
    void SetAnimatedIcon(bool on);
    void ChooseChineseFonts();
    void RebuildDisplayFonts();
    void OnTreeNotify(quint32 itemData);
    void OnLessonNotice(LessonFormat format, std::uint16_t id, int action);
    // The lessons of both libraries with their titles in the language.
    LessonTitles LessonTitlesIn(int language) const;
    void RunGo();
    void PickHistory(int index);

    MainWindowEnvironment env_;
    MessageBoxReporter boxReporter_;
    MessageReporter& reporter_;
    NameRegistry names_;
    LanguageData language_;
    DisplayFonts fonts_;
    Dictionary dictionary_;
    PageBuilder builder_;
    SearchState search_;
    // Before the dispatcher, which holds on to it.
    WindowPageActions pageActions_;
    WindowStrokeActions strokeActions_{this};
    // Before the dispatcher, which holds on to it.
    std::unique_ptr<LessonLibraries> lessons_;
    std::unique_ptr<ProtocolDispatcher> dispatcher_;
    SyllablePlayer player_;
    QString historyPath_;
    int pinyinFontId_ = -1;
    bool initialised_ = false;
    bool exiting_ = false;
    bool showPending_ = false;
    bool exitPending_ = false;

    MainControls controls_;
    CExplainWin* view_ = nullptr;
    CUniTreeCtrl* tree_ = nullptr;
    ConverterWindow* converter_ = nullptr;
    LessonEditor* lessonEditor_ = nullptr;
    std::unique_ptr<TextConverter> lessonConverter_;
    SyllableSequence* lessonSpeech_ = nullptr;
    SearchComboBox* searchBox_ = nullptr;
    std::unique_ptr<MainMenus> menus_;
    UpdateControls* updates_ = nullptr;
    StoreSuggestions* suggestions_ = nullptr;

    TrayIcon* tray_ = nullptr;
    bool animatedIcon_ = true;
};

} // namespace quillory
