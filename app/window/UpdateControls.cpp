#include "app/window/UpdateControls.h"

#include "app/update/UpdateCheck.h"
#include "app/update/UpdateLamps.h"
#include "app/update/UpdateServer.h"
#include "app/window/MainControls.h"
#include "controls/ButtonImages.h"
#include "controls/FlatButton.h"
#include "settings/ControlIds.h"

#include <QWidget>

namespace quillory {
namespace {

// The colour left out of the lamp pictures.
const QColor kLampTransparent(0xFF, 0x00, 0xFF);

} // namespace

UpdateControls::UpdateControls(QWidget* window, const MainControls& controls,
                               std::function<void(const QString&)> openAddress)
    : QObject(window), window_(window),
      updateButton_(controls.button(kButtonUpdate)), lamps_{controls.button(kUpdateLamp1),
                                                            controls.button(kUpdateLamp2),
                                                            controls.button(kUpdateLamp3)},
      openAddress_(std::move(openAddress)) {
    auto openFound = [this] {
        if (indicator_ && !indicator_->address().isEmpty()) {
            openAddress_(indicator_->address());
        }
    };
    updateButton_->hide();
    connect(updateButton_, &QAbstractButton::clicked, this, openFound);
    for (FlatButton* lamp : lamps_) {
        lamp->hide();
        connect(lamp, &QAbstractButton::clicked, this, openFound);
    }
    ShowLamps({false, false, false});
}

void UpdateControls::Start(const QString& dataVersion) {
    // Children of the window, as every other part of it.
    indicator_ = new UpdateIndicator(window_);
    connect(indicator_, &UpdateIndicator::controlsVisibleChanged, this, [this](bool visible) {
        // The tooltip shows the address a click opens, so the user sees
        // where it goes before going there.
        const QString address = visible ? indicator_->address() : QString();
        updateButton_->setVisible(visible);
        updateButton_->setToolTip(address);
        for (FlatButton* lamp : lamps_) {
            lamp->setVisible(visible);
            lamp->setToolTip(address);
        }
    });
    connect(indicator_, &UpdateIndicator::lampsChanged, this, &UpdateControls::ShowLamps);
    checker_ = new UpdateChecker(ConfiguredUpdateServer(), UpdateVersions::Current(dataVersion), window_);
    connect(checker_, &UpdateChecker::finished, indicator_, &UpdateIndicator::showCheckResult);
    checker_->Start();
}

void UpdateControls::ShowLamps(const LampStates& lamps) {
    for (std::size_t i = 0; i < lamps.size(); ++i) {
        lamps_[i]->setPicture(
            ImagePixmap(lamps[i] ? image::kLampLit : image::kLampUnlit, window_->devicePixelRatioF()),
            kLampTransparent);
    }
}

} // namespace quillory
