#include "app/window/MainWindow.h"

#include "controls/SearchComboBox.h"
#include "app/update/UpdateCheck.h"
#include "app/update/UpdateLamps.h"
#include "app/update/UpdateServer.h"
#include "browser/ExplainWin.h"
#include "controls/ButtonImages.h"
#include "controls/tree/CategoryTree.h"
#include "controls/tree/CategoryTreeBuilder.h"
#include "controls/ClockLabel.h"
#include "controls/FlatButton.h"
#include "controls/HyperlinkLabel.h"
#include "controls/LanguageLabel.h"
#include "controls/TooltipWindow.h"
#include "dictionary/text/Romanisation.h"
#include "pages/protocol/LinkProtocol.h"
#include "settings/ProductInfo.h"
#include "stroke/fonts/FontsDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMenu>
#include <QMetaObject>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>

namespace quillory {
namespace {

// Control ids of the window's template.
enum Control : int {
    kGo = 1016,
    kHelp = 1018,
    kExit = 1019,
    kEnglish = 1024,
    kJianti = 1025,
    kFanti = 1026,
    kPinyin = 1027,
    kJyutping = 1044,
    kTools = 1047,
    kOptions = 1048,
    kUpdate = 1136,
    kLamp1 = 1140,
    kLamp2 = 1141,
    kLamp3 = 1142,
    kMakerLeft = 1058,
    kSubtitle = 1059,
    kMakerRight = 1060,
};

// Menu command ids.
enum Command : int {
    kToolsConverter = 32789,
    kOptionsEnglish = 32790,
    kOptionsJianti = 32792,
    kOptionsFanti = 32793,
    kOptionsPinyin = 32794,
    kOptionsJyutping = 32795,
    kHelpContents = 32797,
    kHelpAbout = 32799,
    kOptionsAnimatedIcon = 32800,
    kHelpTech = 32801,
    kToolsEditor = 32802,
    kAboutItem = 32803,
    kExitItem = 32804,
    kOptionsChineseFont = 32805,
};

constexpr int kLanguageButtons[] = {kEnglish, kPinyin, kJianti, kFanti, kJyutping};
constexpr const char* kLanguageTooltips[] = {"TOOLTIP_BTN_ENGLISH", "TOOLTIP_BTN_PINYIN",
                                             "TOOLTIP_BTN_JIANTI", "TOOLTIP_BTN_FANTI",
                                             "TOOLTIP_BTN_JYUTPING"};
constexpr int kLanguageOptions[] = {kOptionsEnglish, kOptionsPinyin, kOptionsJianti, kOptionsFanti,
                                    kOptionsJyutping};

// The template's rectangles in dialog units: left, top, width, height.
struct DialogRect {
    int id, x, y, w, h;
};
constexpr DialogRect kLayout[] = {
    {kTools, 5, 1, 60, 14},       {kOptions, 70, 1, 60, 14},  {kHelp, 135, 1, 60, 14},
    {kExit, 201, 1, 50, 14},      {kEnglish, 299, 1, 41, 13}, {kPinyin, 340, 1, 44, 13},
    {kJyutping, 299, 14, 53, 13}, {kJianti, 299, 27, 41, 13}, {kFanti, 340, 27, 41, 13},
    {kGo, 176, 22, 19, 12},       {kUpdate, 201, 27, 95, 13}, {kLamp1, 233, 20, 7, 7},
    {kLamp2, 245, 20, 7, 7},      {kLamp3, 257, 20, 7, 7},
};
constexpr int kDialogWidth = 385;
constexpr int kDialogHeight = 273;

} // namespace

MainWindow::MainWindow(MainWindowEnvironment environment, QWidget* parent)
    : QWidget(parent), env_(std::move(environment)), boxReporter_(this),
      reporter_(env_.reporter ? *env_.reporter : static_cast<MessageReporter&>(boxReporter_)),
      language_(reporter_), dictionary_(env_.dataFolder, reporter_),
      builder_(language_, names_, dictionary_.index()) {
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    setWindowIcon(ImageIcon(image::kProgramIcon));
}

MainWindow::~MainWindow() {
    // The tray icon must go before the application object.
    delete tray_;
    tray_ = nullptr;
}

std::uint32_t MainWindow::Id(const char* name) const {
    return names_.idOf(QString::fromLatin1(name)).value_or(0);
}

bool MainWindow::Initialise() {
    // The private Pinyin font, seen by the controls and the pages alike.
    pinyinFontId_ =
        QFontDatabase::addApplicationFont(dictionary_.files().DataPath(QStringLiteral("Oxapinyin.ttf")));
    // Without Chinese display fonts chosen, choose them first; Exit there ends the program.
    if (!EnsureChineseFonts(*env_.settings, this, &reporter_)) {
        return false;
    }

    int lang = 0;
    if (const auto value = env_.settings->ReadSetting(QStringLiteral("LANG"))) {
        lang = value->toInt();
        if (lang < 0 || lang >= 5) {
            lang = 0;
        }
    }
    if (const auto value = env_.settings->ReadSetting(QStringLiteral("AniIcon"))) {
        animatedIcon_ = *value != QLatin1String("0");
    }
    language_.SetLanguage(lang);

    dictionary_.Open();
    language_.Load(env_.dataFolder);
    const QScreen* screen = QGuiApplication::primaryScreen();
    fonts_.RebuildFonts(*env_.settings, screen ? qRound(screen->logicalDotsPerInchY()) : 96);
    RegisterLabelKeys(language_, names_);

    CreateControls();
    dispatcher_ = std::make_unique<ProtocolDispatcher>(dictionary_, builder_, search_, *view_,
                                                       static_cast<WindowActions&>(*this));
    ShowWelcomePage();
    CreateMenus();
    LayOut();
    ApplyLanguage();
    CreateTray();
    SetAnimatedIcon(animatedIcon_);

    historyPath_ = HistoryFilePath(env_.dataFolder);
    search_.history.LoadHistory(historyPath_);
    RefillSearchBox();
    initialised_ = true;
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    StartUpdateCheck();
    return true;
}

// Asks the vendor's server for a newer version without waiting for it; the
// update button and the blinking lamps appear when one exists.
void MainWindow::StartUpdateCheck() {
    updateIndicator_ = new UpdateIndicator(this);
    connect(updateIndicator_, &UpdateIndicator::controlsVisibleChanged, this, [this](bool visible) {
        for (int id : {kUpdate, kLamp1, kLamp2, kLamp3}) {
            buttons_[id]->setVisible(visible);
        }
    });
    connect(updateIndicator_, &UpdateIndicator::lampsChanged, this, [this](const LampStates& lamps) {
        const int ids[] = {kLamp1, kLamp2, kLamp3};
        for (std::size_t i = 0; i < lamps.size(); ++i) {
            buttons_[ids[i]]->setPicture(
                ImagePixmap(lamps[i] ? image::kLampLit : image::kLampUnlit, devicePixelRatioF()),
                QColor(0xFF, 0x00, 0xFF));
        }
    });
    updateChecker_ = new UpdateChecker(ConfiguredUpdateServer(),
                                       UpdateVersions::Current(dictionary_.index().DataVersion()), this);
    connect(updateChecker_, &UpdateChecker::finished, updateIndicator_, &UpdateIndicator::showCheckResult);
    updateChecker_->start();
}

void MainWindow::CreateControls() {
    auto addButton = [this](int id) {
        auto* button = new FlatButton(this);
        button->setShade(30, 0);
        buttons_[id] = button;
        return button;
    };
    for (const DialogRect& rect : kLayout) {
        addButton(rect.id);
    }
    // The update controls appear only when the check finds a newer version.
    for (int id : {kUpdate, kLamp1, kLamp2, kLamp3}) {
        buttons_[id]->hide();
        connect(buttons_[id], &QAbstractButton::clicked, this, [this] {
            if (updateIndicator_ && !updateIndicator_->address().isEmpty()) {
                OpenAddress(updateIndicator_->address());
            }
        });
    }
    for (int id : {kLamp1, kLamp2, kLamp3}) {
        buttons_[id]->setPicture(ImagePixmap(image::kLampUnlit, devicePixelRatioF()),
                                 QColor(0xFF, 0x00, 0xFF));
    }
    buttons_[kGo]->setMasks(image::kGo, image::kGoHover, QColor(0x00, 0xFF, 0x00));
    connect(buttons_[kGo], &QAbstractButton::clicked, this, [this] { RunGo(); });
    connect(buttons_[kExit], &QAbstractButton::clicked, this, [this] { ExitProgram(); });
    for (int i = 0; i < 5; ++i) {
        connect(buttons_[kLanguageButtons[i]], &QAbstractButton::clicked, this,
                [this, i] { SetLanguage(i); });
    }

    searchBox_ = new SearchComboBox(this);
    connect(searchBox_, &SearchComboBox::searchRequested, this, [this] { RunGo(); });
    connect(searchBox_, qOverload<int>(&QComboBox::activated), this,
            [this](int index) { PickHistory(index); });

    view_ = new CExplainWin(this);
    view_->SetBeforeNavigateHook([this](const QString& address) {
        const NavigationDecision decision = DecideNavigation(address);
        if (decision.post) {
            PostRequest(*decision.post);
        }
        return decision.cancel;
    });
    view_->SetContextMenuHook([this](const QPoint& globalPos) { ShowContextMenu(globalPos); });
    view_->SetExternalOpener([this](const QUrl& url) { return env_.openUrl && env_.openUrl(url); });

    tree_ = new CUniTreeCtrl([this](int slot) { return fonts_.GetFont(slot); }, this);
    tree_->setFont(fonts_.GetFont(2));
    tree_->Build(ListingFromIndex(dictionary_.index()));
    connect(tree_, &CUniTreeCtrl::treeNotify, this, &MainWindow::OnTreeNotify);

    auto lookup = [this](std::uint32_t id) -> std::optional<LabelText> {
        int slot = 0;
        const QString text = TextOf(id, &slot);
        if (text.isEmpty()) {
            return std::nullopt;
        }
        return LabelText{text, fonts_.GetFont(slot)};
    };
    subtitle_ = new LanguageLabel(this);
    subtitle_->setLabelId(kSubtitle, lookup);
    subtitle_->setStyle(StaticTextStyle::Centre);
    makerLeft_ = new LanguageLabel(this);
    makerLeft_->setLabelId(kMakerLeft, lookup);
    makerLeft_->SetColour(QColor(0x00, 0x00, 0xFF));
    makerLeft_->setStyle(StaticTextStyle::Right); // the two halves read as one name
    makerRight_ = new LanguageLabel(this);
    makerRight_->setLabelId(kMakerRight, lookup);
    makerRight_->SetColour(QColor(0x00, 0x80, 0x00));
    makerLink_ = new HyperlinkLabel(this);
    makerLink_->setText(QString::fromLatin1(kMakerSiteName));
    makerLink_->setAddress(QString::fromLatin1(kMakerSiteAddress));
    makerLink_->setUrlOpener([this](const QUrl& url) { return env_.openUrl && env_.openUrl(url); });
    clock_ = new ClockLabel(this);
    clock_->Start(1000, 600, ClockLabel::kClockMode, QStringLiteral("Times New Roman"), 14, 500,
                  QColor(0x00, 0x80, 0x00));

    tooltips_ = new TooltipWindow(this);
    // The tip window sees the pointer moving over the buttons, and any key
    // or click there or in the search box hides it.
    for (auto& [id, button] : buttons_) {
        button->setMouseTracking(true);
        button->installEventFilter(tooltips_);
    }
    searchBox_->installEventFilter(tooltips_);
    tooltips_->setTextProvider([this](const TooltipTool& tool) { return TextOf(tool.id); });
    tooltips_->setFontProvider([this](std::uint32_t id) -> std::optional<QFont> {
        int slot = 0;
        if (TextOf(id, &slot).isEmpty()) {
            return std::nullopt;
        }
        return fonts_.GetFont(slot);
    });
}

void MainWindow::CreateMenus() {
    auto addAction = [this](QMenu* menu, int id, auto handler) {
        QAction* action = menu->addAction(QString());
        action->setData(id);
        connect(action, &QAction::triggered, this, handler);
        actions_[id] = action;
        return action;
    };
    contextMenu_ = new QMenu(this);
    addAction(contextMenu_, kAboutItem, [this] { ShowAboutPage(); });
    contextMenu_->addSeparator();
    addAction(contextMenu_, kExitItem, [this] { ExitProgram(); });

    optionsMenu_ = new QMenu(this);
    QAction* animated =
        addAction(optionsMenu_, kOptionsAnimatedIcon, [this] { SetAnimatedIcon(!animatedIcon_); });
    animated->setCheckable(true);
    optionsMenu_->addSeparator();
    for (int i : {0, 2, 3, 1, 4}) {
        QAction* action = addAction(optionsMenu_, kLanguageOptions[i], [this, i] { SetLanguage(i); });
        action->setCheckable(true);
    }
    optionsMenu_->addSeparator();
    addAction(optionsMenu_, kOptionsChineseFont, [this] { ChooseChineseFonts(); });

    toolsMenu_ = new QMenu(this);
    addAction(toolsMenu_, kToolsConverter, [] {});
    toolsMenu_->addSeparator();
    addAction(toolsMenu_, kToolsEditor, [this] { OpenLessonEditor(kNoLesson); });

    helpMenu_ = new QMenu(this);
    addAction(helpMenu_, kHelpContents, [this] {
        OpenAddress(
            QUrl::fromLocalFile(dictionary_.files().DataPath(QStringLiteral("help/index.html"))).toString());
    });
    addAction(helpMenu_, kHelpTech, [this] { ShowSupportPage(); });
    addAction(helpMenu_, kHelpAbout, [this] { ShowAboutPage(); });

    buttons_[kTools]->setDropDownMenu(toolsMenu_);
    buttons_[kOptions]->setDropDownMenu(optionsMenu_);
    buttons_[kHelp]->setDropDownMenu(helpMenu_);
}

void MainWindow::CreateTray() {
    animationTimer_ = new QTimer(this);
    animationTimer_->setInterval(500);
    connect(animationTimer_, &QTimer::timeout, this, [this] { AnimationTick(); });
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return;
    }
    tray_ = new QSystemTrayIcon(ImageIcon(image::kIconFrame1));
    tray_->setToolTip(QString::fromLatin1(kProgramTitle));
    tray_->setContextMenu(contextMenu_);
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) {
            ShowYourself();
        }
    });
    tray_->show();
}

