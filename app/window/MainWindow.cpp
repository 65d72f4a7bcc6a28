#include "app/window/MainWindow.h"

#include "app/window/MainMenus.h"
#include "app/window/SuggestionWorker.h"
#include "app/window/TrayIcon.h"
#include "app/window/UpdateControls.h"
#include "browser/ExplainWin.h"
#include "controls/ButtonImages.h"
#include "controls/FlatButton.h"
#include "controls/SearchComboBox.h"
#include "controls/tree/CategoryTree.h"
#include "controls/tree/CategoryTreeBuilder.h"
#include "lessons/editor/LessonEditor.h"
#include "lessons/editor/SyllableSequence.h"
#include "pages/protocol/LinkProtocol.h"
#include "settings/ProductInfo.h"
#include "stroke/fonts/FontsDialog.h"
#include "tools/converter/ConverterWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMetaObject>
#include <QScreen>
#include <QShortcut>

namespace quillory {
namespace {

int ScreenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
}

} // namespace

MainWindow::MainWindow(MainWindowEnvironment environment, QWidget* parent)
    : QWidget(parent), env_(std::move(environment)), boxReporter_(this),
      reporter_(env_.reporter ? *env_.reporter : static_cast<MessageReporter&>(boxReporter_)),
      language_(reporter_), dictionary_(env_.dataFolder, reporter_),
      builder_(language_, names_, dictionary_.index()),
      pageActions_(dictionary_, player_, env_.openUrl, search_.history),
      controls_(this, language_, names_, fonts_) {
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    setWindowIcon(ImageIcon(image::kProgramIcon));
}

MainWindow::~MainWindow() = default;

bool MainWindow::Initialise() {
    // The private Pinyin font, seen by the controls and the pages alike.
    pinyinFontId_ =
        QFontDatabase::addApplicationFont(dictionary_.files().DataPath(QStringLiteral("Oxapinyin.ttf")));
    // Without Chinese display fonts chosen, choose them first; Exit there ends the program.
    if (!EnsureChineseFonts(*env_.settings, this, &reporter_)) {
        return false;
    }
    ReadWindowSettings();
    dictionary_.Open();
    // An unusable sound archive greys every speaker and is said once.
    if (!dictionary_.sounds().isOpen()) {
        builder_.setSoundsAvailable(false);
        reporter_.showMessage(dictionary_.soundError());
    }
    language_.Load(env_.dataFolder);
    fonts_.RebuildFonts(*env_.settings, ScreenDpi());
    RegisterLabelKeys(language_, names_);
    lessons_ = std::make_unique<LessonLibraries>(
        env_.lessonFolder.isEmpty() ? ProgramLessonFolders() : LessonFoldersOf(env_.lessonFolder), reporter_);
    lessons_->setUrlOpener(env_.openUrl);
    lessons_->setEditorOpener([this](std::uint32_t lessonId) { ShowLessonEditor(lessonId); });

    CreateControls();
    controls_.CreateFooter(env_.openUrl);
    controls_.CreateTooltips(searchBox_);
    CreateMenus();
    dispatcher_ = std::make_unique<ProtocolDispatcher>(dictionary_, builder_, search_, *view_, pageActions_,
                                                       &strokeActions_, lessons_.get());
    ShowWelcomePage();
    ApplyLanguage();
    LayOut();
    tray_ = new TrayIcon(this, menus_->menu(kResultPageMenu));
    connect(tray_, &TrayIcon::activated, this, &MainWindow::ShowYourself);
    SetAnimatedIcon(animatedIcon_);

    historyPath_ = HistoryFilePath(env_.dataFolder);
    search_.history.LoadHistory(historyPath_);
    pageActions_.RefillSearchBox();
    // A user can type at once, over the last search.
    searchBox_->setFocus(Qt::OtherFocusReason);
    searchBox_->lineEdit()->selectAll();
    initialised_ = true;
    // Asks for a newer version without waiting; the update button and the
    // blinking lamps appear when one exists.
    updates_->Start(dictionary_.index().dataVersion());
    // The record store's first English and reading look-ups read their
    // indexes into its cache and prepare their statements, some 15 ms here,
    // on each of its two connections. Done once the welcome page is painted, a
    // user's first search and first keystroke do not wait for that.
    connect(
        view_, &CExplainWin::pagePainted, this,
        [this] {
            if (!exiting_) {
                suggestions_->WarmUp();
                dictionary_.lookup().Find(QStringLiteral("the"));
            }
        },
        Qt::SingleShotConnection);
    if (exitPending_) {
        QMetaObject::invokeMethod(this, &MainWindow::ExitProgram, Qt::QueuedConnection);
    } else if (showPending_) {
        ShowYourself();
    }
    return true;
}

