// The real main window on the full data, driven as a user would: tree
// clicks, page links, the search box, the language buttons and menus.
#include "app/window/MainWindow.h"
#include "controls/SearchComboBox.h"
#include "browser/ExplainWin.h"
#include "browser/LinkScheme.h"
#include "controls/tree/CategoryTree.h"
#include "controls/tree/CategoryTreeBuilder.h"
#include "controls/FlatButton.h"
#include "controls/TooltipWindow.h"
#include "dictionary/text/Romanisation.h"
#include "tests/support/PrivateSoundServer.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidgetItemIterator>

using namespace quillory;

namespace {

// Started first thing in main(): the process's start as far as the test sees it.
QElapsedTimer processClock;

// The page's body HTML, read back from the web engine.
QString BodyOf(CExplainWin* view) {
    QString body;
    bool done = false;
    view->page()->runJavaScript(QStringLiteral("document.body.innerHTML"), [&](const QVariant& value) {
        body = value.toString();
        done = true;
    });
    for (int waited = 0; !done && waited < 10000; waited += 10) {
        QTest::qWait(10);
    }
    return body;
}

QTreeWidgetItem* ItemWithText(QTreeWidget* tree, const QString& text) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(0) == text) {
            return *it;
        }
    }
    return nullptr;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void treeItemShowsTheSyllablePageAndLinksShowCharacters();
    void searchBoxEnterIsGoAndHistoryReplays();
    void unsearchableQueryShowsTheMessage();
    void languageSwitchRelabelsEverything();
    void contextMenuAndKeyFilter();
    void languageButtonTooltipsFollowTheLanguage();
    void speakerLinksPlayTheSyllable();
    void exitSavesSettingsAndHistory();

private:
    void waitForHistoryTitle(const QString& title);

    QTemporaryDir dataCopy_;
    QString settingsFile_;
    std::unique_ptr<SettingsStore> settings_;
    RecordingReporter reporter_;
    QStringList opened_;
    std::unique_ptr<MainWindow> window_;
};

void MainWindowTest::initTestCase() {
    // The history is written beside the data: work on a copy-free folder of
    // links so the build's data folder is never changed by the test.
    const QDir source(QStringLiteral(QUILLORY_DATA_DIR));
    QVERIFY(source.exists(QStringLiteral("oxa.dat")));
    for (const QString& name : source.entryList(QDir::Files)) {
        if (name != QLatin1String("search.txt")) {
            QVERIFY(QFile::link(source.filePath(name), dataCopy_.filePath(name)));
        }
    }
    settingsFile_ = dataCopy_.filePath(QStringLiteral("settings.ini"));
    settings_ = std::make_unique<SettingsStore>(settingsFile_);
    MainWindowEnvironment environment;
    environment.dataFolder = dataCopy_.path();
    environment.settings = settings_.get();
    environment.reporter = &reporter_;
    environment.openUrl = [this](const QUrl& url) {
        opened_.append(url.toString());
        return true;
    };
    window_ = std::make_unique<MainWindow>(environment);
    QVERIFY(window_->Initialise());
    window_->show();
    QTRY_COMPARE_WITH_TIMEOUT(window_->view()->PageName(), QStringLiteral("OXA.LOCAL.INDEX.HTML"), 20000);
    QVERIFY(BodyOf(window_->view()).contains(QStringLiteral("Tessaravin")));
    // Reported for people, not asserted: timings belong in benchmarks.
    qInfo("process start to welcome page: %lld ms", static_cast<long long>(processClock.elapsed()));
}

void MainWindowTest::cleanupTestCase() {
    window_.reset();
}

void MainWindowTest::waitForHistoryTitle(const QString& title) {
    QTRY_COMPARE_WITH_TIMEOUT(window_->searchState().history.entry(0).text, title, 20000);
}

void MainWindowTest::treeItemShowsTheSyllablePageAndLinksShowCharacters() {
    CUniTreeCtrl* tree = window_->tree();
    QTreeWidgetItem* zhong = ItemWithText(tree, QStringLiteral("zhong"));
    QVERIFY(zhong);
    tree->scrollToItem(zhong);
    QElapsedTimer clickClock;
    clickClock.start();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(zhong).center());
    waitForHistoryTitle(QStringLiteral("[zhong]"));
    qInfo("tree click to the zhong page: %lld ms", static_cast<long long>(clickClock.elapsed()));
    QCOMPARE(window_->searchState().history.entry(0).command, 1u);
    QString body;
    QTRY_VERIFY_WITH_TIMEOUT((body = BodyOf(window_->view())).contains(QStringLiteral("py_green_large")),
                             20000);
    QVERIFY(body.contains(QStringLiteral("mmpp://0=4E2D")));

    // A click on 中 in that page shows its character page; both are in the history.
    window_->view()->page()->runJavaScript(
        QStringLiteral("document.querySelector('a[href=\"mmpp://0=4E2D\"]').click()"));
    clickClock.restart();
    waitForHistoryTitle(QStringLiteral("中"));
    qInfo("link click to the character page: %lld ms", static_cast<long long>(clickClock.elapsed()));
    QCOMPARE(window_->searchState().history.entry(1).text, QStringLiteral("[zhong]"));
    QTRY_VERIFY_WITH_TIMEOUT(BodyOf(window_->view()).contains(QStringLiteral("4E2D</td>")), 20000);
    QCOMPARE(window_->searchBox()->itemText(0), QStringLiteral("中"));
    QCOMPARE(window_->searchBox()->itemText(1), QStringLiteral("[zhong]"));

    // The largest syllable page, yi.
    clickClock.restart();
    window_->PostRequest(ProtocolRequest{1, *EncodeSyllable("yi4", Scheme::Pinyin), std::nullopt});
    waitForHistoryTitle(QStringLiteral("[yi]"));
    QTRY_VERIFY_WITH_TIMEOUT(BodyOf(window_->view()).contains(QStringLiteral("\"py_green_large\">yi</span>")),
                             20000);
    qInfo("request to the yi page shown: %lld ms", static_cast<long long>(clickClock.elapsed()));
}

