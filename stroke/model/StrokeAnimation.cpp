#include "stroke/model/StrokeAnimation.h"

#include <algorithm>

namespace quillory::stroke {
namespace {

// Clears a flag on every way out of the scope that set it.
class BusyGuard {
public:
    explicit BusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyGuard() { flag_ = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    bool& flag_;
};

} // namespace

void IncludePixels(const MonoBitmap& from, MonoBitmap& to) {
    const int bytes = std::min({from.rows * from.pitch, to.rows * to.pitch, kMonoBitmapBytes});
    for (int i = 0; i < bytes; ++i)
        to.bits[i] |= from.bits[i];
}

StrokeAnimation::StrokeAnimation(ContourSource& source, AnimationHost& host) : source_(source), host_(host) {}

int StrokeAnimation::entryLimit() const {
    return std::min({source_.ContourCount(), entryCount_, kMaxStrokeEntries});
}

void StrokeAnimation::Unload() {
    host_.StopTimers();
    StopPlaying();
    record_.fill(0);
    entryCount_ = 0;
    strokeCount_ = 0;
    current_ = -1;
    loaded_ = Loaded::Settled;
    sweep_.Clear();
    glyph_ = MonoBitmap{};
    revealed_ = MonoBitmap{};
}

void StrokeAnimation::TakeGlyph() {
    glyph_ = source_.ContourBitmap();
    revealed_.TakeGeometry(glyph_);
}

void StrokeAnimation::LoadRecord(const StrokeOrderBytes& record, int entryCount) {
    if (entryCount < 1)
        return;
    record_ = record;
    entryCount_ = std::min(entryCount, kMaxStrokeEntries);
    playing_ = false;
    PlayPause();
    strokeCount_ = StrokeCountOf(record_, entryCount_);
}

bool StrokeAnimation::Advance() {
    ++current_;
    if (current_ >= entryLimit() || !source_.RenderContour(entry(current_).contour))
        return false;
    sweep_.setCursor(0, 0);
    return true;
}

void StrokeAnimation::Segment() {
    sweep_.Load(SegmentContour(source_.ContourBitmap(), scratch_, entry(current_).flags));
}

void StrokeAnimation::BeginEntry() {
    Segment();
    sweep_.StartSegment();
    loaded_ = Loaded::Sweeping;
}

void StrokeAnimation::RevealUpTo(int k) {
    current_ = -1;
    sweep_.Clear();
    loaded_ = Loaded::Settled;
    if (k == -1)
        return;
    while (Advance()) {
        IncludePixels(source_.ContourBitmap(), revealed_);
        if (current_ == k)
            break;
    }
}

void StrokeAnimation::SweepAndRedraw() {
    sweep_.SweepStep(source_.ContourBitmap(), revealed_, settings_.scanFactor);
    host_.RedrawRevealed();
}

void StrokeAnimation::StepTick() {
    if (busy_)
        return;
    BusyGuard busy(busy_);
    sweep_.FinishSegmentIfDone();
    if (sweep_.hasSegment()) {
        SweepAndRedraw();
        return;
    }
    loaded_ = Loaded::Settled;
    if (!Advance()) {
        host_.StopTimers();
        StopPlaying();
        return;
    }
    BeginEntry();
    if (entry(current_).Continues()) {
        SweepAndRedraw();
        return;
    }
    // A new stroke: pause before it in play mode, else stop in front of it.
    host_.StopTimers();
    if (playing_) {
        host_.StartPauseTimer(settings_.pauseMs());
        loaded_ = Loaded::Waiting;
    } else {
        --current_;
        loaded_ = Loaded::Settled;
    }
}

void StrokeAnimation::PauseTick() {
    if (busy_)
        return;
    host_.StopTimers();
    host_.StartStepTimer();
    if (loaded_ == Loaded::Waiting)
        loaded_ = Loaded::Sweeping;
}

void StrokeAnimation::StopPlaying() {
    playing_ = false;
    host_.ShowPlaying(false);
}

void StrokeAnimation::ResetReveal() {
    current_ = -1;
    revealed_.ClearAll();
    sweep_.Clear();
    loaded_ = Loaded::Settled;
}

void StrokeAnimation::SettleLoadedEntry() {
    if (loaded_ == Loaded::Sweeping) {
        MonoBitmap& contour = source_.ContourBitmap();
        IncludePixels(contour, revealed_);
        contour.ClearAll();
        sweep_.Clear();
        host_.RedrawRevealed();
    } else if (loaded_ == Loaded::Waiting) {
        --current_;
    }
    loaded_ = Loaded::Settled;
}

} // namespace quillory::stroke
