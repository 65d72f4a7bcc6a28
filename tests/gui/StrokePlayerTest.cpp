// The stroke player window: its buttons, gauges, digits, hover colours and
// close message, and a real character played from the stroke font.
#include "stroke/player/StrokePlayer.h"
#include "dictionary/Dictionary.h"
#include "dictionary/text/MessageReporter.h"
#include "settings/NameRegistry.h"
#include "settings/RegisteredNames.h"
#include "stroke/player/BitmapButton.h"
#include "stroke/player/PlayerImages.h"
#include "stroke/player/PlayerLayout.h"
#include "stroke/player/RegisteredMessageEvent.h"
#include "stroke/records/StrokeOrderFormat.h"
#include "stroke/records/StrokeOrderStore.h"
#include "tests/support/Waiting.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <vector>

using namespace quillory;
using namespace quillory::stroke;
using namespace quillory::stroke::player_layout;

namespace {

// Keeps the registered messages posted to the object it watches.
class MessageLog final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == RegisteredMessageEvent::eventType()) {
            const auto* message = static_cast<RegisteredMessageEvent*>(event);
            messages.push_back({message->message(), message->wParam(), message->lParam()});
        }
        return false;
    }
    struct Message {
        std::uint32_t id;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    std::vector<Message> messages;
};

QRgb Pixel(QWidget* widget, QPoint at) {
    return widget->grab().toImage().pixel(at) & 0xFFFFFF;
}

// Lit ticks of a gauge; -1 when a tick is neither lit nor unlit.
int LitTicks(const QImage& image, QPoint origin) {
    int lit = 0;
    for (int i = 1; i <= 10; ++i) {
        for (QPoint corner : {QPoint(4 * i, 0), QPoint(4 * i + 1, 5)}) {
            const QRgb pixel = image.pixel(origin + corner) & 0xFFFFFF;
            if (pixel != (kGaugeLit & 0xFFFFFF) && pixel != (kGaugeUnlit & 0xFFFFFF))
                return -1;
        }
        lit += (image.pixel(origin + QPoint(4 * i, 0)) & 0xFFFFFF) == (kGaugeLit & 0xFFFFFF);
    }
    return lit;
}

} // namespace

class StrokePlayerTest : public QObject {
    Q_OBJECT

private:
    NameRegistry names_;
    RecordingReporter reporter_;
    QWidget parent_;
    std::unique_ptr<StrokePlayer> player_;
    std::unique_ptr<Dictionary> dictionary_;
    std::unique_ptr<StrokeOrderStore> store_;

    BitmapButton* button(const char* name) { return player_->button(name); }
    void click(const char* name, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(button(name), Qt::LeftButton);
    }
    std::pair<int, int> gauges() {
        const QImage image = player_->grab().toImage();
        return {LitTicks(image, kSpeedBar), LitTicks(image, kScanBar)};
    }

