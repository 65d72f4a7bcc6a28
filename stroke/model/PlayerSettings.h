#pragma once
// The stroke player's two speeds: the pause before each new stroke in play
// mode (pause factor x 150 ms) and the lines one sweep step reveals (scan
// factor x 10), each 1 to 11, and how many ticks of ten their gauges light.
namespace quillory::stroke {

inline constexpr int kStepIntervalMs = 50;
inline constexpr int kPauseUnitMs = 150;
inline constexpr int kMinFactor = 1;
inline constexpr int kMaxFactor = 11;
inline constexpr int kGaugeTicks = 10;

struct PlayerSettings {
    int pauseFactor = 5;
    int scanFactor = 2;

    int pauseMs() const { return pauseFactor * kPauseUnitMs; }
    // A shorter pause is a higher speed.
    void FasterPauses() {
        if (pauseFactor > kMinFactor)
            --pauseFactor;
    }
    void SlowerPauses() {
        if (pauseFactor < kMaxFactor)
            ++pauseFactor;
    }
    void WiderScan() {
        if (scanFactor < kMaxFactor)
            ++scanFactor;
    }
    void NarrowerScan() {
        if (scanFactor > kMinFactor)
            --scanFactor;
    }
    int speedTicksLit() const { return kMaxFactor - pauseFactor; }
    int scanTicksLit() const { return scanFactor - 1; }
};

} // namespace quillory::stroke
