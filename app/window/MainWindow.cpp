#include "app/window/MainWindow.h"

#include "app/update/UpdateCheck.h"
#include "app/update/UpdateLamps.h"
#include "app/update/UpdateServer.h"
#include "app/window/MainMenus.h"
#include "app/window/TrayIcon.h"
#include "browser/ExplainWin.h"
#include "controls/ButtonImages.h"
#include "controls/ClockLabel.h"
#include "controls/FlatButton.h"
#include "controls/HyperlinkLabel.h"
#include "controls/LanguageLabel.h"
#include "controls/SearchComboBox.h"
#include "controls/TooltipWindow.h"
#include "controls/tree/CategoryTree.h"
#include "controls/tree/CategoryTreeBuilder.h"
#include "dictionary/text/Romanisation.h"
#include "pages/protocol/LinkProtocol.h"
#include "settings/ProductInfo.h"
#include "settings/RegisteredNames.h"
#include "stroke/fonts/FontsDialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMetaObject>
#include <QScreen>
#include <QShortcut>

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
constexpr ControlId kUpdateControls[] = {kButtonUpdate, kUpdateLamp1, kUpdateLamp2, kUpdateLamp3};
constexpr ControlId kUpdateLamps[] = {kUpdateLamp1, kUpdateLamp2, kUpdateLamp3};

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

int ScreenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
}

} // namespace

