#pragma once
// Keeps the browser's own keyboard shortcuts (reload, new window, stop,
// help...) away from result pages. Installed on the widget that receives the
// web view's key events; while enabled it swallows key events that carry
// Ctrl or Alt or are a function key, Esc or Help, and passes every other key.
#include <QObject>
#include <Qt>

namespace quillory {

class KeyFilter final : public QObject {
    Q_OBJECT
public:
    explicit KeyFilter(QObject* parent = nullptr) : QObject(parent) {}

    void SetEnabled(bool on) { enabled_ = on; }
    bool enabled() const { return enabled_; }

    // Whether a key event with this key and these modifiers is swallowed
    // while the filter is enabled.
    static bool Swallows(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool enabled_ = false;
};

} // namespace quillory
