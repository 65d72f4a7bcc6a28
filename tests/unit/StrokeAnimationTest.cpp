// The stroke animation on a drawn glyph: play, pauses, the timer events and
// the transport operations.
#include "stroke/model/StrokeAnimation.h"
#include "tests/support/SyntheticGlyph.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillory::stroke;
using namespace quillory::testing;

namespace {

// A character drawn like 中: a box (left side, top and right side, bottom),
// and the long middle stroke.
enum Contour { kTop, kBottom, kLeft, kRight, kMiddle };
// Stroke 1 the left side (down), stroke 2 the top (across) continued by the
// right side (down), stroke 3 the bottom, stroke 4 the middle.
constexpr std::uint8_t kZhong[] = {kLeft, 0x01, kTop, 0x00, kRight, 0x81, kBottom, 0x00, kMiddle, 0x01};

StrokeOrderBytes Record(const std::uint8_t* bytes, int entries) {
    StrokeOrderBytes record{};
    std::copy(bytes, bytes + 2 * entries, record.begin());
    return record;
}

class StrokeAnimationTest : public ::testing::Test {
protected:
    void SetUp() override {
        glyph.AddContour({{20, 30, 79, 35}});
        glyph.AddContour({{20, 60, 79, 65}});
        glyph.AddContour({{20, 30, 25, 65}});
        glyph.AddContour({{74, 30, 79, 65}});
        glyph.AddContour({{47, 10, 52, 90}});
        ASSERT_TRUE(glyph.RenderContour(-1));
        animation.TakeGlyph();
    }

    void Load(int entries = 5) { animation.LoadRecord(Record(kZhong, entries), entries); }
    bool Shows(const std::vector<int>& contours) const {
        return SamePixels(animation.revealedBitmap(), glyph.Picture(contours));
    }
    int Run(const std::function<bool()>& until = {}) { return host.Run(animation, until); }
    // Plays until the top (stroke 2's first contour) is partly swept.
    void PlayIntoStrokeTwo() {
        Load();
        const int leftSide = PixelCount(glyph.Picture({kLeft}));
        Run([&] {
            return animation.currentEntry() == 1 && PixelCount(animation.revealedBitmap()) > leftSide;
        });
        ASSERT_FALSE(Shows({kLeft, kTop}));
        ASSERT_TRUE(animation.isPlaying());
    }

