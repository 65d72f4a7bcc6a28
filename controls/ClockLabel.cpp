#include "controls/ClockLabel.h"

#include <QPainter>
#include <algorithm>

namespace quillory {

QString ClockText(const QDateTime& time) {
    const QDate date = time.date();
    const QTime clock = time.time();
    const int hour = clock.hour();
    const bool afternoon = hour >= 12;
    const int dialHour = hour > 12 ? hour - 12 : hour;
    return QString::asprintf("%04d/%02d/%02d - %02d:%02d:%02d %s", date.year(), date.month(), date.day(),
                             dialHour, clock.minute(), clock.second(), afternoon ? "PM" : "AM");
}

ClockLabel::ClockLabel(QWidget* parent)
    : QWidget(parent), timeSource_([] { return QDateTime::currentDateTime(); }) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&timer_, &QTimer::timeout, this, &ClockLabel::tick);
}

void ClockLabel::setTimeSource(TimeSource source) {
    timeSource_ = std::move(source);
}

void ClockLabel::Start(int intervalMs, int runFlag, int mode, const QString& face, int pixelHeight,
                       int weight, const QColor& colour) {
    runFlag_ = runFlag;
    mode_ = mode;
    clockFont_ = QFont(face);
    clockFont_.setPixelSize(std::max(1, pixelHeight));
    clockFont_.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    clockFont_.setStyleStrategy(QFont::PreferQuality);
    colour_ = colour;
    updateGeometry();
    if (mode_ == kClockMode) {
        showTime();
    }
    update();
    timer_.start(std::max(1, intervalMs));
}

void ClockLabel::setStyle(StaticTextStyle style) {
    style_ = style;
    update();
}

void ClockLabel::tick() {
    if (runFlag_ != 0 && mode_ == kClockMode) {
        showTime();
    }
}

void ClockLabel::showTime() {
    const QString text = ClockText(timeSource_());
    if (text == text_) {
        return;
    }
    text_ = text;
    update();
    emit textChanged(text_);
}

QSize ClockLabel::sizeHint() const {
    const QFontMetrics metrics(clockFont_);
    return metrics.size(Qt::TextSingleLine, ClockText(QDateTime(QDate(2000, 12, 30), QTime(10, 58, 58)))) +
           QSize(2, 0);
}

void ClockLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    FillButtonFace(painter, *this);
    painter.setFont(clockFont_);
    painter.setPen(colour_);
    painter.setBackgroundMode(Qt::TransparentMode);
    DrawStaticText(painter, rect(), StaticTextFlags(style_, text_), text_);
}

} // namespace quillory
