#include "app/update/UpdateLamps.h"

#include <QTimer>

namespace quillory {

std::optional<LampStates> BlinkPattern(int step) {
    switch (step) {
    case 3:
        return LampStates{true, false, false};
    case 4:
        return LampStates{false, true, false};
    case 5:
        return LampStates{false, false, true};
    case 6:
    case 8:
    case 10:
        return LampStates{false, false, false};
    case 7:
    case 9:
        return LampStates{true, true, true};
    default:
        return std::nullopt;
    }
}

UpdateIndicator::UpdateIndicator(QObject* parent) : QObject(parent), timer_(new QTimer(this)) {
    timer_->setInterval(kLampIntervalMs);
    connect(timer_, &QTimer::timeout, this, &UpdateIndicator::tick);
}

void UpdateIndicator::showCheckResult(const QString& address) {
    if (address.isEmpty() || !address_.isEmpty()) {
        return;
    }
    address_ = address;
    emit controlsVisibleChanged(true);
    timer_->start();
}

bool UpdateIndicator::isBlinking() const {
    return timer_->isActive();
}

void UpdateIndicator::tick() {
    const auto pattern = BlinkPattern(step_);
    step_ = NextBlinkStep(step_);
    if (pattern && *pattern != lamps_) {
        lamps_ = *pattern;
        emit lampsChanged(lamps_);
    }
}

} // namespace quillory