    // The stroke font, the store and the second font of the built data folder.
    void UseRealData() {
        const QString data = QStringLiteral(QUILLORY_DATA_DIR);
        QVERIFY2(QFile::exists(data + u'/' + QLatin1String(kStrokeFontFileName)), "no stroke font");
        dictionary_ = std::make_unique<Dictionary>(data, reporter_);
        QVERIFY(dictionary_->Open());
        store_ = std::make_unique<StrokeOrderStore>(
            dictionary_->index(), dictionary_->files().DataPath(QLatin1String(kStrokeOrderFileName)));
        player_->renderer().SetFontPaths(QFile::encodeName(data + u'/' + QLatin1String(kStrokeFontFileName)),
                                         SystemCjkFontPath());
        player_->setRecordLookup([store = store_.get()](std::uint32_t code, StrokeOrderBytes& record) {
            return store->ReadRecord(code, record);
        });
    }

private slots:
    void init() {
        player_ = std::make_unique<StrokePlayer>(names_, reporter_, &parent_, QPoint(30, 40));
        parent_.resize(400, 400);
        parent_.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent_));
    }
    void cleanup() {
        player_.reset();
        store_.reset();
        dictionary_.reset();
    }

    void buttonsSitWhereTheLayoutPutsThem() {
        QCOMPARE(player_->geometry(), QRect(30, 40, 239, 239));
        const struct {
            const char* name;
            QPoint at;
        } places[] = {
            {kStrokeButtonClose, {222, 2}},        {kStrokeButtonBeginning, {17, 224}},
            {kStrokeButtonBack, {38, 224}},        {kStrokeButtonForward, {59, 224}},
            {kStrokeButtonNext, {80, 224}},        {kStrokeButtonEnd, {101, 224}},
            {kStrokeButtonMinusSpeed, {131, 216}}, {kStrokeButtonPlusSpeed, {194, 216}},
            {kStrokeButtonMinusScan, {131, 228}},  {kStrokeButtonPlusScan, {194, 228}},
        };
        for (const auto& place : places) {
            QVERIFY2(button(place.name), place.name);
            QCOMPARE(button(place.name)->geometry(), QRect(place.at, QSize(15, 13)));
        }
        QCOMPARE(kSpeedBar, QPoint(146, 220));
        QCOMPARE(kScanBar, QPoint(146, 232));
        QCOMPARE(button(kStrokeButtonForward)->imageId(), player_image::kPlay);
    }

    void gaugesFollowThePlusAndMinusButtons() {
        QCOMPARE(gauges(), std::make_pair(6, 1));
        click(kStrokeButtonPlusSpeed, 10);
        QCOMPARE(player_->animation().settings().pauseFactor, 1);
        QCOMPARE(gauges(), std::make_pair(10, 1));
        click(kStrokeButtonMinusSpeed, 12);
        QCOMPARE(player_->animation().settings().pauseFactor, 11);
        click(kStrokeButtonMinusScan, 2);
        QCOMPARE(player_->animation().settings().scanFactor, 1);
        QCOMPARE(gauges(), std::make_pair(0, 0));
        click(kStrokeButtonPlusScan, 12);
        QCOMPARE(gauges(), std::make_pair(0, 10));
    }

    void buttonsHighlightWhileHoveredAndPressed() {
        struct Case {
            const char* name;
            QPoint symbol; // a symbol pixel of the button's image
            QRgb hover, ground, pressedGround;
        };
        const Case cases[] = {
            {kStrokeButtonForward, {1, 1}, qRgb(0, 192, 0), qRgb(255, 63, 255), qRgb(222, 30, 222)},
            {kStrokeButtonClose, {2, 1}, qRgb(255, 0, 0), qRgb(0, 255, 255), qRgb(33, 222, 222)},
            {kStrokeButtonPlusScan, {7, 1}, qRgb(255, 0, 0), qRgb(0, 255, 255), qRgb(33, 222, 222)},
        };
        for (const Case& c : cases) {
            BitmapButton* b = button(c.name);
            QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(b->mapToGlobal(QPoint(1, 1))));
            QCoreApplication::sendEvent(b, &enter);
            QVERIFY(b->isHovering());
            QCOMPARE(Pixel(b, c.symbol), c.hover & 0xFFFFFF);
            QCOMPARE(Pixel(b, {0, 0}), c.ground & 0xFFFFFF);
            b->setDown(true);
            QCOMPARE(Pixel(b, {0, 0}), c.pressedGround & 0xFFFFFF);
            b->setDown(false);
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(b, &leave);
            QVERIFY(!b->isHovering());
        }
        // Not hovered: the normal colour, and the grid shows through (the
        // diagonal passes the close button's pixel (14, 1)).
        QCOMPARE(Pixel(button(kStrokeButtonForward), {1, 1}), kTransportColours.normal & 0xFFFFFF);
        QCOMPARE(Pixel(button(kStrokeButtonClose), {14, 1}), kGrid & 0xFFFFFF);
        QCOMPARE(Pixel(button(kStrokeButtonClose), {0, 0}), kBackground & 0xFFFFFF);
    }

    void closePostsTheNotifyMessageToTheParent() {
        MessageLog log;
        parent_.installEventFilter(&log);
        click(kStrokeButtonClose);
        QVERIFY(log.messages.empty()); // posted, not sent
        QTRY_COMPARE(log.messages.size(), size_t(1));
        QCOMPARE(log.messages[0].id, *names_.idOf(QString::fromLatin1(kStrokeNotify)));
        QCOMPARE(log.messages[0].wParam, std::uintptr_t(16));
        QCOMPARE(log.messages[0].lParam, std::intptr_t(16));
        QVERIFY(!player_->animation().isPlaying());
    }

    // 中 from the real stroke font and store: four strokes, played to the
    // end; the count reads 0 and 4; FORWARD after the end plays again.
    void zhongPlaysItsFourStrokesToTheEnd() {
        UseRealData();
        if (QTest::currentTestFailed())
            return;
        player_->animation().settings().pauseFactor = 1;
        player_->animation().settings().scanFactor = 11;

        QSignalSpy pauses(&player_->pauseTimer(), &QTimer::timeout);
        player_->StartStroke(0x4E2D, 216);
        StrokeAnimation& animation = player_->animation();
        QCOMPARE(animation.strokeCount(), 4);
        QVERIFY(animation.isPlaying());
        QVERIFY(player_->pauseTimer().isActive());
        QCOMPARE(player_->pauseTimer().interval(), 150);
        QCOMPARE(button(kStrokeButtonForward)->imageId(), player_image::kPause);
        // The inked glyph sits in the middle of the window.
        const QPoint offset = player_->glyphOffset();
        QVERIFY(offset.x() > 0 && offset.y() > 0);

        QVERIFY(testing::WaitFor([&] { return !animation.isPlaying(); }));
        QVERIFY(!player_->stepTimer().isActive() && !player_->pauseTimer().isActive());
        QCOMPARE(player_->stepTimer().interval(), 50);
        QCOMPARE(pauses.count(), 4); // one pause before each stroke
        QCOMPARE(animation.currentEntry(), player_->renderer().ContourCount()); // past the last entry
        QCOMPARE(animation.revealedBitmap().bits, animation.glyphBitmap().bits);
        QCOMPARE(button(kStrokeButtonForward)->imageId(), player_image::kPlay);
        QVERIFY(reporter_.messages.isEmpty());

        // Tens digit 0 (top, no middle) and ones digit 4 (middle, no top).
        const QImage& background = player_->savedBackground();
        QCOMPARE(background.pixel(kTensDigit + QPoint(3, 0)) & 0xFFFFFF, kDigits & 0xFFFFFF);
        QCOMPARE(background.pixel(kTensDigit + QPoint(3, 7)) & 0xFFFFFF, kBackground & 0xFFFFFF);
        QCOMPARE(background.pixel(kOnesDigit + QPoint(3, 0)) & 0xFFFFFF, kBackground & 0xFFFFFF);
        QCOMPARE(background.pixel(kOnesDigit + QPoint(3, 7)) & 0xFFFFFF, kDigits & 0xFFFFFF);

        click(kStrokeButtonEnd);
        click(kStrokeButtonForward);
        QCOMPARE(button(kStrokeButtonForward)->imageId(), player_image::kPause);
        QCOMPARE(animation.currentEntry(), 0);
        QVERIFY(std::all_of(animation.revealedBitmap().bits.begin(), animation.revealedBitmap().bits.end(),
                            [](std::uint8_t byte) { return byte == 0; }));
    }

    // Characters of many strokes start playing with their count; End shows them whole.
    void charactersStartWithTheirStrokeCount_data() {
        QTest::addColumn<uint>("code");
        QTest::addColumn<int>("strokes");
        QTest::newRow("永") << 0x6C38u << 5;
        QTest::newRow("學") << 0x5B78u << 16;
        QTest::newRow("鬱") << 0x9B31u << 29;
    }
    void charactersStartWithTheirStrokeCount() {
        QFETCH(uint, code);
        QFETCH(int, strokes);
        UseRealData();
        if (QTest::currentTestFailed())
            return;
        player_->StartStroke(code, 216);
        StrokeAnimation& animation = player_->animation();
        QCOMPARE(animation.strokeCount(), strokes);
        QVERIFY(animation.isPlaying());
        QVERIFY(reporter_.messages.isEmpty());
        click(kStrokeButtonEnd);
        QVERIFY(!animation.isPlaying());
        QCOMPARE(animation.revealedBitmap().bits, animation.glyphBitmap().bits);
    }

    // 両 has no stroke data: drawn grey from the second font, no message,
    // nothing animates.
    void characterWithoutStrokeDataStaysGrey() {
        UseRealData();
        if (QTest::currentTestFailed())
            return;
        player_->StartStroke(0x4E21, 216);
        StrokeAnimation& animation = player_->animation();
        QVERIFY(reporter_.messages.isEmpty());
        QVERIFY(animation.glyphBitmap().rows > 0);
        QVERIFY(std::any_of(animation.glyphBitmap().bits.begin(), animation.glyphBitmap().bits.end(),
                            [](std::uint8_t byte) { return byte != 0; }));
        QVERIFY(!animation.hasRecord());
        QVERIFY(!animation.isPlaying());
        QCOMPARE(animation.strokeCount(), 0);
        QVERIFY(!player_->stepTimer().isActive() && !player_->pauseTimer().isActive());
        // Its grey pixels are drawn: the middle of the window is not all white.
        const QImage shown = player_->grab().toImage();
        int grey = 0;
        for (int y = 20; y < 220; ++y)
            for (int x = 20; x < 220; ++x)
                grey += (shown.pixel(x, y) & 0xFFFFFF) == (kGlyph & 0xFFFFFF);
        QVERIFY(grey > 500);
    }
};

QTEST_MAIN(StrokePlayerTest)
#include "StrokePlayerTest.moc"
