#include "stroke/player/StrokePlayer.h"

#include "settings/NameRegistry.h"
#include "settings/RegisteredNames.h"
#include "stroke/player/BitmapButton.h"
#include "stroke/player/PlayerDrawing.h"
#include "stroke/player/PlayerLayout.h"
#include "stroke/player/RegisteredMessageEvent.h"

#include <QCoreApplication>
#include <QPainter>

namespace quillory::stroke {

using namespace player_layout;

StrokePlayer::StrokePlayer(const NameRegistry& names, MessageReporter& reporter, QWidget* parent, QPoint at)
    : QWidget(parent), names_(names), renderer_(reporter), animation_(renderer_, *this),
      background_(kWidth, kHeight, QImage::Format_RGB32) {
    setObjectName(QStringLiteral("StrokePlayer"));
    setGeometry(at.x(), at.y(), kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    stepTimer_.setObjectName(QString::fromLatin1(kStrokeTimer));
    pauseTimer_.setObjectName(QString::fromLatin1(kStrokeTimer2));
    connect(&stepTimer_, &QTimer::timeout, this, [this] { animation_.StepTick(); });
    connect(&pauseTimer_, &QTimer::timeout, this, [this] { animation_.PauseTick(); });
    PaintBackground(background_, 0);
    CreateButtons();
}

StrokePlayer::~StrokePlayer() {
    StopTimers();
    renderer_.ReleaseGlyph();
}

void StrokePlayer::CreateButtons() {
    for (const ButtonPlace& place : kButtons) {
        const ButtonColours colours{QColor(place.colours.normal), QColor(place.colours.hover),
                                    QColor(place.colours.disabled)};
        auto* button = new BitmapButton(background_, colours, this);
        button->setObjectName(QString::fromLatin1(place.name));
        button->move(place.at);
        button->SetImage(place.image);
        buttons_[*names_.idOf(QString::fromLatin1(place.name))] = button;
    }
    const auto onClick = [this](const char* name, auto action) {
        connect(button(name), &QAbstractButton::clicked, this, action);
    };
    onClick(kStrokeButtonBeginning, [this] { animation_.Beginning(); });
    onClick(kStrokeButtonBack, [this] { animation_.Back(); });
    onClick(kStrokeButtonForward, [this] { animation_.PlayPause(); });
    onClick(kStrokeButtonNext, [this] { animation_.Next(); });
    onClick(kStrokeButtonEnd, [this] { animation_.End(); });
    onClick(kStrokeButtonClose, [this] { OnCloseClicked(); });
    // Speed is the pause's shortness: plus shortens it. A changed factor
    // applies from the next pause or sweep step.
    const auto onSetting = [&](const char* name, void (PlayerSettings::*change)()) {
        onClick(name, [this, change] {
            (animation_.settings().*change)();
            update();
        });
    };
    onSetting(kStrokeButtonPlusSpeed, &PlayerSettings::FasterPauses);
    onSetting(kStrokeButtonMinusSpeed, &PlayerSettings::SlowerPauses);
    onSetting(kStrokeButtonPlusScan, &PlayerSettings::WiderScan);
    onSetting(kStrokeButtonMinusScan, &PlayerSettings::NarrowerScan);
}

BitmapButton* StrokePlayer::button(const char* name) const {
    const std::optional<std::uint32_t> id = names_.idOf(QString::fromLatin1(name));
    const auto found = id ? buttons_.find(*id) : buttons_.end();
    return found == buttons_.end() ? nullptr : found->second;
}

void StrokePlayer::OnCloseClicked() {
    animation_.StopPlaying();
    if (QWidget* parent = parentWidget()) {
        const std::uint32_t message = *names_.idOf(QString::fromLatin1(kStrokeNotify));
        QCoreApplication::postEvent(
            parent, new RegisteredMessageEvent(message, kStrokeNotifyClose, kStrokeNotifyClose));
    }
}

void StrokePlayer::StartStroke(std::uint32_t code, int pixelSize) {
    animation_.Unload();
    renderer_.ReleaseGlyph();
    glyphOffset_ = QPoint(0, 0);
    RepaintAll();
    const bool strokeFont = renderer_.LoadGlyph(code, pixelSize);
    if (!strokeFont && !renderer_.LoadSecondFaceGlyph(code, pixelSize))
        return;
    // Centre the inked part of the glyph in the window.
    const InkBox& ink = renderer_.inkBox();
    if (ink.right != 0) {
        glyphOffset_ = QPoint((ink.left + kWidth - ink.right) / 2,
                              static_cast<int>(static_cast<unsigned>(ink.top - ink.bottom + kHeight) >> 1));
    }
    animation_.TakeGlyph();
    if (strokeFont && lookup_) {
        StrokeOrderBytes record{};
        const int entries = lookup_(code, record);
        animation_.LoadRecord(record, entries);
    }
    RepaintAll();
}

void StrokePlayer::Close() {
    StopTimers();
    hide();
    deleteLater();
}

void StrokePlayer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, background_);
    DrawGauge(painter, kSpeedBar, animation_.settings().speedTicksLit());
    DrawGauge(painter, kScanBar, animation_.settings().scanTicksLit());
    DrawGlyphBitmap(painter, glyphOffset_, animation_.glyphBitmap(), kGlyph);
    DrawGlyphBitmap(painter, glyphOffset_, animation_.revealedBitmap(), kRevealed);
}

void StrokePlayer::StopTimers() {
    stepTimer_.stop();
    pauseTimer_.stop();
}

void StrokePlayer::StartStepTimer() {
    stepTimer_.start(kStepIntervalMs);
}

void StrokePlayer::StartPauseTimer(int ms) {
    pauseTimer_.start(ms);
}

void StrokePlayer::ShowPlaying(bool playing) {
    if (BitmapButton* forward = button(kStrokeButtonForward))
        forward->SetImage(playing ? player_image::kPause : player_image::kPlay);
}

void StrokePlayer::RepaintAll() {
    PaintBackground(background_, animation_.strokeCount());
    for (const auto& [id, button] : buttons_)
        button->update();
    update();
}

void StrokePlayer::RedrawRevealed() {
    update();
}

} // namespace quillory::stroke
