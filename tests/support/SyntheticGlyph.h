#pragma once
// A glyph drawn in code for the stroke animation: each contour a union of
// filled rectangles in a bitmap of the renderer's geometry, and a host that
// records what the animation asks of its window and runs its timers at
// once, without waiting.
#include "stroke/glyph/ContourSource.h"
#include "stroke/model/AnimationHost.h"
#include "stroke/model/StrokeAnimation.h"

#include <functional>
#include <initializer_list>
#include <vector>

namespace quillory::testing {

struct PixelRect {
    int x0, y0, x1, y1; // inclusive
};

inline stroke::MonoBitmap EmptyBitmap(int width, int rows) {
    stroke::MonoBitmap bitmap;
    bitmap.width = width;
    bitmap.rows = rows;
    bitmap.pitch = (width + 15) / 16 * 2; // as the rasteriser's 1-bit bitmaps
    return bitmap;
}

inline void FillRect(stroke::MonoBitmap& bitmap, const PixelRect& r) {
    for (int y = r.y0; y <= r.y1; ++y)
        for (int x = r.x0; x <= r.x1; ++x)
            bitmap.Set(x, y);
}

inline stroke::MonoBitmap DrawRects(int width, int rows, std::initializer_list<PixelRect> rects) {
    stroke::MonoBitmap bitmap = EmptyBitmap(width, rows);
    for (const PixelRect& r : rects)
        FillRect(bitmap, r);
    return bitmap;
}

inline int PixelCount(const stroke::MonoBitmap& bitmap) {
    int count = 0;
    for (int y = 0; y < bitmap.rows; ++y)
        for (int x = 0; x < bitmap.width; ++x)
            count += bitmap.Get(x, y);
    return count;
}

// Same pixels (geometry aside).
inline bool SamePixels(const stroke::MonoBitmap& a, const stroke::MonoBitmap& b) {
    if (a.width != b.width || a.rows != b.rows)
        return false;
    for (int y = 0; y < a.rows; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.Get(x, y) != b.Get(x, y))
                return false;
    return true;
}

class SyntheticGlyph final : public stroke::ContourSource {
public:
    SyntheticGlyph(int width, int rows) : width_(width), rows_(rows) { bitmap_ = EmptyBitmap(width, rows); }

    void AddContour(std::initializer_list<PixelRect> rects) {
        contours_.push_back(DrawRects(width_, rows_, rects));
    }
    // The rendering of contour k (or all of them for -1) as RenderContour makes it.
    stroke::MonoBitmap Picture(const std::vector<int>& ks) const {
        stroke::MonoBitmap picture = EmptyBitmap(width_, rows_);
        for (int k : ks)
            stroke::IncludePixels(contours_.at(static_cast<size_t>(k)), picture);
        return picture;
    }

    bool RenderContour(int k) override {
        if (k < -1 || k >= ContourCount() || k == failing)
            return false;
        bitmap_ = EmptyBitmap(width_, rows_);
        for (int i = 0; i < ContourCount(); ++i)
            if (k == -1 || k == i)
                stroke::IncludePixels(contours_[static_cast<size_t>(i)], bitmap_);
        return true;
    }
    int ContourCount() const override { return static_cast<int>(contours_.size()); }
    stroke::MonoBitmap& ContourBitmap() override { return bitmap_; }

    // A contour whose rendering fails, as a FreeType error would.
    int failing = -2;

private:
    int width_;
    int rows_;
    std::vector<stroke::MonoBitmap> contours_;
    stroke::MonoBitmap bitmap_;
};

class RecordingHost final : public stroke::AnimationHost {
public:
    enum class Timer { None, Step, Pause };

    void StopTimers() override { timer = Timer::None; }
    void StartStepTimer() override { timer = Timer::Step; }
    void StartPauseTimer(int ms) override {
        timer = Timer::Pause;
        pauses.push_back(ms);
    }
    void ShowPlaying(bool on) override { pauseImage = on; }
    void RepaintAll() override { ++repaints; }
    void RedrawRevealed() override {
        ++redraws;
        if (onRedraw)
            onRedraw();
    }

    // Fires the running timer until none runs or until() holds; the ticks fired.
    int Run(stroke::StrokeAnimation& animation, const std::function<bool()>& until = {}, int limit = 100000) {
        int ticks = 0;
        while (timer != Timer::None && ticks < limit && !(until && until())) {
            if (timer == Timer::Step)
                animation.StepTick();
            else
                animation.PauseTick();
            ++ticks;
        }
        return ticks;
    }

    Timer timer = Timer::None;
    std::vector<int> pauses;
    bool pauseImage = false;
    int repaints = 0;
    int redraws = 0;
    std::function<void()> onRedraw;
};

} // namespace quillory::testing
