#pragma once
// What the main window shows once the update check has found an address: the
// "New Updates Available" button and three lamps that blink in a chase
// pattern. Widget-free: the window shows, hides and paints its controls from
// the signals below and opens address() when one of them is clicked.
#include <QObject>
#include <QString>
#include <array>
#include <optional>

class QTimer;

namespace quillory {

// Lit state of the three lamps, left to right (controls 1140, 1141, 1142).
using LampStates = std::array<bool, 3>;

// The blink cycle: 33 steps of 500 ms.
inline constexpr int kBlinkSteps = 33;
inline constexpr int kLampIntervalMs = 500;

// The lamps at step s of the cycle; none where they keep what they show. A
// dot runs from left to right (3 to 5), all go dark (6), blink twice (7 to
// 10), then rest.
std::optional<LampStates> BlinkPattern(int step);
inline int NextBlinkStep(int step) {
    return (step + 1) % kBlinkSteps;
}

class UpdateIndicator final : public QObject {
    Q_OBJECT
public:
    explicit UpdateIndicator(QObject* parent = nullptr);

    // The check's result. A non-empty address shows the controls and starts
    // the lamps; it is kept for the rest of the process. An empty one keeps
    // the controls hidden, and never hides controls already shown.
    void showCheckResult(const QString& address);

    bool controlsVisible() const { return !address_.isEmpty(); }
    const QString& address() const { return address_; }
    const LampStates& lamps() const { return lamps_; }
    int step() const { return step_; }
    bool isBlinking() const;

    // One blink step: what the lamp timer runs every 500 ms.
    void tick();

signals:
    void controlsVisibleChanged(bool visible);
    // Emitted when a step changes what the lamps show.
    void lampsChanged(const quillory::LampStates& lamps);

private:
    QString address_;
    LampStates lamps_{false, false, false};
    int step_ = 0;
    QTimer* timer_;
};

} // namespace quillory
