#pragma once
// With QUILLORY_TIMINGS=1 in the environment, the program prints one line per
// event to standard error, "timing: EVENT MILLISECONDS": from process start to
// the window shown (window-shown) and to the first page painted
// (welcome-painted); from each click or Enter to the page it brought painted
// (page-painted); from a speaker click to its sound started (sound-started).
#include <QElapsedTimer>
#include <QObject>
#include <QTextStream>

namespace quillory {

class WindowTimings final : public QObject {
    Q_OBJECT
public:
    // True when QUILLORY_TIMINGS=1 asks for timings.
    static bool requested();

    // Times the given window; the clock runs from the process's start.
    explicit WindowTimings(QWidget* window, QObject* parent = nullptr);

    void ReportPagePainted();
    void ReportSoundStarted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Print(const char* event, qint64 milliseconds);

    QWidget* window_;
    QElapsedTimer clock_;
    // Milliseconds from the process's start to the clock's start.
    qint64 startOffset_ = 0;
    // When the last click or Enter came, on clock_; -1: none since the last report.
    qint64 requestAt_ = -1;
    bool windowShown_ = false;
    bool welcomePainted_ = false;
    QTextStream err_;
};

} // namespace quillory
