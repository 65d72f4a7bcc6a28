#pragma once
// The stroke-by-stroke animation of one character: the stroke-order record,
// the entry being revealed, the whole-glyph and revealed bitmaps, the timer
// events and the transport operations. It draws through a ContourSource and
// asks its AnimationHost (the window) to run timers and redraw.
#include "stroke/glyph/ContourSource.h"
#include "stroke/glyph/MonoBitmap.h"
#include "stroke/model/AnimationHost.h"
#include "stroke/model/PlayerSettings.h"
#include "stroke/model/SegmentSweep.h"
#include "stroke/model/StrokeOrderRecord.h"

namespace quillory::stroke {

class StrokeAnimation {
public:
    StrokeAnimation(ContourSource& source, AnimationHost& host);

    // No character: timers stopped, play mode off, no record, empty bitmaps.
    void Unload();
    // The contour bitmap holds the whole glyph just loaded: it becomes the
    // glyph bitmap, and the revealed bitmap an empty one of its size.
    void TakeGlyph();
    // The character's record of entryCount entries; with at least one, play
    // starts by itself (after one pause) and the stroke count is set.
    void LoadRecord(const StrokeOrderBytes& record, int entryCount);

    // Loads the next entry's contour into the contour bitmap; false past the
    // last entry or when rendering fails. The index advances either way.
    bool Advance();
    // Cuts the loaded contour into segments and starts the first.
    void Segment();
    // Reveals whole entries 0 to k at once (none for -1).
    void RevealUpTo(int k);

    // The step timer (sweeps, and moves on to the next entry) and the pause
    // timer (ends the pause before a stroke). A tick that arrives while a
    // step tick runs is ignored.
    void StepTick();
    void PauseTick();

    // Transport: each ends play mode, except PlayPause, which toggles it.
    void Beginning();
    void End();
    void Back();
    void Next();
    void PlayPause();
    // Play mode off; the stroke being swept still finishes.
    void StopPlaying();

    PlayerSettings& settings() { return settings_; }
    const PlayerSettings& settings() const { return settings_; }
    int currentEntry() const { return current_; }
    int strokeCount() const { return strokeCount_; }
    bool hasRecord() const { return entryCount_ > 0; }
    bool isPlaying() const { return playing_; }
    const MonoBitmap& glyphBitmap() const { return glyph_; }
    const MonoBitmap& revealedBitmap() const { return revealed_; }
    const SegmentSweep& sweep() const { return sweep_; }

private:
    // Where the entry whose contour was loaded last stands: fully revealed
    // (or replaced), being swept, or loaded and waiting for its pause.
    enum class Loaded { Settled, Sweeping, Waiting };

    // The entries the walk runs over: the outline's contours, within the
    // record's entries and its buffer.
    int entryLimit() const;
    StrokeEntry entry(int i) const { return EntryAt(record_, i); }
    // Segment and start the entry Advance loaded.
    void BeginEntry();
    void SweepAndRedraw();
    // Before another entry is loaded: what is left of a contour being swept
    // is revealed at once, and an entry still waiting is loaded again.
    void SettleLoadedEntry();
    void ResetReveal();

    ContourSource& source_;
    AnimationHost& host_;
    PlayerSettings settings_;
    StrokeOrderBytes record_{};
    int entryCount_ = 0;
    int strokeCount_ = 0;
    int current_ = -1;
    bool playing_ = false;
    bool busy_ = false;
    Loaded loaded_ = Loaded::Settled;
    SegmentSweep sweep_;
    MonoBitmap glyph_;
    MonoBitmap revealed_;
    MonoBitmap scratch_;
};

// Sets in `to` every pixel set in `from` (same geometry).
void IncludePixels(const MonoBitmap& from, MonoBitmap& to);

} // namespace quillory::stroke
