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
#include "tests/support/PageBody.h"
#include "tests/support/PrivateSoundServer.h"
#include "tests/support/TemporarySettings.h"
#include "tests/support/TestFiles.h"
#include "tools/converter/ConverterWindow.h"

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

using namespace quillory;
using namespace Qt::StringLiterals;

namespace {

constexpr int kPageTimeoutMs = 20000;

// The link of a speaker (command 2 Pinyin, 4 Jyutping) for a toned syllable.
QString SpeakerLink(int command, const char* syllable, Scheme scheme) {
    return QString::asprintf("mmpp://%d=%X", command, unsigned(*EncodeSyllable(syllable, scheme)));
}

// The text a control shows and the room it needs, with the control's own drawing beside it.
std::optional<std::pair<QString, QSize>> ShownTextOf(QWidget* widget) {
    auto shown = [](const QString& text, const QFont& font, QSize extra) {
        return std::pair{text, QFontMetrics(font).size(0, text) + extra};
    };
    if (auto* button = qobject_cast<FlatButton*>(widget)) {
        // The padding all round, and the picture with its gap before the text.
        const QSize image = button->imageSize();
        const int padding = 2 * FlatButton::kPadding;
        const int beside = image.isEmpty() ? 0 : image.width() + FlatButton::kGap;
        return shown(button->text(), button->font(), QSize(padding + beside, padding));
    }
    if (auto* label = qobject_cast<LanguageLabel*>(widget))
        return shown(label->shownText().text, label->shownText().font, QSize(1, 0));
    if (auto* clock = qobject_cast<ClockLabel*>(widget))
        return shown(clock->text(), clock->clockFont(), QSize());
    if (auto* link = qobject_cast<HyperlinkLabel*>(widget))
        return shown(link->text(), link->font(), QSize());
    return std::nullopt;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    testing::PrivateSoundServer sounds_;
    QTemporaryDir dataCopy_;
    testing::TemporarySettings settings_;
    RecordingReporter reporter_;
    QStringList opened_;
    std::unique_ptr<MainWindow> window_;

    // A window over the test's data copy and these settings, not yet initialised.
    std::unique_ptr<MainWindow> MakeWindow(SettingsStore& settings) {
        auto record = [this](const QUrl& url) { return opened_.append(url.toString()), true; };
        return std::make_unique<MainWindow>(
            MainWindowEnvironment{dataCopy_.path(), &settings, record, &reporter_});
    }

    // A window initialised, shown and active, or null when that failed.
    std::unique_ptr<MainWindow> OpenWindow(SettingsStore& settings) {
        std::unique_ptr<MainWindow> window = MakeWindow(settings);
        if (!window->Initialise())
            return nullptr;
        window->ShowYourself();
        return QTest::qWaitForWindowActive(window.get()) ? std::move(window) : nullptr;
    }

    QString entry(int index) const { return window_->searchState().history.entry(index).text; }
    QString body() const { return testing::PageBodyHtml(window_->view()->page()); }

    void clickLink(const QString& href) {
        const QString script = u"document.querySelector('a[href=\"%1\"]').click()"_s.arg(href);
        window_->view()->page()->runJavaScript(script);
    }

    void waitForHistoryTitle(const QString& title) {
        QCoreApplication::sendPostedEvents(); // requests posted run first: an older entry 0 never passes
        QTRY_COMPARE_WITH_TIMEOUT(entry(0), title, kPageTimeoutMs);
    }

    void search(const QString& query, bool wait = true) {
        window_->searchBox()->setEditText(query);
        window_->button(kButtonGo)->click();
        if (wait)
            waitForHistoryTitle(query);
    }

private slots:
    void initTestCase() {
        // Sounds really start, on the null output of a sound server of our own.
        QString error;
        QVERIFY2(sounds_.Start(&error), qPrintable(error));
        // A folder of links to the data with a history of its own: the user's folder is never written.
        QVERIFY(testing::LinkDataFolder(QStringLiteral(QUILLORY_DATA_DIR), dataCopy_.path()));
        QVERIFY(QFile(dataCopy_.filePath(u"search.txt"_s)).open(QIODevice::WriteOnly));
        QVERIFY((window_ = OpenWindow(settings_.store())));
        QTRY_COMPARE_WITH_TIMEOUT(window_->view()->PageName(), u"OXA.LOCAL.INDEX.HTML"_s, kPageTimeoutMs);
    }

    void treeLinksAndSearchBoxFillTheHistory() {
        CUniTreeCtrl* tree = window_->tree();
        QTreeWidgetItem* zhong = tree->findItems(u"zhong"_s, Qt::MatchExactly | Qt::MatchRecursive).value(0);
        QVERIFY(zhong);
        tree->scrollToItem(zhong);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(zhong).center());
        waitForHistoryTitle(u"[zhong]"_s);
        QCOMPARE(window_->searchState().history.entry(0).command, 1u);
        QTRY_VERIFY_WITH_TIMEOUT(body().contains(u"py_green_large"_s), kPageTimeoutMs);
        // A click on 中 in that page's list shows its character page; both are in the history and the box.
        const std::optional<QPoint> zhongInList =
            testing::TextCentre(window_->view()->page(), ".chars", u"中"_s);
        QVERIFY(zhongInList);
        QTest::mouseClick(window_->view()->focusProxy(), Qt::LeftButton, {}, *zhongInList);
        waitForHistoryTitle(u"中"_s);
        QTRY_VERIFY_WITH_TIMEOUT(body().contains(u"4E2D</td>"_s), kPageTimeoutMs);
        QCOMPARE(window_->searchBox()->itemText(0), u"中"_s);
        QCOMPARE(window_->searchBox()->itemText(1), u"[zhong]"_s);
        // Enter in the box is Go; the bracketed title of a page in the list shows that page again.
        window_->ShowYourself();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        SearchComboBox* box = window_->searchBox();
        for (const QString& query : {u"中文"_s, u"[zhong]"_s}) {
            box->setEditText(query);
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Return);
            waitForHistoryTitle(query);
        }
        QCOMPARE(entry(1), u"中文"_s);
        QCOMPARE(window_->searchState().history.entry(1).command, 6u);
    }

    void pickingTheShownHistoryItemDoesNotSearchAgain() {
        search(u"中文"_s);
        search(u"中"_s);
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
        QCOMPARE(box->currentText(), u"中"_s);
        pick(1); // 中文: a different item shows its page again
        QCOMPARE(picks.count(), 1);
        waitForHistoryTitle(u"中文"_s);
        QCOMPARE(entry(1), u"中"_s);
    }

    void unsearchableQueryShowsTheMessage_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("message");
        QTest::newRow("no results") << u"hello9"_s << u"No results were found for \"hello9\"."_s;
        QTest::newRow("unknown title")
            << u"[nowhere]"_s
            << u"Don't know how to search \"[nowhere]\", please choose from the left list."_s;
    }

    void unsearchableQueryShowsTheMessage() {
        QFETCH(QString, query);
        QFETCH(QString, message);
        reporter_.messages.clear();
        const QString before = entry(0);
        search(query, false);
        QTRY_COMPARE_WITH_TIMEOUT(reporter_.messages, QStringList{message}, 5000);
        QCOMPARE(entry(0), before);
    }

    void languageSwitchRelabelsEverythingAndTheTooltips() {
        window_->SetLanguage(kEnglish);
        search(u"中"_s);
        QTRY_VERIFY_WITH_TIMEOUT(body().contains(u">Character<"_s), kPageTimeoutMs);
        QCOMPARE(window_->menuAction(kMenuOptionsChineseFont)->text(), u"Chinese Fonts"_s);
        QVERIFY(window_->menuAction(kMenuOptionsEnglish)->isChecked());
        const QString exitEnglish = window_->button(kButtonExit)->text();
        window_->button(kButtonJianti)->click();
        QVERIFY(window_->button(kButtonExit)->text() != exitEnglish);
        QVERIFY(window_->menuAction(kMenuOptionsJianti)->isChecked());
        QVERIFY(!window_->menuAction(kMenuOptionsEnglish)->isChecked());
        QCOMPARE(window_->menuAction(kMenuOptionsChineseFont)->text(), u"中文字体"_s);
        QVERIFY(!window_->tree()->findItems(u"拼音"_s, Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(body().contains(u"汉字"_s), kPageTimeoutMs);
        // Tooltips: English, then two switches; each button speaks for the language current at that moment.
        TooltipWindow* tips = window_->tooltips();
        auto tipOver = [tips](FlatButton* button) {
            const QPoint centre = button->mapToGlobal(button->rect().center());
            tips->setCursorSource([centre] { return centre; });
            QMouseEvent move(QEvent::MouseMove, QPointF(button->rect().center()), QPointF(centre),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(button, &move);
            tips->showPendingTip();
            const std::uint32_t id = tips->currentTool() && tips->isVisible() ? tips->currentTool()->id : 0;
            tips->hideTip();
            return NameRegistry().nameOf(id);
        };
        const std::tuple<InterfaceLanguage, ControlId, const char*> steps[] = {
            {kEnglish, kButtonEnglish, kTooltipEnglish2},
            {kEnglish, kButtonJianti, kTooltipJianti},
            {kJianti, kButtonEnglish, kTooltipEnglish},
            {kJianti, kButtonJianti, kTooltipJianti2},
            {kFanti, kButtonJianti, kTooltipJianti},
            {kFanti, kButtonFanti, kTooltipFanti2},
            {kFanti, kButtonGo, kTooltipGo},
        };
        for (const auto& [language, hovered, tip] : steps) {
            window_->SetLanguage(language);
            QCOMPARE(tipOver(window_->button(hovered)), QString::fromLatin1(tip));
        }
        QCOMPARE(tips->tools().size(), std::size_t(6)); // one tool a button, however often switched
        window_->SetLanguage(kEnglish);
    }

    void freshWindowTypesFitsAndSeparates_data() {
        QTest::addColumn<QString>("size"); // hexadecimal points, none for the default
        QTest::newRow("default fonts") << QString();
        QTest::newRow("largest fonts") << u"d"_s;
    }

    // A fresh window takes typing in its search box; every control's text fits it in every language.
    void freshWindowTypesFitsAndSeparates() {
        QFETCH(QString, size);
        testing::TemporarySettings settings;
        for (const char* name : {"ESize", "PSize", "SSize", "TSize", "JSize"})
            if (!size.isEmpty())
                settings.store().WriteSetting(QString::fromLatin1(name), size);
        const std::unique_ptr<MainWindow> window = OpenWindow(settings.store());
        QVERIFY(window);
        QTRY_VERIFY(window->searchBox()->hasFocus());
        QTest::keyClicks(QApplication::focusWidget(), u"ren"_s); // typing goes into the box at once
        QCOMPARE(window->searchBox()->currentText(), u"ren"_s);
        QCOMPARE(window->fonts().GetFont(FontSlot::Jianti).pixelSize(),
                 PointsToPixels(size.isEmpty() ? 11 : size.toInt(nullptr, 16), window->logicalDpiY()));
        const QList<QWidget*> controls = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QVERIFY(std::ranges::count_if(controls, [](QWidget* w) { return !!ShownTextOf(w); }) >= 19);
        for (const InterfaceLanguage language : kInterfaceLanguages) {
            window->SetLanguage(language);
            for (QWidget* control : controls) {
                const auto [text, needed] = ShownTextOf(control).value_or(std::pair<QString, QSize>());
                QVERIFY2(text.isEmpty() ||
                             (needed.width() <= control->width() && needed.height() <= control->height()),
                         qPrintable(u"\"%1\" in language %2"_s.arg(text).arg(int(language))));
            }
        }
        // Three separators lie between the groups.
        const std::vector<QWidget*>& lines = window->separators();
        QCOMPARE(lines.size(), std::size_t(3));
        for (QWidget* line : lines) {
            // A line one pixel thin inside the window and over no other control.
            QVERIFY(line->isVisible() && window->rect().contains(line->geometry()));
            QVERIFY(std::min(line->width(), line->height()) <= 2);
            for (QWidget* control : controls)
                QVERIFY(!control->isVisible() || std::ranges::count(lines, control) ||
                        !control->geometry().intersects(line->geometry()));
        }
        // The vertical lines part Help from Exit, and Exit from the language buttons.
        const QRect exit = window->button(kButtonExit)->geometry();
        QVERIFY(lines[0]->x() >= window->button(kButtonHelp)->geometry().right() && lines[0]->x() < exit.x());
        QVERIFY(lines[1]->x() > exit.right() && lines[1]->x() < window->button(kButtonEnglish)->x());
    }

    // Tools > Converter makes its window once, then shows the same window
    // again, with its text, labelled in the language of the moment.
    void toolsConverterShowsOneWindow() {
        window_->SetLanguage(kJianti);
        window_->menuAction(kMenuToolsConverter)->trigger();
        ConverterWindow* converter = window_->converter();
        QVERIFY(converter && converter->isVisible());
        QCOMPARE(converter->button(kButtonCopy1)->text(), u"复制"_s);
        converter->textBox(ConverterBox::Upper)->setPlainText(u"中文"_s);
        converter->button(kConverterHide)->click();
        QVERIFY(converter->isHidden());
        window_->SetLanguage(kEnglish);
        window_->menuAction(kMenuToolsConverter)->trigger();
        QCOMPARE(window_->converter(), converter);
        QVERIFY(converter->isVisible());
        QCOMPARE(converter->textBox(ConverterBox::Upper)->toPlainText(), u"中文"_s);
        QCOMPARE(converter->button(kButtonCopy1)->text(), u"Copy"_s);
        converter->hide();
    }

    void helpKeyContextMenuAndKeyFilter() {
        const QStringList help{QUrl::fromLocalFile(dataCopy_.filePath(u"help/index.html"_s)).toString()};
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
        // On the welcome page the program's menu replaces the browser's.
        window_->ShowWelcomePage();
        QTRY_COMPARE_WITH_TIMEOUT(window_->view()->PageName(), u"OXA.LOCAL.INDEX.HTML"_s, kPageTimeoutMs);
        QWidget* proxy = window_->view()->focusProxy();
        QVERIFY(proxy);
        QTest::mouseMove(proxy, QPoint(60, 60));
        QTest::mouseClick(proxy, Qt::RightButton, {}, QPoint(60, 60));
        QMenu* menu = window_->menu(kResultPageMenu);
        QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), 10000);
        QCOMPARE(menu->actions().size(), 3); // About ..., separator, Exit
        menu->hide();
        // The key filter is on for result pages and off on the support page.
        QVERIFY(window_->view()->keyFilterOn());
        window_->ShowSupportPage();
        QTRY_COMPARE_WITH_TIMEOUT(window_->view()->PageName(), u"OXA.LOCAL.TECH.HTML"_s, kPageTimeoutMs);
        QVERIFY(!window_->view()->keyFilterOn());
        window_->ShowWelcomePage();
        QTRY_COMPARE_WITH_TIMEOUT(window_->view()->PageName(), u"OXA.LOCAL.INDEX.HTML"_s, kPageTimeoutMs);
        QVERIFY(window_->view()->keyFilterOn());
    }

    void speakerLinksPlayTheSyllable() {
        const QString links[] = {SpeakerLink(2, "zhong1", Scheme::Pinyin),
                                 SpeakerLink(4, "zung1", Scheme::Jyutping)};
        window_->PostRequest(ProtocolRequest{0, 0x4E2D, std::nullopt});
        QString page;
        QTRY_VERIFY_WITH_TIMEOUT((page = body()).contains(links[0]), kPageTimeoutMs);
        SyllablePlayer& player = window_->player();
        for (const QString& link : links) {
            const int before = player.startedCount();
            clickLink(link);
            QTRY_COMPARE_WITH_TIMEOUT(player.startedCount(), before + 1, 10000);
        }
        QCOMPARE(entry(0), u"中"_s); // a sound leaves the history alone
        // 五 reads ng5, a syllabic nasal without a recording: a grey speaker and no link.
        window_->PostRequest(ProtocolRequest{0, 0x4E94, std::nullopt});
        QTRY_VERIFY_WITH_TIMEOUT((page = body()).contains(u"ng5"_s), kPageTimeoutMs);
        QVERIFY(page.contains(u"speaker2.gif"_s));
        QVERIFY(!page.contains(SpeakerLink(4, "ng5", Scheme::Jyutping) + u'"'));
    }

    void requestsDuringStartAreDoneOnceReady() {
        // A second start asks to be shown before the window is ready (fonts dialog open): done once it is.
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
        QCOMPARE(quitSettings.value("LANG"), u"0"_s);
    }

    void exitSavesSettingsAndHistory() {
        window_->PostRequest(ProtocolRequest{1, *EncodeSyllable("zhong1", Scheme::Pinyin), std::nullopt});
        waitForHistoryTitle(u"[zhong]"_s);
        window_->SetLanguage(kFanti);
        QSignalSpy exited(window_.get(), &MainWindow::exited);
        window_->ExitProgram();
        QCOMPARE(exited.count(), 1);
        settings_.Reopen();
        QCOMPARE(settings_.value("LANG"), u"3"_s);
        QCOMPARE(settings_.value("AniIcon"), u"1"_s);
        QVERIFY(settings_.value("Path").endsWith(u'/'));
        // The first start chose the Chinese display fonts from the installed faces.
        for (const char* font : {"SFont", "TFont"})
            QVERIFY(settings_.value(font).size() >= 3 && settings_.value(font) != u"<missing>"_s);
        // The history goes to the test's own data copy, never the user's folder.
        QFile history(dataCopy_.filePath(u"search.txt"_s));
        QCOMPARE(window_->historyPath(), history.fileName());
        QVERIFY(history.open(QIODevice::ReadOnly));
        QVERIFY(history.readAll().contains("1\t1916\t[zhong]"));
    }
};

int main(int argc, char* argv[]) {
    RegisterLinkScheme(); // the scheme must be known before the application starts
    QApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