// The template in dialog units, scaled by the window font; the tree and the
// browser pane take whatever room the window has beyond the template.
void MainWindow::LayOut() {
    // Dialog units of the window font, enlarged a little: the template was
    // laid out for a smaller system font than today's desktops use.
    constexpr double kScale = 1.4;
    const QFontMetrics metrics(font());
    const double unitX = kScale * metrics.averageCharWidth() / 4.0;
    const double unitY = kScale * metrics.height() / 8.0;
    auto px = [](double units, double scale) { return static_cast<int>(units * scale + 0.5); };
    if (!initialised_) {
        resize(px(kDialogWidth, unitX), px(kDialogHeight, unitY));
        setMinimumSize(px(kDialogWidth, unitX) * 3 / 4, px(kDialogHeight, unitY) * 3 / 4);
    }
    const int extraWidth = std::max(0, width() - px(kDialogWidth, unitX));
    const int extraHeight = std::max(0, height() - px(kDialogHeight, unitY));
    for (const DialogRect& rect : kLayout) {
        // The language buttons stay at the right edge.
        const bool right = rect.x >= 299;
        buttons_[rect.id]->setGeometry(px(rect.x, unitX) + (right ? extraWidth : 0), px(rect.y, unitY),
                                       px(rect.w, unitX), px(rect.h, unitY));
    }
    searchBox_->setGeometry(px(5, unitX), px(22, unitY), px(168, unitX), px(12, unitY) + 4);
    tree_->setGeometry(px(1, unitX), px(40, unitY), px(105, unitX), px(219, unitY) + extraHeight);
    view_->setGeometry(px(106, unitX), px(40, unitY), px(278, unitX) + extraWidth,
                       px(219, unitY) + extraHeight);
    const int footer = extraHeight;
    makerLeft_->setGeometry(px(0, unitX), px(263, unitY) + footer, px(18, unitX), px(10, unitY));
    makerRight_->setGeometry(px(18, unitX), px(263, unitY) + footer, px(30, unitX), px(10, unitY));
    subtitle_->setGeometry(px(57, unitX), px(262, unitY) + footer, px(133, unitX), px(11, unitY));
    makerLink_->setGeometry(px(210, unitX), px(262, unitY) + footer, px(69, unitX), px(11, unitY));
    clock_->setGeometry(px(299, unitX) + extraWidth, px(264, unitY) + footer, px(86, unitX), px(9, unitY));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (view_) {
        LayOut();
    }
}

