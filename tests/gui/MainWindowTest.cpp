// The real main window on the full data, driven as a user would; each test sets up what it relies on.
#include "app/window/MainWindow.h"
#include "browser/ExplainWin.h"
#include "browser/LinkScheme.h"
#include "controls/ClockLabel.h"
#include "controls/FlatButton.h"
#include "controls/HyperlinkLabel.h"
#include "controls/LanguageLabel.h"
#include "controls/SearchComboBox.h"
#include "controls/TooltipWindow.h"
#include "controls/tree/CategoryTree.h"
#include "dictionary/text/Romanisation.h"
#include "settings/DisplayFontRules.h"
#include "settings/RegisteredNames.h"
#include "tests/support/PrivateSoundServer.h"
#include "tests/support/TemporarySettings.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidgetItemIterator>

using namespace quillory;

namespace {

constexpr int kPageTimeoutMs = 20000;

// The page's body HTML, read back from the web engine.
QString BodyOf(CExplainWin* view) {
    QString body;
    bool done = false;
    view->page()->runJavaScript(QStringLiteral("document.body.innerHTML"), [&](const QVariant& value) {
        body = value.toString();
        done = true;
    });
    return QTest::qWaitFor([&] { return done; }, 10000) ? body : QStringLiteral("<no answer>");
}

void ClickLink(CExplainWin* view, const QString& href) {
    view->page()->runJavaScript(QStringLiteral("document.querySelector('a[href=\"%1\"]').click()").arg(href));
}

QString SyllableLink(int command, const char* syllable, Scheme scheme) {
    return QStringLiteral("mmpp://%1=%2")
        .arg(command)
        .arg(QString::number(*EncodeSyllable(syllable, scheme), 16).toUpper());
}

QTreeWidgetItem* ItemWithText(QTreeWidget* tree, const QString& text) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(0) == text) {
            return *it;
        }
    }
    return nullptr;
}

// The text a control shows, its font, and the room the control's own drawing takes beside it.
struct ShownText {
    QString text;
    QFont font;
    QSize extra;
};

