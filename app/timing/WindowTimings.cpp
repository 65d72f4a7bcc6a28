#include "app/timing/WindowTimings.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QWidget>
#include <ctime>
#include <unistd.h>

namespace quillory {
namespace {

// How long ago the process started, in milliseconds: its start in clock ticks
// since boot (/proc/self/stat, field 22) against the time since boot now.
// 0 where that cannot be read; the clock then runs from the timer's start.
qint64 MillisecondsSinceProcessStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // Fields after the command name, which is in brackets and may hold blanks.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    constexpr int kStartTimeField = 22 - 3;
    bool ok = false;
    const qint64 startTicks = fields.value(kStartTimeField).toLongLong(&ok);
    timespec now{};
    if (!ok || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return 0;
    const qint64 nowMs = qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    return std::max<qint64>(0, nowMs - startTicks * 1000 / sysconf(_SC_CLK_TCK));
}

bool IsRequest(const QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease)
        return true;
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

bool WindowTimings::requested() {
    return qEnvironmentVariable("QUILLORY_TIMINGS") == QLatin1String("1");
}

WindowTimings::WindowTimings(QWidget* window, QObject* parent)
    : QObject(parent), window_(window), startOffset_(MillisecondsSinceProcessStart()), err_(stderr) {
    clock_.start();
    window_->installEventFilter(this);
    QCoreApplication::instance()->installEventFilter(this);
}

void WindowTimings::ReportPagePainted() {
    if (!welcomePainted_) {
        welcomePainted_ = true;
        Print("welcome-painted", startOffset_ + clock_.elapsed());
    } else if (requestAt_ >= 0) {
        Print("page-painted", clock_.elapsed() - requestAt_);
        requestAt_ = -1;
    }
}

void WindowTimings::ReportSoundStarted() {
    if (requestAt_ >= 0) {
        Print("sound-started", clock_.elapsed() - requestAt_);
        requestAt_ = -1;
    }
}

bool WindowTimings::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Paint && !windowShown_) {
        windowShown_ = true;
        Print("window-shown", startOffset_ + clock_.elapsed());
    } else if (IsRequest(event) && watched->isWidgetType()) {
        requestAt_ = clock_.elapsed();
    }
    return QObject::eventFilter(watched, event);
}

void WindowTimings::Print(const char* event, qint64 milliseconds) {
    err_ << "timing: " << event << ' ' << milliseconds << Qt::endl;
}

} // namespace quillory
