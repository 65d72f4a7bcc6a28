#include "stroke/model/SegmentSweep.h"

#include "stroke/model/StrokeOrderRecord.h"

namespace quillory::stroke {
namespace {

// Moves the set pixels of one column (or row) between lo and hi from
// contour to revealed; true when there was one.
bool MoveLine(MonoBitmap& contour, MonoBitmap& revealed, bool column, int line, int lo, int hi) {
    bool any = false;
    for (int i = lo; i <= hi; ++i) {
        const int x = column ? line : i;
        const int y = column ? i : line;
        if (contour.Get(x, y)) {
            revealed.Set(x, y);
            contour.Reset(x, y);
            any = true;
        }
    }
    return any;
}

} // namespace

void SegmentSweep::Load(const SegmentList& segments) {
    segments_ = segments;
    current_ = 0;
}

void SegmentSweep::Clear() {
    segments_.count = 0;
    current_ = 0;
}

void SegmentSweep::StartSegment() {
    if (!hasSegment())
        return;
    const SweepSegment& s = segments_.items[current_];
    switch (s.direction) {
    case kSweepRightToLeft:
        setCursor(s.x1, s.y0);
        break;
    case kSweepBottomToTop:
        setCursor(s.x0, s.y1);
        break;
    default:
        setCursor(s.x0, s.y0);
        break;
    }
}

bool SegmentSweep::CurrentFinished() const {
    const SweepSegment& s = segments_.items[current_];
    switch (s.direction) {
    case kSweepLeftToRight:
        return cursorX_ > s.x1;
    case kSweepRightToLeft:
        return cursorX_ < s.x0;
    case kSweepBottomToTop:
        return cursorY_ < s.y0;
    case kSweepTopToBottom:
    case 4:
    case 5:
        return cursorY_ > s.y1;
    default:
        return true;
    }
}

void SegmentSweep::FinishSegmentIfDone() {
    if (hasSegment() && CurrentFinished()) {
        ++current_;
        StartSegment();
    }
}

int SegmentSweep::SweepStep(MonoBitmap& contour, MonoBitmap& revealed, int scanFactor) {
    if (!hasSegment())
        return 0;
    const SweepSegment& s = segments_.items[current_];
    if (s.direction < 0 || s.direction > 5)
        return 0;
    // Columns across (0, 2) or rows down (1, 4, 5) and up (3).
    const bool columns = s.direction == kSweepLeftToRight || s.direction == kSweepRightToLeft;
    const int step = s.direction == kSweepRightToLeft || s.direction == kSweepBottomToTop ? -1 : 1;
    int& cursor = columns ? cursorX_ : cursorY_;
    const int first = columns ? s.x0 : s.y0;
    const int last = columns ? s.x1 : s.y1;
    const int lo = columns ? s.y0 : s.x0;
    const int hi = columns ? s.y1 : s.x1;
    const int limit = scanFactor * kLinesPerScanUnit;
    int lines = 0;
    while ((step > 0 ? cursor <= last : cursor >= first) && lines < limit) {
        lines += MoveLine(contour, revealed, columns, cursor, lo, hi);
        cursor += step;
    }
    return lines;
}

} // namespace quillory::stroke
