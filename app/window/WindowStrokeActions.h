#pragma once
// The main window's stroke player: created hidden over the lower right
// corner of the window, shown over the browser pane (cut out of the pane)
// when a stroke-order request arrives, hidden again when the player asks,
// and kept in its corner when the window is resized.
#include "pages/protocol/WindowActions.h"

#include <cstdint>
#include <memory>

class QEvent;
class QWidget;

namespace quillory {

class Dictionary;
class MessageReporter;
class NameRegistry;

namespace stroke {
class StrokeOrderStore;
class StrokePlayer;
} // namespace stroke

class WindowStrokeActions final : public StrokeActions {
public:
    explicit WindowStrokeActions(QWidget* window);
    ~WindowStrokeActions() override;

    // The player, with the stroke font and stroke-order store of the data
    // folder; view is the browser pane it covers when shown.
    void CreatePlayer(QWidget* view, const NameRegistry& names, MessageReporter& reporter,
                      Dictionary& dictionary);

    // Shows the player over the browser and starts it.
    void StartStroke(std::uint32_t code, int pixelSize) override;
    void ShowPlayer();
    void HidePlayer();
    // Puts the player back in the window's corner, as after a resize.
    void PlacePlayer();
    // Hides the player on its close request; true when event was that message.
    bool HandleEvent(QEvent* event);
    // Stops and destroys the player (at the program's exit).
    void ClosePlayer();

    stroke::StrokePlayer* player() const { return player_; }

private:
    void CutOutOfView();

    QWidget* window_;
    QWidget* view_ = nullptr;
    const NameRegistry* names_ = nullptr;
    std::unique_ptr<stroke::StrokeOrderStore> store_;
    stroke::StrokePlayer* player_ = nullptr; // a child of window_
};

} // namespace quillory
