#pragma once
// The sweep over one contour's segments: a cursor on the next column or row
// of the current segment, and the step that moves the contour's pixels of a
// few lines into the revealed bitmap.
#include "stroke/glyph/MonoBitmap.h"
#include "stroke/model/Segmentation.h"

namespace quillory::stroke {

// Lines holding contour pixels that one step reveals, per unit of scan factor.
inline constexpr int kLinesPerScanUnit = 10;

class SegmentSweep {
public:
    // Takes the segments of a newly loaded contour, the first one current.
    void Load(const SegmentList& segments);
    // Drops every segment: nothing is left to sweep.
    void Clear();

    // Places the cursor at the starting edge of the current segment.
    void StartSegment();
    // When the cursor has passed the current segment's far edge, moves on
    // to the next segment and starts it.
    void FinishSegmentIfDone();
    // Reveals up to scanFactor x 10 lines of the current segment that hold
    // pixels of `contour`: moves them to `revealed`. Lines without pixels
    // cost nothing. Returns the lines revealed.
    int SweepStep(MonoBitmap& contour, MonoBitmap& revealed, int scanFactor);

    bool hasSegment() const { return current_ < segments_.count; }
    int currentSegment() const { return current_; }
    const SegmentList& segments() const { return segments_; }
    int cursorX() const { return cursorX_; }
    int cursorY() const { return cursorY_; }
    void setCursor(int x, int y) {
        cursorX_ = x;
        cursorY_ = y;
    }

private:
    bool CurrentFinished() const;

    SegmentList segments_;
    int current_ = 0;
    int cursorX_ = 0;
    int cursorY_ = 0;
};

} // namespace quillory::stroke
