// The stroke player in the real main window: a page's stroke icon and
// command 5 show it over the browser's lower right corner, cut out of the
// browser pane; resizing keeps it there; its close button hides it.
#include "app/window/MainWindow.h"
#include "browser/ExplainWin.h"
#include "browser/LinkScheme.h"
#include "settings/RegisteredNames.h"
#include "stroke/player/BitmapButton.h"
#include "stroke/player/StrokePlayer.h"
#include "tests/support/TemporarySettings.h"
#include "tests/support/Waiting.h"

#include <QApplication>
#include <QTest>

using namespace quillory;
using namespace Qt::StringLiterals;
using quillory::stroke::StrokePlayer;

class MainWindowStrokeTest : public QObject {
    Q_OBJECT

    testing::TemporarySettings settings_;
    RecordingReporter reporter_;
    std::unique_ptr<MainWindow> window_;

    // The player's rectangle in the browser pane's coordinates.
    QRect playerInView() const {
        StrokePlayer* player = window_->strokePlayer();
        return QRect(window_->view()->mapFrom(window_.get(), player->pos()), player->size());
    }
    // The player sits 28 pixels in from the window's right edge and inside
    // the browser pane, the cut-out's margins (1 and 2) included, at most
    // 28 pixels above the window's bottom edge and close to the pane's.
    bool inCorner() const {
        const QRect player = window_->strokePlayer()->geometry();
        const QRect pane = window_->view()->geometry();
        return player.size() == QSize(239, 239) && player.x() == window_->width() - 267 &&
               pane.contains(player.adjusted(-1, -1, 2, 2)) && player.bottom() <= window_->height() - 29 &&
               player.bottom() >= pane.bottom() - 30;
    }

private slots:
    void initTestCase() {
        window_ = std::make_unique<MainWindow>(
            MainWindowEnvironment{QStringLiteral(QUILLORY_DATA_DIR), &settings_.store(),
                                  [](const QUrl&) { return true; }, &reporter_});
        QVERIFY(window_->Initialise());
        window_->ShowYourself();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QVERIFY(testing::WaitFor([&] { return window_->view()->PageName() == "OXA.LOCAL.INDEX.HTML"_L1; }));
    }

    void strokeIconShowsThePlayerOverTheBrowser() {
        StrokePlayer* player = window_->strokePlayer();
        QVERIFY(player);
        QVERIFY(!player->isVisible());
        QVERIFY(inCorner());

        // The character page of 永, then its stroke icon.
        window_->PostRequest(ProtocolRequest{0, 0x6C38, std::nullopt});
        QVERIFY(testing::WaitFor([&] { return window_->searchState().history.entry(0).text == u"永"_s; }));
        window_->view()->page()->runJavaScript(
            u"document.querySelector('a[href=\"mmpp://5=6C38\"]').click()"_s);
        QVERIFY(testing::WaitFor([&] { return player->isVisible(); }));
        QCOMPARE(player->animation().strokeCount(), 5);
        QVERIFY(player->animation().isPlaying());
        QVERIFY(reporter_.messages.isEmpty());

        // The browser pane leaves out the player, widened by 1 left and top, 2 right and bottom.
        const QRegion mask = window_->view()->mask();
        const QRect cut = playerInView().adjusted(-1, -1, 2, 2);
        for (QPoint inside : {cut.topLeft(), cut.bottomRight(), playerInView().center()})
            QVERIFY(!mask.contains(inside));
        for (QPoint outside :
             {cut.topLeft() - QPoint(1, 1), QPoint(0, 0), QPoint(cut.left() - 1, cut.bottom())})
            QVERIFY(mask.contains(outside));
    }

    void resizingKeepsThePlayerInItsCorner() {
        window_->resize(window_->size() + QSize(60, 40));
        QVERIFY(testing::WaitFor([&] { return inCorner(); }));
        QVERIFY(!window_->view()->mask().contains(playerInView().center()));
    }

    void commandFiveRestartsAndCloseHidesThePlayer() {
        StrokePlayer* player = window_->strokePlayer();
        window_->PostRequest(ProtocolRequest{5, 0x4E2D, std::nullopt});
        QVERIFY(testing::WaitFor([&] { return player->animation().strokeCount() == 4; }));
        QTest::mouseClick(player->button(kStrokeButtonClose), Qt::LeftButton);
        QVERIFY(testing::WaitFor([&] { return !player->isVisible(); }));
        QVERIFY(window_->view()->mask().isEmpty());
    }
};

int main(int argc, char* argv[]) {
    RegisterLinkScheme(); // the scheme must be known before the application starts
    QApplication app(argc, argv);
    MainWindowStrokeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowStrokeTest.moc"