void MainWindow::ReadWindowSettings() {
    int lang = kEnglish;
    if (const auto value = env_.settings->ReadSetting(QStringLiteral("LANG"))) {
        lang = LanguageFromIndex(value->toInt());
    }
    if (const auto value = env_.settings->ReadSetting(QStringLiteral("AniIcon"))) {
        animatedIcon_ = *value != QLatin1String("0");
    }
    language_.SetLanguage(lang);
}

void MainWindow::CreateControls() {
    ButtonHandlers handlers;
    handlers.go = [this] { RunGo(); };
    handlers.exit = [this] { ExitProgram(); };
    handlers.setLanguage = [this](int language) { SetLanguage(language); };
    controls_.CreateButtons(handlers);
    updates_ =
        new UpdateControls(this, controls_, [this](const QString& url) { pageActions_.OpenAddress(url); });
    controls_.CreateSeparators();

    searchBox_ = new SearchComboBox(this);
    searchBox_->setRequestPoster([this](const ProtocolRequest& request) { PostRequest(request); });
    // Suggestions while typing, from the same record store on a thread of their own.
    suggestions_ =
        new StoreSuggestions(dictionary_.files().DataPath(Dictionary::recordStoreName()), searchBox_);
    searchBox_->setSuggestionSource(suggestions_);
    connect(searchBox_, &SearchComboBox::searchRequested, this, [this] { RunGo(); });
    connect(searchBox_, &SearchComboBox::historyPicked, this, [this](int index) { PickHistory(index); });
    controls_.PlaceSearchBox(searchBox_);
    pageActions_.setSearchBox(searchBox_);
    // The search box comes first when tabbing, not the Tools button.
    setTabOrder(searchBox_, controls_.button(kButtonGo));

    view_ = new CExplainWin(this);
    view_->SetBeforeNavigateHook([this](const QString& address) {
        const NavigationDecision decision = DecideNavigation(address);
        if (decision.post) {
            PostRequest(*decision.post);
        }
        return decision.cancel;
    });
    view_->SetContextMenuHook(
        [this](const QPoint& globalPos) { menus_->menu(kResultPageMenu)->popup(globalPos); });
    view_->SetExternalOpener([this](const QUrl& url) { return env_.openUrl && env_.openUrl(url); });
    controls_.PlaceBrowser(view_);

    tree_ = new CUniTreeCtrl([this](int slot) { return fonts_.GetFont(FontSlotFromIndex(slot)); }, this);
    tree_->setFont(fonts_.GetFont(FontSlot::Jianti));
    CategoryListing listing = ListingFromIndex(dictionary_.index());
    listing.lessons = LessonTitlesIn(kEnglish);
    tree_->Build(listing);
    connect(tree_, &CUniTreeCtrl::treeNotify, this, &MainWindow::OnTreeNotify);
    controls_.PlaceTree(tree_);

    // Over the browser pane's lower right corner, hidden until a stroke request.
    strokeActions_.CreatePlayer(view_, names_, reporter_, dictionary_);
}

