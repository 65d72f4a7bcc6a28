#pragma once
// The stroke player: a 239 x 239 child window that draws a character stroke
// by stroke over a handwriting grid, with transport buttons, a close
// button, the stroke count and the speed and scan gauges. Its glyphs come
// from the glyph renderer, its records from a look-up the owner gives; it
// runs the animation's two timers and posts WM_STROKE_NOTIFY to its parent
// when its close button is clicked.
#include "stroke/glyph/GlyphRenderer.h"
#include "stroke/model/AnimationHost.h"
#include "stroke/model/StrokeAnimation.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>

namespace quillory {
class MessageReporter;
class NameRegistry;
} // namespace quillory

namespace quillory::stroke {

class BitmapButton;

class StrokePlayer final : public QWidget, private AnimationHost {
    Q_OBJECT
public:
    // A character's stroke-order record: its entry count, 0 or less for none.
    using RecordLookup = std::function<int(std::uint32_t code, StrokeOrderBytes& record)>;

    // Button and timer ids and the notify message come from names; the
    // renderer's messages go to reporter. The player is placed at (x, y).
    StrokePlayer(const NameRegistry& names, MessageReporter& reporter, QWidget* parent, QPoint at = {});
    ~StrokePlayer() override;

    void setRecordLookup(RecordLookup lookup) { lookup_ = std::move(lookup); }
    GlyphRenderer& renderer() { return renderer_; }

    // Shows a character: its glyph grey, then, when it has a record, its
    // strokes played in black. A character the stroke font lacks is drawn
    // grey from the second font and does not animate.
    void StartStroke(std::uint32_t code, int pixelSize);
    // Stops the timers and destroys the window (at the program's exit).
    void Close();

    // For tests and screenshots.
    BitmapButton* button(const char* name) const;
    StrokeAnimation& animation() { return animation_; }
    const QImage& savedBackground() const { return background_; }
    QPoint glyphOffset() const { return glyphOffset_; }
    const QTimer& stepTimer() const { return stepTimer_; }
    const QTimer& pauseTimer() const { return pauseTimer_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void StopTimers() override;
    void StartStepTimer() override;
    void StartPauseTimer(int ms) override;
    void ShowPlaying(bool playing) override;
    void RepaintAll() override;
    void RedrawRevealed() override;

    void CreateButtons();
    void OnCloseClicked();

    const NameRegistry& names_;
    GlyphRenderer renderer_;
    StrokeAnimation animation_;
    RecordLookup lookup_;
    // Grid and digits as last painted, without glyph or gauges; the buttons
    // draw their clear pixels from it.
    QImage background_;
    QPoint glyphOffset_;
    QTimer stepTimer_;
    QTimer pauseTimer_;
    std::map<std::uint32_t, BitmapButton*> buttons_;
};

} // namespace quillory::stroke
