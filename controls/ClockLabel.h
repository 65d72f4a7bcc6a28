#pragma once
// A label that shows the local date and time, ticking on a timer and
// redrawing only when the shown text changes.
#include "controls/StaticText.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace quillory {

// "2007/03/02 - 00:05:09 AM": the hour on a 12-hour dial, 12 for noon and
// 00 for the hour after midnight.
QString ClockText(const QDateTime& time);

class ClockLabel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClockMode = 1;
    using TimeSource = std::function<QDateTime()>;

    explicit ClockLabel(QWidget* parent = nullptr);

    // Where the time comes from; the local time unless replaced.
    void setTimeSource(TimeSource source);

    // Stores the settings, shows the time at once and ticks every intervalMs.
    // The clock ticks only while runFlag is not 0 and only mode kClockMode
    // shows the time. weight is on the 100 to 900 scale (500 medium).
    void Start(int intervalMs, int runFlag, int mode, const QString& face, int pixelHeight, int weight,
               const QColor& colour);

    void setStyle(StaticTextStyle style);

    QString text() const { return text_; }
    QFont clockFont() const { return clockFont_; }
    QColor colour() const { return colour_; }
    int interval() const { return timer_.interval(); }
    bool isTicking() const { return timer_.isActive(); }

    QSize sizeHint() const override;

public slots:
    // One timer tick: shows the current time when it differs from the text shown.
    void tick();

signals:
    void textChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showTime();

    TimeSource timeSource_;
    QTimer timer_;
    int runFlag_ = 600;
    int mode_ = kClockMode;
    QFont clockFont_;
    QColor colour_{Qt::black};
    StaticTextStyle style_ = StaticTextStyle::Left;
    // The text shown last; kept per label so that two clocks never hold
    // each other's text back.
    QString text_;
};

} // namespace quillory