void MainWindowTest::searchBoxEnterIsGoAndHistoryReplays() {
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

void MainWindowTest::unsearchableQueryShowsTheMessage() {
    reporter_.messages.clear();
    const QString before = window_->searchState().history.entry(0).text;
    window_->searchBox()->setEditText(QStringLiteral("hello2"));
    window_->button(1016)->click(); // Go
    QTRY_COMPARE_WITH_TIMEOUT(reporter_.messages.size(), 1, 5000);
    QCOMPARE(reporter_.messages.first(), QStringLiteral("No results were found for \"hello2\"."));
    QCOMPARE(window_->searchState().history.entry(0).text, before);

    window_->searchBox()->setEditText(QStringLiteral("[nowhere]"));
    window_->button(1016)->click();
    QTRY_COMPARE_WITH_TIMEOUT(reporter_.messages.size(), 2, 5000);
    QVERIFY(reporter_.messages.last().contains(QStringLiteral("[nowhere]")));
}

void MainWindowTest::languageSwitchRelabelsEverything() {
    // Show a character page, then switch to Jianti with its button.
    window_->searchBox()->setEditText(QStringLiteral("中"));
    window_->button(1016)->click();
    waitForHistoryTitle(QStringLiteral("中"));
    QTRY_VERIFY_WITH_TIMEOUT(BodyOf(window_->view()).contains(QStringLiteral(">Character<")), 20000);

    const QString exitEnglish = window_->button(1019)->text();
    window_->button(1025)->click(); // Jianti
    QCOMPARE(window_->Language(), 2);
    QVERIFY(window_->button(1019)->text() != exitEnglish);
    QVERIFY(ItemWithText(window_->tree(), QStringLiteral("拼音")));
    QTRY_VERIFY_WITH_TIMEOUT(BodyOf(window_->view()).contains(QStringLiteral("汉字")), 20000);

    // A screenshot of the window in each interface language, for people to look at.
    QDir(QStringLiteral(QUILLORY_BINARY_DIR)).mkpath(QStringLiteral("screenshots"));
    for (int language : {0, 1, 2, 3, 4}) {
        window_->SetLanguage(language);
        QTest::qWait(1500);
        window_->grab().save(
            QStringLiteral(QUILLORY_BINARY_DIR "/screenshots/main-window-%1.png").arg(language));
    }
    window_->SetLanguage(0);
}

void MainWindowTest::contextMenuAndKeyFilter() {
    // The program's menu replaces the browser's.
    QWidget* proxy = window_->view()->focusProxy();
    QVERIFY(proxy);
    const QPoint at(60, 60);
    QTest::mouseMove(proxy, at);
    QTest::mousePress(proxy, Qt::RightButton, {}, at);
    QTest::mouseRelease(proxy, Qt::RightButton, {}, at);
    QTRY_VERIFY_WITH_TIMEOUT(window_->contextMenu()->isVisible(), 10000);
    QCOMPARE(window_->contextMenu()->actions().size(), 3); // About ..., separator, Exit
    window_->contextMenu()->hide();

    // The key filter is on for result pages and off on the support page.
    QVERIFY(window_->view()->KeyFilterOn());
    window_->ShowSupportPage();
    QTRY_COMPARE_WITH_TIMEOUT(window_->view()->PageName(), QStringLiteral("OXA.LOCAL.TECH.HTML"), 20000);
    QVERIFY(!window_->view()->KeyFilterOn());
    window_->ShowWelcomePage();
    QTRY_COMPARE_WITH_TIMEOUT(window_->view()->PageName(), QStringLiteral("OXA.LOCAL.INDEX.HTML"), 20000);
    QVERIFY(window_->view()->KeyFilterOn());
}

void MainWindowTest::languageButtonTooltipsFollowTheLanguage() {
    TooltipWindow* tips = window_->tooltips();
    FlatButton* english = window_->button(1024);
    FlatButton* pinyin = window_->button(1027);
    tips->setCursorSource([english] { return english->mapToGlobal(english->rect().center()); });
    QMouseEvent move(QEvent::MouseMove, QPointF(english->rect().center()),
                     QPointF(english->mapToGlobal(english->rect().center())), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(english, &move);
    tips->showPendingTip();
    QVERIFY(tips->currentTool());
    // English is the current language: its button explains itself with the second tip.
    QCOMPARE(tips->currentTool()->id, *NameRegistry().idOf(QStringLiteral("TOOLTIP_BTN_ENGLISH2")));
    QVERIFY(tips->isVisible());
    // A key hides the tip.
    QTest::keyClick(window_->searchBox(), Qt::Key_A);
    QVERIFY(!tips->isVisible());

    tips->setCursorSource([pinyin] { return pinyin->mapToGlobal(pinyin->rect().center()); });
    QMouseEvent moveToPinyin(QEvent::MouseMove, QPointF(pinyin->rect().center()),
                             QPointF(pinyin->mapToGlobal(pinyin->rect().center())), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(pinyin, &moveToPinyin);
    tips->showPendingTip();
    QVERIFY(tips->currentTool());
    QCOMPARE(tips->currentTool()->id, *NameRegistry().idOf(QStringLiteral("TOOLTIP_BTN_PINYIN")));
    tips->hideTip();
}

void MainWindowTest::speakerLinksPlayTheSyllable() {
    const SyllableId zhong1 = *EncodeSyllable("zhong1", Scheme::Pinyin);
    const SyllableId zung1 = *EncodeSyllable("zung1", Scheme::Jyutping);
    const QString pinyinLink = QStringLiteral("mmpp://2=") + QString::number(zhong1, 16).toUpper();
    const QString jyutpingLink = QStringLiteral("mmpp://4=") + QString::number(zung1, 16).toUpper();
    window_->PostRequest(ProtocolRequest{0, 0x4E2D, std::nullopt});
    QTRY_VERIFY_WITH_TIMEOUT(BodyOf(window_->view()).contains(jyutpingLink), 20000);
    QVERIFY(BodyOf(window_->view()).contains(pinyinLink));

    SyllablePlayer& player = window_->player();
    const int before = player.startedCount();
    QElapsedTimer clickClock;
    qint64 clickToSound = -1;
    const auto measure = connect(&player, &SyllablePlayer::started, this, [&] {
        if (clickToSound < 0)
            clickToSound = clickClock.elapsed();
    });
    clickClock.start();
    window_->view()->page()->runJavaScript(
        QStringLiteral("document.querySelector('a[href=\"%1\"]').click()").arg(pinyinLink));
    QTRY_COMPARE_WITH_TIMEOUT(player.startedCount(), before + 1, 10000);
    disconnect(measure);
    qInfo("speaker click to the sound playing: %lld ms (of which the play call to the sound: %lld ms)",
          static_cast<long long>(clickToSound), static_cast<long long>(player.lastStartDelay()));
    // The history is not touched by a sound.
    QCOMPARE(window_->searchState().history.entry(0).text, QStringLiteral("中"));

    window_->view()->page()->runJavaScript(
        QStringLiteral("document.querySelector('a[href=\"%1\"]').click()").arg(jyutpingLink));
    QTRY_COMPARE_WITH_TIMEOUT(player.startedCount(), before + 2, 10000);

    // 五 reads ng5, a syllabic nasal without a recording: a grey speaker.
    window_->PostRequest(ProtocolRequest{0, 0x4E94, std::nullopt});
    QString body;
    QTRY_VERIFY_WITH_TIMEOUT((body = BodyOf(window_->view())).contains(QStringLiteral("ng5")), 20000);
    QVERIFY(body.contains(QStringLiteral("speaker2.gif")));
    const SyllableId ng5 = *EncodeSyllable("ng5", Scheme::Jyutping);
    QVERIFY(!body.contains(QStringLiteral("mmpp://4=") + QString::number(ng5, 16).toUpper() + u'"'));
}

void MainWindowTest::exitSavesSettingsAndHistory() {
    window_->SetLanguage(3);
    QSignalSpy exited(window_.get(), &MainWindow::exited);
    window_->ExitProgram();
    QCOMPARE(exited.count(), 1);
    SettingsStore reread(settingsFile_);
    QCOMPARE(reread.ReadSetting(QStringLiteral("LANG")), std::optional<QString>(QStringLiteral("3")));
    QVERIFY(reread.ReadSetting(QStringLiteral("AniIcon")).has_value());
    QVERIFY(reread.ReadSetting(QStringLiteral("Path")).has_value());
    // The first start chose the Chinese display fonts from the installed faces.
    QVERIFY(reread.ReadSetting(QStringLiteral("SFont")).value_or(QString()).size() >= 3);
    QVERIFY(reread.ReadSetting(QStringLiteral("TFont")).value_or(QString()).size() >= 3);
    QFile history(window_->historyPath());
    QVERIFY(history.open(QIODevice::ReadOnly));
    QVERIFY(history.readAll().contains("1\t1916\t[zhong]"));
}

int main(int argc, char* argv[]) {
    processClock.start();
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