QString MainWindow::TextOf(std::uint32_t labelId, int* slot) const {
    const auto text = language_.GetTextAndFont(labelId, language_.GetLanguage());
    if (!text) {
        return {};
    }
    if (slot) {
        *slot = text->second;
    }
    return text->first.text;
}

void MainWindow::LabelButton(FlatButton* button, std::uint32_t labelId) {
    int slot = 0;
    const QString text = TextOf(labelId, &slot);
    button->setText(text);
    button->setFont(fonts_.GetFont(slot));
}

void MainWindow::LabelAction(QAction* action, std::uint32_t labelId) {
    int slot = 0;
    action->setText(TextOf(labelId, &slot).replace(u'&', QStringLiteral("&&")));
    action->setFont(fonts_.GetFont(slot));
}

void MainWindow::ApplyLanguage() {
    const int lang = language_.GetLanguage();
    const bool romanised = lang == 1 || lang == 4;
    const QColor white(0xFF, 0xFF, 0xFF), green(0x00, 0xFF, 0x00), magenta(0xFF, 0x00, 0xFF);
    if (romanised) {
        for (int id : {kOptions, kTools, kHelp, kExit}) {
            buttons_[id]->setMasks(image::kMenuPlain, image::kMenuPlain, white);
        }
    } else {
        buttons_[kOptions]->setMasks(image::kOptions, image::kOptionsHover, white);
        buttons_[kTools]->setMasks(image::kTools, image::kToolsHover, white);
        buttons_[kHelp]->setMasks(image::kHelp, image::kHelpHover, green);
        buttons_[kExit]->setMasks(image::kExit, image::kExitHover, magenta);
    }
    for (int i = 0; i < 5; ++i) {
        FlatButton* button = buttons_[kLanguageButtons[i]];
        if (i == lang) {
            button->setMasks(image::kLanguageCurrent, image::kLanguageCurrent, magenta);
        } else {
            button->setMasks(image::kLanguageOther, image::kLanguageHover, magenta);
        }
        LabelButton(button, static_cast<std::uint32_t>(kLanguageButtons[i]));
        // The current language's button explains itself with the second tooltip.
        const QString tip =
            QString::fromLatin1(kLanguageTooltips[i]) + (i == lang ? QStringLiteral("2") : QString());
        TooltipTool tool;
        tool.window = button;
        tool.id = names_.idOf(tip).value_or(0);
        tool.textFromOwner = true;
        tooltips_->addTool(tool);
    }
    TooltipTool goTip;
    goTip.window = buttons_[kGo];
    goTip.id = Id("TOOLTIP_BTN_GO");
    goTip.textFromOwner = true;
    tooltips_->addTool(goTip);

    for (int id : {kHelp, kExit, kTools, kOptions, kUpdate}) {
        LabelButton(buttons_[id], static_cast<std::uint32_t>(id));
    }
    for (auto& [id, action] : actions_) {
        LabelAction(action, static_cast<std::uint32_t>(id));
    }
    actions_[kOptionsAnimatedIcon]->setChecked(animatedIcon_);
    for (int i = 0; i < 5; ++i) {
        actions_[kLanguageOptions[i]]->setChecked(i == lang);
    }
    subtitle_->update();
    makerLeft_->update();
    makerRight_->update();
    searchBox_->setFont(fonts_.GetFont(2));
    tree_->Relabel(language_, names_, lang, {});
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
    RunSearch(*this, search_, reporter_);
}

