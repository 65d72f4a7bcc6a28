#pragma once
// What the stroke animation asks of the window that shows it: its two
// timers, the play button's image and redrawing. The animation keeps no
// timers itself; the window calls its tick operations when they fire.
namespace quillory::stroke {

class AnimationHost {
public:
    virtual ~AnimationHost() = default;
    virtual void StopTimers() = 0;
    // The step timer (kStepIntervalMs); fires StepTick.
    virtual void StartStepTimer() = 0;
    // The pause timer once, after `ms`; fires PauseTick.
    virtual void StartPauseTimer(int ms) = 0;
    // The play button shows the pause image while playing, else the play image.
    virtual void ShowPlaying(bool playing) = 0;
    // Background, grey glyph and revealed strokes drawn anew.
    virtual void RepaintAll() = 0;
    // Only the revealed strokes changed (a sweep step).
    virtual void RedrawRevealed() = 0;
};

} // namespace quillory::stroke
