// The transport operations of the stroke animation: to the beginning, to
// the end, one stroke back, one stroke forward, play and pause.
#include "stroke/model/StrokeAnimation.h"

#include <algorithm>

namespace quillory::stroke {

void StrokeAnimation::Beginning() {
    StopPlaying();
    host_.StopTimers();
    ResetReveal();
    host_.RepaintAll();
}

void StrokeAnimation::End() {
    StopPlaying();
    host_.StopTimers();
    ResetReveal();
    current_ = entryLimit() - 1;
    revealed_ = glyph_;
    host_.RepaintAll();
}

void StrokeAnimation::Back() {
    StopPlaying();
    host_.StopTimers();
    if (current_ == -1)
        return;
    // An entry still waiting for its pause has shown nothing yet.
    if (loaded_ == Loaded::Waiting)
        --current_;
    current_ = std::min(current_, entryLimit() - 1);
    // Step back over the current stroke's entries, continuations first.
    while (current_ >= 0) {
        const bool continues = entry(current_).Continues();
        --current_;
        if (!continues)
            break;
    }
    revealed_.ClearAll();
    RevealUpTo(current_);
    host_.RepaintAll();
}

void StrokeAnimation::Next() {
    StopPlaying();
    SettleLoadedEntry();
    if (!Advance())
        return;
    BeginEntry();
    host_.StartStepTimer();
}

void StrokeAnimation::PlayPause() {
    playing_ = !playing_;
    if (!playing_) {
        host_.ShowPlaying(false);
        return;
    }
    SettleLoadedEntry();
    // A complete character plays again from an empty grid.
    if (current_ >= entryLimit() - 1) {
        ResetReveal();
        host_.RepaintAll();
    }
    host_.ShowPlaying(true);
    if (!Advance()) {
        StopPlaying();
        return;
    }
    BeginEntry();
    // Play begins after one pause, whatever timer ran before.
    host_.StopTimers();
    host_.StartPauseTimer(settings_.pauseMs());
    loaded_ = Loaded::Waiting;
}

} // namespace quillory::stroke