void MainWindow::PickHistory(int index) {
    searchBox_->setCurrentIndex(index);
    PickHistoryItem(*this, search_);
}

QString MainWindow::text() const {
    return searchBox_->currentText();
}

int MainWindow::itemCount() const {
    return searchBox_->count();
}

QString MainWindow::itemText(int item) const {
    return searchBox_->itemText(item);
}

int MainWindow::itemData(int item) const {
    return searchBox_->itemData(item).toInt();
}

int MainWindow::selectedItem() const {
    return searchBox_->currentIndex();
}

void MainWindow::RefillSearchBox() {
    const QSignalBlocker blocker(searchBox_);
    searchBox_->clear();
    for (const SearchBoxItem& item : SearchBoxItems(search_.history)) {
        searchBox_->addItem(item.text, item.entryIndex);
    }
    if (searchBox_->count() > 0) {
        searchBox_->setCurrentIndex(0);
    }
}

void MainWindow::PlaySyllable(const QString& syllable, Scheme scheme) {
    // Returns at once; the sound plays on while the window goes on working.
    const std::optional<SyllableId> id = EncodeSyllable(syllable.toStdString(), scheme);
    if (!id)
        return;
    if (const auto samples = dictionary_.sounds().samples(scheme, *id))
        player_.play(*samples, SoundStore::sampleRate());
}

