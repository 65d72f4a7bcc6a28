#include "app/window/WindowStrokeActions.h"

#include "dictionary/Dictionary.h"
#include "settings/NameRegistry.h"
#include "settings/RegisteredNames.h"
#include "stroke/player/PlayerLayout.h"
#include "stroke/player/RegisteredMessageEvent.h"
#include "stroke/player/StrokePlayer.h"
#include "stroke/records/StrokeOrderFormat.h"
#include "stroke/records/StrokeOrderStore.h"

#include <QFile>
#include <QRegion>
#include <QWidget>
#include <algorithm>

namespace quillory {

using stroke::player_layout::kHeight;
using stroke::player_layout::kMargin;
using stroke::player_layout::kWidth;

// The cut-out's margins around the player: left and top, right and bottom.
constexpr int kCutOutNear = 1;
constexpr int kCutOutFar = 2;

WindowStrokeActions::WindowStrokeActions(QWidget* window) : window_(window) {}

WindowStrokeActions::~WindowStrokeActions() = default;

void WindowStrokeActions::CreatePlayer(QWidget* view, const NameRegistry& names, MessageReporter& reporter,
                                       Dictionary& dictionary) {
    view_ = view;
    names_ = &names;
    const DataFiles& files = dictionary.files();
    store_ = std::make_unique<stroke::StrokeOrderStore>(
        dictionary.index(), files.DataPath(QString::fromLatin1(stroke::kStrokeOrderFileName)));
    player_ = new stroke::StrokePlayer(names, reporter, window_);
    player_->hide();
    PlacePlayer();
    // Characters the stroke font lacks come from mingliu.ttc in the data
    // folder when one is there, else from a Chinese font of the system.
    const QString secondFont = files.DataPath(QStringLiteral("mingliu.ttc"));
    player_->renderer().SetFontPaths(
        QFile::encodeName(files.DataPath(QString::fromLatin1(stroke::kStrokeFontFileName))),
        QFile::exists(secondFont) ? QFile::encodeName(secondFont) : stroke::SystemCjkFontPath());
    player_->setRecordLookup([store = store_.get()](std::uint32_t code, stroke::StrokeOrderBytes& record) {
        return store->ReadRecord(code, record);
    });
}

void WindowStrokeActions::StartStroke(std::uint32_t code, int pixelSize) {
    if (!player_)
        return;
    ShowPlayer();
    player_->StartStroke(code, pixelSize);
}

// 28 pixels in from the window's right and bottom edges, but never past the
// browser pane's own edges (with the cut-out's margin): where the footer
// below the pane is taller than 28 pixels, the player rises with the pane.
void WindowStrokeActions::PlacePlayer() {
    if (!player_ || !view_)
        return;
    const QRect pane = view_->geometry();
    const int x = window_->width() - kWidth - kMargin;
    const int y = window_->height() - kHeight - kMargin;
    player_->move(std::min(x, pane.x() + pane.width() - kWidth - kCutOutFar),
                  std::min(y, pane.y() + pane.height() - kHeight - kCutOutFar));
    if (player_->isVisible())
        CutOutOfView();
}

// The browser pane leaves out the player's rectangle, widened by 1 on the
// left and top and by 2 on the right and bottom.
void WindowStrokeActions::CutOutOfView() {
    const QRect covered(view_->mapFrom(window_, player_->pos()), player_->size());
    const QRect cut = covered.adjusted(-kCutOutNear, -kCutOutNear, kCutOutFar, kCutOutFar);
    view_->setMask(QRegion(view_->rect()).subtracted(QRegion(cut)));
}

void WindowStrokeActions::ShowPlayer() {
    if (!player_ || !view_)
        return;
    CutOutOfView();
    player_->raise();
    player_->show();
}

void WindowStrokeActions::HidePlayer() {
    if (!player_ || !view_)
        return;
    view_->clearMask();
    player_->hide();
}

bool WindowStrokeActions::HandleEvent(QEvent* event) {
    if (event->type() != RegisteredMessageEvent::eventType() || !names_)
        return false;
    const auto* message = static_cast<RegisteredMessageEvent*>(event);
    if (message->message() != names_->idOf(QString::fromLatin1(kStrokeNotify)))
        return false;
    if (message->wParam() == kStrokeNotifyClose)
        HidePlayer();
    return true;
}

void WindowStrokeActions::ClosePlayer() {
    if (!player_)
        return;
    HidePlayer();
    player_->Close();
    player_ = nullptr;
}

} // namespace quillory