void MainWindow::CreateMenus() {
    MenuHandlers handlers;
    handlers.about = [this] { ShowAboutPage(); };
    handlers.exit = [this] { ExitProgram(); };
    handlers.toggleAnimatedIcon = [this] { SetAnimatedIcon(!animatedIcon_); };
    handlers.setLanguage = [this](int language) { SetLanguage(language); };
    handlers.chooseFonts = [this] { ChooseChineseFonts(); };
    handlers.lessonEditor = [this] { ShowLessonEditor(LessonActions::kNoLesson); };
    handlers.converter = [this] { ShowConverter(); };
    handlers.helpContents = [this] { ShowHelpContents(); };
    handlers.support = [this] { ShowSupportPage(); };
    menus_ = std::make_unique<MainMenus>(this, handlers);
    controls_.button(kButtonTools)->setDropDownMenu(menus_->menu(kToolsMenu));
    controls_.button(kButtonOptions)->setDropDownMenu(menus_->menu(kOptionsMenu));
    controls_.button(kButtonHelp)->setDropDownMenu(menus_->menu(kHelpMenu));
    // F1 opens the help as Help > Contents does, wherever the focus is.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, &MainWindow::ShowHelpContents);
}

// The template in dialog units, scaled by the window font; the tree and the
// browser pane take whatever room the window has beyond the template.
void MainWindow::LayOut() {
    const QSize templatePixels = controls_.layout().pixelSize(font());
    if (!initialised_) {
        resize(templatePixels);
        setMinimumSize(templatePixels * 3 / 4);
    }
    controls_.layout().Apply(font(), size());
    // The stroke player follows the browser pane's corner.
    strokeActions_.PlacePlayer();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (view_) {
        LayOut();
    }
}

bool MainWindow::event(QEvent* event) {
    // WM_STROKE_NOTIFY: the stroke player asks to be hidden.
    if (strokeActions_.HandleEvent(event)) {
        return true;
    }
    return QWidget::event(event);
}

void MainWindow::ApplyLanguage() {
    const int lang = language_.GetLanguage();
    controls_.ApplyLanguage(lang);
    menus_->Relabel([this](QAction* action, ControlId id) {
        const auto text = controls_.textOf(id);
        action->setText(text ? QString(text->text).replace(u'&', QStringLiteral("&&")) : QString());
        action->setFont(text ? text->font : fonts_.GetFont(FontSlot::English));
    });
    menus_->setChecks(lang, animatedIcon_);
    controls_.RefreshLabels();
    if (converter_) {
        converter_->Relabel();
    }
    if (lessonEditor_) {
        lessonEditor_->Relabel();
    }
    searchBox_->setFont(fonts_.GetFont(FontSlot::Jianti));
    tree_->Relabel(language_, names_, lang, LessonTitlesIn(lang));
    // Texts of another length may need other room.
    if (initialised_) {
        LayOut();
    }
    RefreshShownPage();
}

void MainWindow::SetLanguage(int language) {
    if (language == language_.GetLanguage()) {
        return;
    }
    language_.SetLanguage(language);
    ApplyLanguage();
}

void MainWindow::RefreshShownPage() {
    if (!initialised_ || !view_) {
        return;
    }
    const LanguageRefresh refresh = DecideLanguageRefresh(view_->PageName(), search_.history);
    if (refresh.action == LanguageRefresh::Action::Repost && refresh.request) {
        PostRequest(*refresh.request);
    } else if (refresh.action == LanguageRefresh::Action::ShowSupport) {
        ShowSupportPage();
    }
}

void MainWindow::PostRequest(const ProtocolRequest& request) {
    QMetaObject::invokeMethod(
        this,
        [this, request] {
            if (dispatcher_ && !exiting_) {
                dispatcher_->OnProtocol(request);
            }
        },
        Qt::QueuedConnection);
}

void MainWindow::OnTreeNotify(quint32 itemData) {
    if (const std::optional<ProtocolRequest> request = tree_->RequestForNotice(itemData)) {
        PostRequest(*request);
    }
}

void MainWindow::RunGo() {
    RunSearch(*searchBox_, search_, reporter_);
}

