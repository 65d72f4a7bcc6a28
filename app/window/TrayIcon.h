#pragma once
// The icon in the notification area, where the desktop has one, and the
// animation of the window's icons: every 500 ms the next of three frames
// goes onto the tray icon and the window. The tray icon is removed when this
// object goes, which must happen before the application object ends.
#include <QObject>

class QMenu;
class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace quillory {

class TrayIcon final : public QObject {
    Q_OBJECT
public:
    static constexpr int kFrameIntervalMs = 500;

    // menu: shown on a right click of the tray icon.
    TrayIcon(QWidget* window, QMenu* menu);
    ~TrayIcon() override;

    // A tray icon is in the notification area: hiding the window is safe.
    bool isShown() const;
    bool isAnimated() const;
    int frame() const { return frame_; }

    // On: the frames change every 500 ms. Off: the first frame stays.
    void setAnimated(bool on);
    // Stops the animation and removes the tray icon (at exit).
    void Remove();

signals:
    // A double click on the tray icon: the window shows itself.
    void activated();

private:
    void ShowFrame(int frame);

    QWidget* window_;
    QSystemTrayIcon* tray_ = nullptr;
    QTimer* timer_;
    int frame_ = 0;
};

} // namespace quillory