    SyntheticGlyph glyph{100, 100};
    RecordingHost host;
    StrokeAnimation animation{glyph, host};
};

TEST_F(StrokeAnimationTest, PlaysTheStrokesInOrderWithOnePauseBeforeEach) {
    Load();
    EXPECT_EQ(animation.strokeCount(), 4);
    EXPECT_TRUE(animation.isPlaying());
    EXPECT_TRUE(host.pauseImage);
    EXPECT_EQ(host.timer, RecordingHost::Timer::Pause);
    // Each new pause begins once the strokes before it are complete; the
    // right side follows the top without one.
    const std::vector<std::vector<int>> before = {
        {}, {kLeft}, {kLeft, kTop, kRight}, {kLeft, kTop, kRight, kBottom}};
    for (size_t stroke = 0; stroke < before.size(); ++stroke) {
        Run([&] { return host.pauses.size() > stroke; });
        EXPECT_TRUE(Shows(before[stroke])) << "before stroke " << stroke + 1;
    }
    Run();
    EXPECT_TRUE(Shows({kTop, kBottom, kLeft, kRight, kMiddle}));
    EXPECT_EQ(host.pauses, std::vector<int>(4, 750));
    EXPECT_FALSE(animation.isPlaying());
    EXPECT_FALSE(host.pauseImage);
    // A changed pause factor applies from the next pause.
    animation.settings().FasterPauses();
    animation.PlayPause();
    EXPECT_EQ(host.pauses.back(), 600);
}

TEST_F(StrokeAnimationTest, BackStepsOverWholeStrokes) {
    Load();
    animation.Beginning();
    const int repaints = host.repaints;
    animation.Back(); // nothing revealed: nothing happens
    EXPECT_EQ(host.repaints, repaints);
    EXPECT_EQ(animation.currentEntry(), -1);

    animation.End();
    EXPECT_TRUE(Shows({kTop, kBottom, kLeft, kRight, kMiddle}));
    const std::vector<std::vector<int>> afterBacks = {
        {kLeft, kTop, kRight, kBottom}, {kLeft, kTop, kRight}, {kLeft}, {}, {}};
    for (const std::vector<int>& expected : afterBacks) {
        animation.Back();
        EXPECT_TRUE(Shows(expected)) << expected.size() << " contours";
    }
}

TEST_F(StrokeAnimationTest, BackInTheMiddleOfStrokeTwoLeavesStrokeOne) {
    PlayIntoStrokeTwo();
    animation.Back();
    EXPECT_TRUE(Shows({kLeft}));
    EXPECT_EQ(host.timer, RecordingHost::Timer::None);
    EXPECT_FALSE(animation.isPlaying());
    EXPECT_FALSE(host.pauseImage);
}

TEST_F(StrokeAnimationTest, BackDuringThePauseRemovesTheLastStrokeShown) {
    Load();
    Run([&] { return host.pauses.size() == 3; });
    ASSERT_TRUE(Shows({kLeft, kTop, kRight}));
    animation.Back();
    EXPECT_TRUE(Shows({kLeft}));
}

TEST_F(StrokeAnimationTest, PlayAfterTheEndRestartsFromAnEmptyGrid) {
    for (bool byEnd : {false, true}) {
        SCOPED_TRACE(byEnd ? "after End" : "after playing");
        Load();
        if (byEnd)
            animation.End();
        else
            Run();
        ASSERT_TRUE(Shows({kTop, kBottom, kLeft, kRight, kMiddle}));
        animation.PlayPause();
        EXPECT_TRUE(Shows({}));
        EXPECT_TRUE(host.pauseImage);
        EXPECT_EQ(host.timer, RecordingHost::Timer::Pause);
        EXPECT_EQ(animation.currentEntry(), 0);
        Run();
        EXPECT_TRUE(Shows({kTop, kBottom, kLeft, kRight, kMiddle}));
    }
}

TEST_F(StrokeAnimationTest, NextDuringPlayCompletesTheStrokeAndStopsAtTheNext) {
    PlayIntoStrokeTwo();
    animation.Next();
    EXPECT_FALSE(animation.isPlaying());
    EXPECT_FALSE(host.pauseImage);
    Run();
    EXPECT_EQ(host.timer, RecordingHost::Timer::None);
    EXPECT_TRUE(Shows({kLeft, kTop, kRight}));
    // Next during a pause sweeps the stroke that waited, and stops.
    animation.PlayPause();
    Run([&] { return host.pauses.size() == 3; });
    ASSERT_TRUE(Shows({kLeft, kTop, kRight}));
    animation.Next();
    Run();
    EXPECT_TRUE(Shows({kLeft, kTop, kRight, kBottom}));
}

TEST_F(StrokeAnimationTest, NextStepsOneStrokeAtATime) {
    Load();
    animation.Beginning();
    const std::vector<std::vector<int>> steps = {{kLeft},
                                                 {kLeft, kTop, kRight},
                                                 {kLeft, kTop, kRight, kBottom},
                                                 {kTop, kBottom, kLeft, kRight, kMiddle}};
    for (const std::vector<int>& expected : steps) {
        animation.Next();
        EXPECT_EQ(host.timer, RecordingHost::Timer::Step);
        Run();
        EXPECT_TRUE(Shows(expected)) << expected.size() << " contours";
    }
    EXPECT_EQ(host.pauses.size(), 1u); // only the one before play began
    animation.Next();                  // past the end: nothing more
    EXPECT_EQ(host.timer, RecordingHost::Timer::None);
}

TEST_F(StrokeAnimationTest, PauseDuringAStrokeFinishesItAndStops) {
    PlayIntoStrokeTwo();
    animation.PlayPause();
    EXPECT_FALSE(host.pauseImage);
    Run();
    EXPECT_TRUE(Shows({kLeft, kTop, kRight}));
    EXPECT_EQ(animation.currentEntry(), 2);
}

TEST_F(StrokeAnimationTest, AFailedRenderingEndsTheAnimation) {
    glyph.failing = kRight;
    Load();
    Run();
    EXPECT_TRUE(Shows({kLeft, kTop}));
    EXPECT_FALSE(animation.isPlaying());
    EXPECT_FALSE(host.pauseImage);
    // Nothing can start when the first contour fails.
    glyph.failing = kLeft;
    animation.Beginning();
    animation.PlayPause();
    EXPECT_FALSE(animation.isPlaying());
    EXPECT_FALSE(host.pauseImage);
    EXPECT_EQ(host.timer, RecordingHost::Timer::None);
}

TEST_F(StrokeAnimationTest, TheWalkEndsWithTheRecordsEntries) {
    Load(3);
    EXPECT_EQ(animation.strokeCount(), 2);
    Run();
    EXPECT_TRUE(Shows({kLeft, kTop, kRight}));
    animation.End();
    EXPECT_EQ(animation.currentEntry(), 2);

    animation.Unload();
    animation.LoadRecord(Record(kZhong, 0), 0); // no entries: nothing animates
    EXPECT_FALSE(animation.hasRecord());
    EXPECT_EQ(host.timer, RecordingHost::Timer::None);
}

TEST_F(StrokeAnimationTest, ATickArrivingDuringAStepTickIsIgnored) {
    Load();
    animation.Beginning();
    animation.Next();
    host.onRedraw = [&] {
        animation.StepTick();
        animation.PauseTick();
    };
    animation.StepTick();
    // One step of 20 rows of the 6-pixel-wide left side, not two.
    EXPECT_EQ(PixelCount(animation.revealedBitmap()), 20 * 6);
    EXPECT_EQ(host.timer, RecordingHost::Timer::Step);
}

} // namespace
