#include "app/window/TrayIcon.h"

#include "controls/ButtonImages.h"
#include "settings/ProductInfo.h"

#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

namespace quillory {
namespace {

// The animation's frames, in turn.
constexpr int kTrayFrames[] = {image::kIconFrame1, image::kIconFrame1, image::kIconFrame2};
constexpr int kTrayFrameCount = static_cast<int>(std::size(kTrayFrames));

} // namespace

TrayIcon::TrayIcon(QWidget* window, QMenu* menu)
    : QObject(window), window_(window), timer_(new QTimer(this)) {
    timer_->setInterval(kFrameIntervalMs);
    connect(timer_, &QTimer::timeout, this, [this] { ShowFrame((frame_ + 1) % kTrayFrameCount); });
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return;
    }
    // No parent: it is deleted here, never left for the application's end.
    tray_ = new QSystemTrayIcon(ImageIcon(kTrayFrames[0]));
    tray_->setToolTip(QString::fromLatin1(kProgramTitle));
    tray_->setContextMenu(menu);
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) {
            emit activated();
        }
    });
    tray_->show();
}

TrayIcon::~TrayIcon() {
    Remove();
}

bool TrayIcon::isShown() const {
    return tray_ && tray_->isVisible();
}

bool TrayIcon::isAnimated() const {
    return timer_->isActive();
}

void TrayIcon::setAnimated(bool on) {
    if (on && !timer_->isActive()) {
        timer_->start();
    } else if (!on && timer_->isActive()) {
        timer_->stop();
        ShowFrame(0);
    }
}

void TrayIcon::Remove() {
    timer_->stop();
    delete tray_;
    tray_ = nullptr;
}

void TrayIcon::ShowFrame(int frame) {
    frame_ = frame;
    const QIcon icon = ImageIcon(kTrayFrames[frame]);
    if (tray_) {
        tray_->setIcon(icon);
    }
    window_->setWindowIcon(icon);
}

} // namespace quillory
