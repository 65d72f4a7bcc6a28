#pragma once
// The update check's controls in the main window: the "New Updates
// Available" button and its three lamps stay hidden until the check finds a
// newer version; then they show, the lamps blink and a click on any of them
// opens the address found.
#include "app/update/UpdateLamps.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QWidget;

namespace quillory {

class FlatButton;
class MainControls;
class UpdateChecker;

class UpdateControls final : public QObject {
    Q_OBJECT
public:
    // Hides the update button and lamps of controls, shows the lamps unlit
    // and opens the address found through openAddress when one is clicked.
    UpdateControls(QWidget* window, const MainControls& controls,
                   std::function<void(const QString&)> openAddress);

    // Asks the vendor's server for a version newer than the program and
    // dataVersion, without waiting for the answer.
    void Start(const QString& dataVersion);

private:
    void ShowLamps(const LampStates& lamps);

    QWidget* window_;
    FlatButton* updateButton_;
    std::array<FlatButton*, 3> lamps_;
    std::function<void(const QString&)> openAddress_;
    UpdateIndicator* indicator_ = nullptr;
    UpdateChecker* checker_ = nullptr;
};

} // namespace quillory