MainWindow::MainWindow(MainWindowEnvironment environment, QWidget* parent)
    : QWidget(parent), env_(std::move(environment)), boxReporter_(this),
      reporter_(env_.reporter ? *env_.reporter : static_cast<MessageReporter&>(boxReporter_)),
      language_(reporter_), dictionary_(env_.dataFolder, reporter_),
      builder_(language_, names_, dictionary_.index()), layout_(kTemplateSize, kEnlargedDialogScale) {
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
    language_.Load(env_.dataFolder);
    fonts_.RebuildFonts(*env_.settings, ScreenDpi());
    RegisterLabelKeys(language_, names_);

    CreateControls();
    CreateFooter();
    CreateTooltips();
    CreateMenus();
    dispatcher_ = std::make_unique<ProtocolDispatcher>(dictionary_, builder_, search_, *view_,
                                                       static_cast<PageActions&>(*this));
    ShowWelcomePage();
    ApplyLanguage();
    LayOut();
    tray_ = new TrayIcon(this, menus_->menu(kResultPageMenu));
    connect(tray_, &TrayIcon::activated, this, &MainWindow::ShowYourself);
    SetAnimatedIcon(animatedIcon_);

    historyPath_ = HistoryFilePath(env_.dataFolder);
    search_.history.LoadHistory(historyPath_);
    RefillSearchBox();
    // A user can type at once, over the last search.
    searchBox_->setFocus(Qt::OtherFocusReason);
    searchBox_->lineEdit()->selectAll();
    initialised_ = true;
    StartUpdateCheck();
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

// Asks the vendor's server for a newer version without waiting for it; the
// update button and the blinking lamps appear when one exists.
void MainWindow::StartUpdateCheck() {
    updateIndicator_ = new UpdateIndicator(this);
    connect(updateIndicator_, &UpdateIndicator::controlsVisibleChanged, this, [this](bool visible) {
        for (const ControlId id : kUpdateControls) {
            buttons_[id]->setVisible(visible);
        }
    });
    connect(updateIndicator_, &UpdateIndicator::lampsChanged, this, [this](const LampStates& lamps) {
        for (std::size_t i = 0; i < lamps.size(); ++i) {
            buttons_[kUpdateLamps[i]]->setPicture(
                ImagePixmap(lamps[i] ? image::kLampLit : image::kLampUnlit, devicePixelRatioF()), kMagenta);
        }
    });
    updateChecker_ = new UpdateChecker(ConfiguredUpdateServer(),
                                       UpdateVersions::Current(dictionary_.index().DataVersion()), this);
    connect(updateChecker_, &UpdateChecker::finished, updateIndicator_, &UpdateIndicator::showCheckResult);
    updateChecker_->start();
}

void MainWindow::CreateControls() {
    for (const ButtonPlace& place : kButtonPlaces) {
        auto* button = new FlatButton(this);
        button->setShade(kButtonShade, 0);
        buttons_[place.id] = button;
        layout_.Add(button, place.rect, place.anchors);
    }
    // The update controls appear only when the check finds a newer version.
    for (const ControlId id : kUpdateControls) {
        buttons_[id]->hide();
        connect(buttons_[id], &QAbstractButton::clicked, this, [this] {
            if (updateIndicator_ && !updateIndicator_->address().isEmpty()) {
                OpenAddress(updateIndicator_->address());
            }
        });
    }
    for (const ControlId id : kUpdateLamps) {
        buttons_[id]->setPicture(ImagePixmap(image::kLampUnlit, devicePixelRatioF()), kMagenta);
    }
    buttons_[kButtonGo]->setMasks(image::kGo, image::kGoHover, kGreen);
    connect(buttons_[kButtonGo], &QAbstractButton::clicked, this, [this] { RunGo(); });
    connect(buttons_[kButtonExit], &QAbstractButton::clicked, this, [this] { ExitProgram(); });
    for (const LanguageButton& entry : kLanguageButtons) {
        const InterfaceLanguage language = entry.language;
        connect(buttons_[entry.button], &QAbstractButton::clicked, this,
                [this, language] { SetLanguage(language); });
    }
    for (const SeparatorPlace& place : kSeparatorPlaces) {
        auto* separator = new QLabel(this);
        separator->setPixmap(ImagePixmap(place.image, devicePixelRatioF()));
        separator->setScaledContents(true);
        separators_.push_back(separator);
        layout_.Add(separator, place.rect, place.anchors);
    }

    searchBox_ = new SearchComboBox(this);
    searchBox_->setRequestPoster([this](const ProtocolRequest& request) { PostRequest(request); });
    connect(searchBox_, &SearchComboBox::searchRequested, this, [this] { RunGo(); });
    connect(searchBox_, &SearchComboBox::historyPicked, this, [this](int index) { PickHistory(index); });
    layout_.Add(searchBox_, kSearchBoxRect, Anchor::kFitHeight);
    // The search box comes first when tabbing, not the Tools button.
    setTabOrder(searchBox_, buttons_[kButtonGo]);

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
    layout_.Add(view_, kBrowserRect, Anchor::kGrowWidth | Anchor::kGrowHeight);

    tree_ = new CUniTreeCtrl([this](int slot) { return fonts_.GetFont(FontSlotFromIndex(slot)); }, this);
    tree_->setFont(fonts_.GetFont(FontSlot::Jianti));
    tree_->Build(ListingFromIndex(dictionary_.index()));
    connect(tree_, &CUniTreeCtrl::treeNotify, this, &MainWindow::OnTreeNotify);
    layout_.Add(tree_, kTreeRect, Anchor::kGrowHeight);
}

void MainWindow::CreateFooter() {
    auto lookup = [this](std::uint32_t id) -> std::optional<LabelText> {
        if (const auto text = TextOf(id)) {
            return LabelText{text->first, text->second};
        }
        return std::nullopt;
    };
    auto addLabel = [&](ControlId id, DialogRect rect, StaticTextStyle style, const QColor& colour) {
        auto* label = new LanguageLabel(this);
        label->setLabelId(id, lookup);
        label->setStyle(style);
        label->setColour(colour);
        labels_[id] = label;
        layout_.Add(label, rect, kFooter);
        return label;
    };
    // The two halves of the maker's name read as one word.
    makerLeft_ = addLabel(kMakerNameLeft, {0, 263, 18, 10}, StaticTextStyle::Right, kBlue);
    makerRight_ = addLabel(kMakerNameRight, {18, 263, 30, 10}, StaticTextStyle::Left, kDarkGreen);
    subtitle_ = addLabel(kSubtitle, {57, 262, 133, 11}, StaticTextStyle::Centre, Qt::black);

    makerLink_ = new HyperlinkLabel(this);
    makerLink_->setText(QString::fromLatin1(kMakerSiteName));
    makerLink_->setAddress(QString::fromLatin1(kMakerSiteAddress));
    makerLink_->setUrlOpener([this](const QUrl& url) { return env_.openUrl && env_.openUrl(url); });
    labels_[kMakerLink] = makerLink_;
    layout_.Add(makerLink_, {210, 262, 69, 11}, kFooter);

    clock_ = new ClockLabel(this);
    clock_->setStyle(StaticTextStyle::CentreImage);
    clock_->Start(kClockIntervalMs, kClockRunFlag, ClockLabel::kClockMode, QStringLiteral("Times New Roman"),
                  kClockPixelHeight, kClockWeight, kDarkGreen);
    labels_[kClockLabel] = clock_;
    layout_.Add(clock_, {299, 264, 86, 9}, kFooter | Anchor::kFollowRight);
}

void MainWindow::CreateTooltips() {
    tooltips_ = new TooltipWindow(this);
    // The tip window sees the pointer moving over the buttons, and any key
    // or click there or in the search box hides it.
    for (auto& [id, button] : buttons_) {
        button->setMouseTracking(true);
        button->installEventFilter(tooltips_);
    }
    searchBox_->installEventFilter(tooltips_);
    tooltips_->setTextProvider([this](const TooltipTool& tool) {
        const auto text = TextOf(tool.id);
        return text ? text->first : QString();
    });
    tooltips_->setFontProvider([this](std::uint32_t id) -> std::optional<QFont> {
        if (const auto text = TextOf(id)) {
            return text->second;
        }
        return std::nullopt;
    });
}

void MainWindow::CreateMenus() {
    MenuHandlers handlers;
    handlers.about = [this] { ShowAboutPage(); };
    handlers.exit = [this] { ExitProgram(); };
    handlers.toggleAnimatedIcon = [this] { SetAnimatedIcon(!animatedIcon_); };
    handlers.setLanguage = [this](int language) { SetLanguage(language); };
    handlers.chooseFonts = [this] { ChooseChineseFonts(); };
    handlers.lessonEditor = [] {}; // the Lesson Editor comes with the lesson libraries
    handlers.converter = [] {};    // the Converter comes with the conversion tables
    handlers.helpContents = [this] { ShowHelpContents(); };
    handlers.support = [this] { ShowSupportPage(); };
    menus_ = std::make_unique<MainMenus>(this, handlers);
    buttons_[kButtonTools]->setDropDownMenu(menus_->menu(kToolsMenu));
    buttons_[kButtonOptions]->setDropDownMenu(menus_->menu(kOptionsMenu));
    buttons_[kButtonHelp]->setDropDownMenu(menus_->menu(kHelpMenu));
    // F1 opens the help as Help > Contents does, wherever the focus is.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, &MainWindow::ShowHelpContents);
}

// The template in dialog units, scaled by the window font; the tree and the
// browser pane take whatever room the window has beyond the template.
void MainWindow::LayOut() {
    const QSize templatePixels = layout_.pixelSize(font());
    if (!initialised_) {
        resize(templatePixels);
        setMinimumSize(templatePixels * 3 / 4);
    }
    layout_.Apply(font(), size());
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (view_) {
        LayOut();
    }
}

std::optional<std::pair<QString, QFont>> MainWindow::TextOf(std::uint32_t labelId) const {
    const auto text = language_.GetTextAndFont(labelId, language_.GetLanguage());
    if (!text || text->first.text.isEmpty()) {
        return std::nullopt;
    }
    return std::make_pair(text->first.text, fonts_.GetFont(text->second));
}

void MainWindow::LabelButton(FlatButton* button, ControlId id) {
    const auto text = TextOf(id);
    button->setText(text ? text->first : QString());
    button->setFont(text ? text->second : fonts_.GetFont(FontSlot::English));
}

// Menu buttons show drawn Chinese captions, except in the romanised
// languages; the current language's button is marked.
void MainWindow::ApplyButtonImages(int language) {
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
void MainWindow::ApplyTooltips(int language) {
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

void MainWindow::ApplyLanguage() {
    const int lang = language_.GetLanguage();
    ApplyButtonImages(lang);
    ApplyTooltips(lang);
    for (const ControlId id : {kButtonHelp, kButtonExit, kButtonTools, kButtonOptions, kButtonUpdate,
                               kButtonEnglish, kButtonPinyin, kButtonJianti, kButtonFanti, kButtonJyutping}) {
        LabelButton(buttons_[id], id);
    }
    menus_->Relabel([this](QAction* action, ControlId id) {
        const auto text = TextOf(id);
        action->setText(text ? QString(text->first).replace(u'&', QStringLiteral("&&")) : QString());
        action->setFont(text ? text->second : fonts_.GetFont(FontSlot::English));
    });
    menus_->setChecks(lang, animatedIcon_);
    for (auto& [id, label] : labels_) {
        label->updateGeometry();
        label->update();
    }
    searchBox_->setFont(fonts_.GetFont(FontSlot::Jianti));
    tree_->Relabel(language_, names_, lang, {});
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

void MainWindow::RefillSearchBox() {
    QList<QPair<QString, int>> items;
    for (const SearchBoxItem& item : SearchBoxItems(search_.history)) {
        items.append({item.text, item.entryIndex});
    }
    searchBox_->SetItems(items);
}

void MainWindow::PlaySyllable(const QString& syllable, Scheme scheme) {
    // Returns at once; the sound plays on while the window goes on working.
    const std::optional<SyllableId> id = EncodeSyllable(syllable.toStdString(), scheme);
    if (!id)
        return;
    if (const auto samples = dictionary_.sounds().samples(scheme, *id))
        player_.play(*samples, SoundStore::sampleRate());
}

void MainWindow::OpenAddress(const QString& url) {
    if (env_.openUrl) {
        env_.openUrl(QUrl(url));
    }
}

void MainWindow::BeginWaitCursor() {
    if (waitDepth_++ == 0) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

void MainWindow::EndWaitCursor() {
    if (waitDepth_ > 0 && --waitDepth_ == 0) {
        QGuiApplication::restoreOverrideCursor();
    }
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
    OpenAddress(
        QUrl::fromLocalFile(dictionary_.files().DataPath(QStringLiteral("help/index.html"))).toString());
}

void MainWindow::RebuildDisplayFonts() {
    fonts_.RebuildFonts(*env_.settings, ScreenDpi());
    tree_->setFont(fonts_.GetFont(FontSlot::Jianti));
    tree_->ReapplyFonts();
    ApplyLanguage();
    LayOut();
    update();
}

// Options > Chinese Fonts: on OK every control takes the new fonts.
void MainWindow::ChooseChineseFonts() {
    if (RunFontsDialog(*env_.settings, this, &reporter_)) {
        RebuildDisplayFonts();
    }
}

FlatButton* MainWindow::button(ControlId id) const {
    const auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

QWidget* MainWindow::label(ControlId id) const {
    const auto it = labels_.find(id);
    return it == labels_.end() ? nullptr : it->second;
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
        showPending_ = true;
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
        exitPending_ = true;
        return;
    }
    if (exiting_) {
        return;
    }
    exiting_ = true;
    player_.stop();
    search_.history.SaveHistory(historyPath_);
    env_.settings->WriteSetting(QStringLiteral("LANG"), QString::number(language_.GetLanguage()));
    env_.settings->WriteSetting(QStringLiteral("AniIcon"),
                                animatedIcon_ ? QStringLiteral("1") : QStringLiteral("0"));
    env_.settings->WriteSetting(QStringLiteral("Path"), QCoreApplication::applicationDirPath() + u'/');
    tray_->Remove();
    dictionary_.Close();
    if (pinyinFontId_ >= 0) {
        QFontDatabase::removeApplicationFont(pinyinFontId_);
        pinyinFontId_ = -1;
    }
    // The browser view goes before the application ends, so the web engine
    // shuts it down while everything it relies on still exists.
    dispatcher_.reset();
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