std::optional<ShownText> ShownTextOf(QWidget* widget) {
    if (auto* button = qobject_cast<FlatButton*>(widget)) {
        // The padding all round, and the picture with its gap before the text.
        const QSize image = button->imageSize();
        const int beside = image.isEmpty() ? 0 : image.width() + FlatButton::kGap;
        return ShownText{button->text(), button->font(),
                         QSize(2 * FlatButton::kPadding + beside, 2 * FlatButton::kPadding)};
    }
    if (auto* label = qobject_cast<LanguageLabel*>(widget)) {
        const LabelText shown = label->shownText();
        return ShownText{shown.text, shown.font, QSize(1, 0)};
    }
    if (auto* clock = qobject_cast<ClockLabel*>(widget)) {
        return ShownText{clock->text(), clock->clockFont(), QSize()};
    }
    if (auto* link = qobject_cast<HyperlinkLabel*>(widget)) {
        return ShownText{link->text(), link->font(), QSize()};
    }
    return std::nullopt;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dataCopy_;
    testing::TemporarySettings settings_;
    RecordingReporter reporter_;
    QStringList opened_;
    std::unique_ptr<MainWindow> window_;

    // A window over the test's data copy and these settings, not yet initialised.
    std::unique_ptr<MainWindow> MakeWindow(SettingsStore& settings) {
        MainWindowEnvironment environment;
        environment.dataFolder = dataCopy_.path();
        environment.settings = &settings;
        environment.reporter = &reporter_;
        environment.openUrl = [this](const QUrl& url) {
            opened_.append(url.toString());
            return true;
        };
        return std::make_unique<MainWindow>(environment);
    }

    // A window initialised and shown on screen, or null when either failed.
    std::unique_ptr<MainWindow> OpenWindow(SettingsStore& settings) {
        std::unique_ptr<MainWindow> window = MakeWindow(settings);
        if (!window->Initialise()) {
            return nullptr;
        }
        window->ShowYourself();
        return QTest::qWaitForWindowExposed(window.get()) ? std::move(window) : nullptr;
    }

    void waitForHistoryTitle(const QString& title) {
        // Posted requests run first, so an older entry 0 cannot pass for a request not yet done.
        QCoreApplication::sendPostedEvents();
        QTRY_COMPARE_WITH_TIMEOUT(window_->searchState().history.entry(0).text, title, kPageTimeoutMs);
    }

    void showPage(const QString& query, const QString& title) {
        window_->searchBox()->setEditText(query);
        window_->button(kButtonGo)->click();
        waitForHistoryTitle(title);
    }

    void waitForPage(const QString& name) {
        QTRY_COMPARE_WITH_TIMEOUT(window_->view()->PageName(), name, kPageTimeoutMs);
    }

private slots:
    void initTestCase() {
        // The history is written beside the data: a folder of links keeps the build's data unchanged.
        const QDir source(QStringLiteral(QUILLORY_DATA_DIR));
        QVERIFY(source.exists(QStringLiteral("oxa.dat")));
        for (const QString& name : source.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (name != QLatin1String("search.txt")) {
                QVERIFY(QFile::link(source.filePath(name), dataCopy_.filePath(name)));
            }
        }
        // A writable history here keeps it out of the user's own folder.
        QFile history(dataCopy_.filePath(QStringLiteral("search.txt")));
        QVERIFY(history.open(QIODevice::WriteOnly));
        history.close();
        window_ = OpenWindow(settings_.store());
        QVERIFY(window_);
        waitForPage(QStringLiteral("OXA.LOCAL.INDEX.HTML"));
    }

    void cleanupTestCase() { window_.reset(); }

    void treeItemShowsTheSyllablePageAndLinksShowCharacters() {
        CUniTreeCtrl* tree = window_->tree();
        QTreeWidgetItem* zhong = ItemWithText(tree, QStringLiteral("zhong"));
        QVERIFY(zhong);
        tree->scrollToItem(zhong);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(zhong).center());
        waitForHistoryTitle(QStringLiteral("[zhong]"));
        QCOMPARE(window_->searchState().history.entry(0).command, 1u);
        QString body;
        QTRY_VERIFY_WITH_TIMEOUT((body = BodyOf(window_->view())).contains(QStringLiteral("py_green_large")),
                                 kPageTimeoutMs);
        QVERIFY(body.contains(QStringLiteral("mmpp://0=4E2D")));

        // A click on 中 in that page shows its character page; both are in the history.
        ClickLink(window_->view(), QStringLiteral("mmpp://0=4E2D"));
        waitForHistoryTitle(QStringLiteral("中"));
        QCOMPARE(window_->searchState().history.entry(1).text, QStringLiteral("[zhong]"));
        QTRY_VERIFY_WITH_TIMEOUT(BodyOf(window_->view()).contains(QStringLiteral("4E2D</td>")),
                                 kPageTimeoutMs);
        QCOMPARE(window_->searchBox()->itemText(0), QStringLiteral("中"));
        QCOMPARE(window_->searchBox()->itemText(1), QStringLiteral("[zhong]"));
    }

    void searchBoxEnterIsGoAndHistoryReplays() {
        window_->PostRequest(ProtocolRequest{1, *EncodeSyllable("zhong1", Scheme::Pinyin), std::nullopt});
        waitForHistoryTitle(QStringLiteral("[zhong]"));
        window_->ShowYourself();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        SearchComboBox* box = window_->searchBox();
        box->setEditText(QStringLiteral("中文"));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
        waitForHistoryTitle(QStringLiteral("中文"));
        QCOMPARE(window_->searchState().history.entry(0).command, 6u);

        // The bracketed title of a page in the list shows that page again.
        box->setEditText(QStringLiteral("[zhong]"));
        QTest::keyClick(box, Qt::Key_Return);
        waitForHistoryTitle(QStringLiteral("[zhong]"));
        QCOMPARE(window_->searchState().history.entry(1).text, QStringLiteral("中文"));
    }

    void pickingTheShownHistoryItemDoesNotSearchAgain() {
        showPage(QStringLiteral("中文"), QStringLiteral("中文"));
        showPage(QStringLiteral("中"), QStringLiteral("中"));
        SearchComboBox* box = window_->searchBox();
        auto pick = [box](int item) {
            box->showPopup();
            QAbstractItemView* list = box->view();
            QTRY_VERIFY(list->isVisible());
            const QRect rect = list->visualRect(list->model()->index(item, 0));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
            QTRY_VERIFY(!list->isVisible());
        };
        QSignalSpy picks(box, &SearchComboBox::historyPicked);
        pick(0); // 中, the page shown: no request is posted
        QCOMPARE(picks.count(), 0);
        QCOMPARE(box->currentText(), QStringLiteral("中"));

        pick(1); // 中文: a different item shows its page again
        QCOMPARE(picks.count(), 1);
        waitForHistoryTitle(QStringLiteral("中文"));
        QCOMPARE(window_->searchState().history.entry(1).text, QStringLiteral("中"));
    }

    void unsearchableQueryShowsTheMessage_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("message");
        QTest::newRow("no results") << QStringLiteral("hello2")
                                    << QStringLiteral("No results were found for \"hello2\".");
        QTest::newRow("unknown title")
            << QStringLiteral("[nowhere]")
            << QStringLiteral("Don't know how to search \"[nowhere]\", please choose from the left list.");
    }

    void unsearchableQueryShowsTheMessage() {
        QFETCH(QString, query);
        QFETCH(QString, message);
        reporter_.messages.clear();
        const QString before = window_->searchState().history.entry(0).text;
        window_->searchBox()->setEditText(query);
        window_->button(kButtonGo)->click();
        QTRY_COMPARE_WITH_TIMEOUT(reporter_.messages, QStringList{message}, 5000);
        QCOMPARE(window_->searchState().history.entry(0).text, before);
    }

    void languageSwitchRelabelsEverything() {
        window_->SetLanguage(kEnglish);
        showPage(QStringLiteral("中"), QStringLiteral("中"));
        QTRY_VERIFY_WITH_TIMEOUT(BodyOf(window_->view()).contains(QStringLiteral(">Character<")),
                                 kPageTimeoutMs);
        QCOMPARE(window_->menuAction(kMenuOptionsChineseFont)->text(), QStringLiteral("Chinese Fonts"));
        QVERIFY(window_->menuAction(kMenuOptionsEnglish)->isChecked());

        const QString exitEnglish = window_->button(kButtonExit)->text();
        window_->button(kButtonJianti)->click();
        QCOMPARE(window_->language(), int(kJianti));
        QVERIFY(window_->button(kButtonExit)->text() != exitEnglish);
        QVERIFY(window_->menuAction(kMenuOptionsJianti)->isChecked());
        QVERIFY(!window_->menuAction(kMenuOptionsEnglish)->isChecked());
        QCOMPARE(window_->menuAction(kMenuOptionsChineseFont)->text(), QStringLiteral("中文字体"));
        QVERIFY(ItemWithText(window_->tree(), QStringLiteral("拼音")));
        QTRY_VERIFY_WITH_TIMEOUT(BodyOf(window_->view()).contains(QStringLiteral("汉字")), kPageTimeoutMs);
        window_->SetLanguage(kEnglish);
    }

    void languageButtonTooltipsFollowEverySwitch() {
        TooltipWindow* tips = window_->tooltips();
        const NameRegistry names;
        auto tipIdOver = [&](ControlId id) {
            FlatButton* button = window_->button(id);
            const QPoint centre = button->mapToGlobal(button->rect().center());
            tips->setCursorSource([centre] { return centre; });
            QMouseEvent move(QEvent::MouseMove, QPointF(button->rect().center()), QPointF(centre),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(button, &move);
            tips->showPendingTip();
            const std::uint32_t shown =
                tips->currentTool() && tips->isVisible() ? tips->currentTool()->id : 0;
            tips->hideTip();
            return names.nameOf(shown);
        };
        struct Step {
            InterfaceLanguage language;
            ControlId hovered;
            const char* tip;
        };
        // English, then two switches: each button speaks for the language current at that moment.
        const Step steps[] = {
            {kEnglish, kButtonEnglish, kTooltipEnglish2},
            {kEnglish, kButtonJianti, kTooltipJianti},
            {kJianti, kButtonEnglish, kTooltipEnglish},
            {kJianti, kButtonJianti, kTooltipJianti2},
            {kFanti, kButtonJianti, kTooltipJianti},
            {kFanti, kButtonFanti, kTooltipFanti2},
            {kFanti, kButtonGo, kTooltipGo},
        };
        for (const Step& step : steps) {
            window_->SetLanguage(step.language);
            QCOMPARE(tipIdOver(step.hovered), QString::fromLatin1(step.tip));
        }
        // Each button keeps exactly one tool however often the language changes.
        QCOMPARE(tips->tools().size(), std::size_t(6));
        window_->SetLanguage(kEnglish);
    }

    void textsFitTheirControls_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("jiantiPoints");
        QTest::newRow("default fonts") << QString() << 11;
        QTest::newRow("largest fonts") << QStringLiteral("d") << 13;
    }

    // Every button's and label's text fits the room its control has, in every interface language.
    void textsFitTheirControls() {
        QFETCH(QString, size);
        QFETCH(int, jiantiPoints);
        testing::TemporarySettings settings;
        for (const char* name : {"ESize", "PSize", "SSize", "TSize", "JSize"}) {
            if (!size.isEmpty()) {
                settings.store().WriteSetting(QString::fromLatin1(name), size);
            }
        }
        const std::unique_ptr<MainWindow> window = OpenWindow(settings.store());
        QVERIFY(window);
        QCOMPARE(window->fonts().GetFont(FontSlot::Jianti).pixelSize(),
                 PointsToPixels(jiantiPoints, window->logicalDpiY()));
        QList<QWidget*> controls;
        for (QWidget* child : window->findChildren<QWidget*>()) {
            if (child->parentWidget() == window.get() && ShownTextOf(child)) {
                controls.append(child);
            }
        }
        QVERIFY(controls.size() >= 19);
        for (const InterfaceLanguage language : kInterfaceLanguages) {
            window->SetLanguage(language);
            for (QWidget* control : controls) {
                const ShownText shown = *ShownTextOf(control);
                const QSize needed = QFontMetrics(shown.font).size(0, shown.text) + shown.extra;
                QVERIFY2(shown.text.isEmpty() ||
                             (needed.width() <= control->width() && needed.height() <= control->height()),
                         qPrintable(QString::asprintf("language %d: \"%s\" needs %d x %d, has %d x %d",
                                                      int(language), qPrintable(shown.text), needed.width(),
                                                      needed.height(), control->width(), control->height())));
            }
        }
    }

    void separatorsLieBetweenTheGroups() {
        const std::vector<QWidget*>& separators = window_->separators();
        QCOMPARE(separators.size(), std::size_t(3));
        for (QWidget* separator : separators) {
            QVERIFY(separator->isVisible());
            QVERIFY(window_->rect().contains(separator->geometry()));
            // A line one pixel thin and as long as a button is high or wide.
            QVERIFY(std::min(separator->width(), separator->height()) <= 2);
            for (QWidget* control : window_->findChildren<QWidget*>()) {
                if (control->parentWidget() == window_.get() && control->isVisible() &&
                    std::find(separators.begin(), separators.end(), control) == separators.end()) {
                    QVERIFY2(!control->geometry().intersects(separator->geometry()),
                             control->metaObject()->className());
                }
            }
        }
        // The vertical lines part Help from Exit, and Exit from the language buttons.
        QVERIFY(separators[0]->x() >= window_->button(kButtonHelp)->geometry().right());
        QVERIFY(separators[0]->x() < window_->button(kButtonExit)->x());
        QVERIFY(separators[1]->x() < window_->button(kButtonEnglish)->x());
        QVERIFY(separators[1]->x() > window_->button(kButtonExit)->geometry().right());
    }

    void startsWithTheFocusInTheSearchBox() {
        testing::TemporarySettings settings;
        const std::unique_ptr<MainWindow> window = OpenWindow(settings.store());
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTRY_VERIFY(window->searchBox()->hasFocus());
        for (const ControlId id : {kButtonTools, kButtonOptions, kButtonHelp, kButtonExit}) {
            QVERIFY(!window->button(id)->hasFocus());
        }
        // Typing goes into the box at once.
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus == window->searchBox() || focus == window->searchBox()->lineEdit());
        QTest::keyClicks(window->searchBox()->lineEdit(), QStringLiteral("ren"));
        QCOMPARE(window->searchBox()->currentText(), QStringLiteral("ren"));
    }

    void helpKeyAndMenuOpenTheHelp() {
        const QStringList help{
            QUrl::fromLocalFile(dataCopy_.filePath(QStringLiteral("help/index.html"))).toString()};
        opened_.clear();
        window_->menuAction(kMenuHelpContents)->trigger();
        QCOMPARE(opened_, help);
        // F1 does the same, from the search box as from the browser pane.
        window_->ShowYourself();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        for (QWidget* focus : {static_cast<QWidget*>(window_->searchBox()), window_->view()->focusProxy()}) {
            opened_.clear();
            QTest::keyClick(focus, Qt::Key_F1);
            QCOMPARE(opened_, help);
        }
    }

    void contextMenuAndKeyFilter() {
        window_->ShowWelcomePage();
        waitForPage(QStringLiteral("OXA.LOCAL.INDEX.HTML"));
        // The program's menu replaces the browser's.
        QWidget* proxy = window_->view()->focusProxy();
        QVERIFY(proxy);
        const QPoint at(60, 60);
        QTest::mouseMove(proxy, at);
        QTest::mousePress(proxy, Qt::RightButton, {}, at);
        QTest::mouseRelease(proxy, Qt::RightButton, {}, at);
        QMenu* menu = window_->menu(kResultPageMenu);
        QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), 10000);
        QCOMPARE(menu->actions().size(), 3); // About ..., separator, Exit
        menu->hide();

        // The key filter is on for result pages and off on the support page.
        QVERIFY(window_->view()->keyFilterOn());
        window_->ShowSupportPage();
        waitForPage(QStringLiteral("OXA.LOCAL.TECH.HTML"));
        QVERIFY(!window_->view()->keyFilterOn());
        window_->ShowWelcomePage();
        waitForPage(QStringLiteral("OXA.LOCAL.INDEX.HTML"));
        QVERIFY(window_->view()->keyFilterOn());
    }

    void speakerLinksPlayTheSyllable() {
        const QString links[] = {SyllableLink(2, "zhong1", Scheme::Pinyin),
                                 SyllableLink(4, "zung1", Scheme::Jyutping)};
        window_->PostRequest(ProtocolRequest{0, 0x4E2D, std::nullopt});
        QString body;
        QTRY_VERIFY_WITH_TIMEOUT((body = BodyOf(window_->view())).contains(links[1]), kPageTimeoutMs);
        QVERIFY(body.contains(links[0]));
        SyllablePlayer& player = window_->player();
        for (const QString& link : links) {
            const int before = player.startedCount();
            ClickLink(window_->view(), link);
            QTRY_COMPARE_WITH_TIMEOUT(player.startedCount(), before + 1, 10000);
        }
        // A sound leaves the history alone.
        QCOMPARE(window_->searchState().history.entry(0).text, QStringLiteral("中"));

        // 五 reads ng5, a syllabic nasal without a recording: a grey speaker and no link.
        window_->PostRequest(ProtocolRequest{0, 0x4E94, std::nullopt});
        QTRY_VERIFY_WITH_TIMEOUT((body = BodyOf(window_->view())).contains(QStringLiteral("ng5")),
                                 kPageTimeoutMs);
        QVERIFY(body.contains(QStringLiteral("speaker2.gif")));
        QVERIFY(!body.contains(SyllableLink(4, "ng5", Scheme::Jyutping) + u'"'));
    }

    void requestsDuringStartAreDoneOnceReady() {
        // A second start asks to be shown while the first-start fonts dialog may still be open.
        testing::TemporarySettings settings;
        const std::unique_ptr<MainWindow> window = MakeWindow(settings.store());
        window->ShowYourself();
        QVERIFY(!window->isVisible());
        QVERIFY(window->Initialise());
        QVERIFY(window->isVisible());

        // A quit asked that early runs once the window is ready, too.
        testing::TemporarySettings quitSettings;
        const std::unique_ptr<MainWindow> quitting = MakeWindow(quitSettings.store());
        QSignalSpy exited(quitting.get(), &MainWindow::exited);
        quitting->ExitProgram();
        QCOMPARE(exited.count(), 0);
        QVERIFY(quitting->Initialise());
        QVERIFY(exited.wait(10000));
        QCOMPARE(quitSettings.value("LANG"), QStringLiteral("0"));
    }

    void exitSavesSettingsAndHistory() {
        window_->PostRequest(ProtocolRequest{1, *EncodeSyllable("zhong1", Scheme::Pinyin), std::nullopt});
        waitForHistoryTitle(QStringLiteral("[zhong]"));
        window_->SetLanguage(kFanti);
        QSignalSpy exited(window_.get(), &MainWindow::exited);
        window_->ExitProgram();
        QCOMPARE(exited.count(), 1);
        settings_.Reopen();
        QCOMPARE(settings_.value("LANG"), QStringLiteral("3"));
        QCOMPARE(settings_.value("AniIcon"), QStringLiteral("1"));
        QVERIFY(settings_.value("Path").endsWith(u'/'));
        // The first start chose the Chinese display fonts from the installed faces.
        for (const char* font : {"SFont", "TFont"}) {
            QVERIFY(settings_.value(font).size() >= 3 &&
                    settings_.value(font) != QStringLiteral("<missing>"));
        }
        // The history goes to the test's own data copy, never the user's folder.
        QFile history(dataCopy_.filePath(QStringLiteral("search.txt")));
        QCOMPARE(window_->historyPath(), history.fileName());
        QVERIFY(history.open(QIODevice::ReadOnly));
        QVERIFY(history.readAll().contains("1\t1916\t[zhong]"));
    }
};

int main(int argc, char* argv[]) {
    RegisterLinkScheme();
    QApplication app(argc, argv);
    // Sounds really start, on the null output of a sound server of our own.
    quillory::testing::PrivateSoundServer sounds;
    QString error;
    if (!sounds.Start(&error)) {
        qCritical("%s", qPrintable(error));
        return 1;
    }
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