void MainWindow::PickHistory(int index) {
    searchBox_->setCurrentIndex(index);
    PickHistoryItem(*searchBox_, search_);
}

void MainWindow::ShowWelcomePage() {
    if (view_) {
        ShowFixedPage(*view_, WelcomePage(builder_));
    }
}

void MainWindow::ShowSupportPage() {
    if (view_) {
        ShowFixedPage(*view_, SupportPage(builder_));
    }
}

void MainWindow::ShowAboutPage() {
    if (view_) {
        ShowYourself();
        ShowFixedPage(*view_, AboutPage(builder_));
    }
}

void MainWindow::ShowHelpContents() {
    pageActions_.OpenAddress(
        QUrl::fromLocalFile(dictionary_.files().DataPath(QStringLiteral("help/index.html"))).toString());
}

void MainWindow::RebuildDisplayFonts() {
    fonts_.RebuildFonts(*env_.settings, ScreenDpi());
    tree_->setFont(fonts_.GetFont(FontSlot::Jianti));
    tree_->ReapplyFonts();
    ApplyLanguage(); // lays the window out again for the new text sizes
    update();
}

// Options > Chinese Fonts: on OK every control takes the new fonts.
void MainWindow::ChooseChineseFonts() {
    if (RunFontsDialog(*env_.settings, this, &reporter_)) {
        RebuildDisplayFonts();
    }
}

QMenu* MainWindow::menu(MenuId id) const {
    return menus_ ? menus_->menu(id) : nullptr;
}

QAction* MainWindow::menuAction(ControlId id) const {
    return menus_ ? menus_->action(id) : nullptr;
}

void MainWindow::SetAnimatedIcon(bool on) {
    animatedIcon_ = on;
    if (menus_) {
        menus_->setChecks(language_.GetLanguage(), on);
    }
    if (tray_) {
        tray_->setAnimated(on);
    }
}

void MainWindow::HideToTray() {
    if (tray_ && tray_->isShown()) {
        hide();
    } else {
        // Without a tray the window would be stranded: minimise instead.
        showMinimized();
    }
}

void MainWindow::ShowYourself() {
    if (!initialised_) {
        // A start-up dialog (the fonts dialog, a data message) comes to the front.
        showPending_ = true;
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            dialog->raise();
            dialog->activateWindow();
        }
        return;
    }
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (exiting_) {
        event->accept();
        return;
    }
    event->ignore();
    HideToTray();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && tray_ && tray_->isShown()) {
        QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
    }
}

void MainWindow::ExitProgram() {
    if (!initialised_) {
        // Asked to quit during start-up: the open start-up dialog is closed
        // (Exit in the fonts dialog) and no further message is shown, so the
        // program quits now rather than once the user answers.
        exitPending_ = true;
        boxReporter_.setSilenced(true);
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->reject();
        }
        return;
    }
    if (exiting_) {
        return;
    }
    exiting_ = true;
    player_.Stop();
    search_.history.SaveHistory(historyPath_);
    env_.settings->WriteSetting(QStringLiteral("LANG"), QString::number(language_.GetLanguage()));
    env_.settings->WriteSetting(QStringLiteral("AniIcon"),
                                animatedIcon_ ? QStringLiteral("1") : QStringLiteral("0"));
    env_.settings->WriteSetting(QStringLiteral("Path"), QCoreApplication::applicationDirPath() + u'/');
    tray_->Remove();
    dictionary_.Close();
    delete converter_;
    converter_ = nullptr;
    if (pinyinFontId_ >= 0) {
        QFontDatabase::removeApplicationFont(pinyinFontId_);
        pinyinFontId_ = -1;
    }
    // The browser view goes before the application ends, so the web engine
    // shuts it down while everything it relies on still exists.
    dispatcher_.reset();
    strokeActions_.ClosePlayer();
    if (view_) {
        view_->stop();
        view_->hide();
        view_->deleteLater();
        view_ = nullptr;
    }
    close();
    emit exited();
}

} // namespace quillory