void MainWindow::StartStroke(std::uint32_t, int) {
    // The stroke player comes with the stroke-order data.
}

void MainWindow::OpenLessonEditor(std::uint32_t) {
    // The Lesson Editor comes with the lesson libraries.
}

void MainWindow::OpenHtmlLesson(std::uint32_t) {
    // HTML lessons come with the lesson libraries.
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
    if (!view_) {
        return;
    }
    ShowFixedPage(*view_, WelcomePage(builder_));
}

void MainWindow::ShowSupportPage() {
    if (!view_) {
        return;
    }
    ShowFixedPage(*view_, SupportPage(builder_));
}

void MainWindow::ShowAboutPage() {
    if (!view_) {
        return;
    }
    ShowYourself();
    ShowFixedPage(*view_, AboutPage(builder_));
}

// Options > Chinese Fonts: on OK every control takes the new fonts.
void MainWindow::ChooseChineseFonts() {
    if (!RunFontsDialog(*env_.settings, this, &reporter_)) {
        return;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    fonts_.RebuildFonts(*env_.settings, screen ? qRound(screen->logicalDotsPerInchY()) : 96);
    tree_->setFont(fonts_.GetFont(2));
    tree_->ReapplyFonts();
    ApplyLanguage();
    update();
}

void MainWindow::ShowContextMenu(const QPoint& globalPos) {
    contextMenu_->popup(globalPos);
}

FlatButton* MainWindow::button(int controlId) const {
    const auto it = buttons_.find(controlId);
    return it == buttons_.end() ? nullptr : it->second;
}

void MainWindow::SetAnimatedIcon(bool on) {
    animatedIcon_ = on;
    if (actions_.count(kOptionsAnimatedIcon)) {
        actions_[kOptionsAnimatedIcon]->setChecked(on);
    }
    if (!animationTimer_) {
        return;
    }
    if (on && !animationTimer_->isActive()) {
        animationTimer_->start();
    } else if (!on && animationTimer_->isActive()) {
        animationTimer_->stop();
        animationFrame_ = 0;
        if (tray_) {
            tray_->setIcon(ImageIcon(image::kIconFrame1));
        }
        setWindowIcon(ImageIcon(image::kIconFrame1));
    }
}

// Frames 132, 132, 137 in turn, on the tray icon and the window.
void MainWindow::AnimationTick() {
    static constexpr int kFrames[] = {image::kIconFrame1, image::kIconFrame1, image::kIconFrame2};
    animationFrame_ = (animationFrame_ + 1) % 3;
    const QIcon icon = ImageIcon(kFrames[animationFrame_]);
    if (tray_) {
        tray_->setIcon(icon);
    }
    setWindowIcon(icon);
}

void MainWindow::HideToTray() {
    if (tray_ && tray_->isVisible()) {
        hide();
    } else {
        // Without a tray the window would be stranded: minimise instead.
        showMinimized();
    }
}

void MainWindow::ShowYourself() {
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
    if (event->type() == QEvent::WindowStateChange && isMinimized() && tray_ && tray_->isVisible()) {
        QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
    }
}

void MainWindow::ExitProgram() {
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
    if (animationTimer_) {
        animationTimer_->stop();
    }
    dictionary_.Close();
    if (pinyinFontId_ >= 0) {
        QFontDatabase::removeApplicationFont(pinyinFontId_);
        pinyinFontId_ = -1;
    }
    delete tray_;
    tray_ = nullptr;
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
