#pragma once
// A tip window for registered tools: after the pointer rests on a tool for
// a moment the tool's text appears below the pointer; it goes away when the
// pointer moves to another tool, on a key or button press, or after a time
// limit unless the pointer is on the tip itself. The owner relays its
// events through relayEvent (or installs the tip as an event filter).
#include <QColor>
#include <QFont>
#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace quillory {

struct TooltipTool {
    QPointer<QWidget> window; // the tool's window
    std::uint32_t id = 0;     // with window, identifies the tool
    // A part of the window, in its coordinates; a null rectangle stands for
    // the whole window.
    QRect rect{};
    QString text{};
    bool textFromOwner = false; // the owner's text provider gives the text when shown
    int maxWidth = 0;           // 0: as wide as the widest line
    QColor textColour{};        // invalid: the system's tip colours
    QColor backgroundColour{};
    qintptr param = 0; // passed along to the text provider
};

// The text shown for a tool's text and callout side. A text holding a
// carriage return carries two variants: side 0 shows the part before it
// followed by two spaces, side 1 two spaces followed by the part after it;
// the spaces leave room for the callout triangle.
struct CalloutText {
    QString text;
    bool callout = false;
};
CalloutText ChooseCalloutText(const QString& toolText, int side);

// Where a tip of the given size goes for the anchor point (pointer plus
// offset): moved left or right to stay within area, and placed just above
// the tool when it would pass the bottom edge; never above the area's top.
QPoint PlaceTip(const QSize& tipSize, const QPoint& anchor, const QRect& toolRect, const QRect& area);

class TooltipWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kInitialDelayMs = 500;
    static constexpr int kPollIntervalMs = 500;
    static constexpr int kShowLimitMs = 30000;
    static constexpr QMargins kMargins{2, 2, 3, 3};
    static constexpr QPoint kCursorOffset{0, 20};

    using TextProvider = std::function<QString(const TooltipTool&)>;
    using FontProvider = std::function<std::optional<QFont>(std::uint32_t id)>;
    using CursorSource = std::function<QPoint()>;
    using WidgetLocator = std::function<QWidget*(const QPoint& globalPos)>;

    // A top-level tip owned by owner; freed with it.
    explicit TooltipWindow(QWidget* owner);
    ~TooltipWindow() override;

    // Adds a tool, replacing one with the same window and id.
    void AddTool(const TooltipTool& tool);
    // Makes tool the only tool of its window, replacing any others it had.
    void setWindowTool(const TooltipTool& tool);
    bool RemoveTool(const QWidget* window, std::uint32_t id);
    const std::vector<TooltipTool>& tools() const { return tools_; }

    // Asked for the text of tools marked textFromOwner.
    void setTextProvider(TextProvider provider);
    // The display font for a tool's id; the system tip font when it gives none.
    void setFontProvider(FontProvider provider);
    // Replace the pointer position and the widget look-up (tests, embedding).
    void setCursorSource(CursorSource source);
    void setWidgetLocator(WidgetLocator locator);

    void setTipsEnabled(bool enabled);
    bool tipsEnabled() const { return enabled_; }

    // Takes a font for every tip, no longer following the system's.
    void setTipFont(const QFont& font);
    // Follows the system's tip font again.
    void UseSystemFont();
    QFont tipFont() const { return tipFont_; }

    // Every event of the owner's windows passes through here.
    void RelayEvent(QObject* watched, QEvent* event);
    bool eventFilter(QObject* watched, QEvent* event) override;

    const TooltipTool* currentTool() const;
    // The index in tools() of the tool under a global point, or -1.
    int toolAt(const QPoint& globalPos) const;

    bool isWaiting() const { return delayTimer_.isActive(); }
    bool isPolling() const { return pollTimer_.isActive(); }
    bool isTipHidden() const { return hidden_; }
    int elapsedMs() const { return elapsed_; }
    QString shownText() const { return shownText_; }
    QFont shownFont() const { return shownFont_; }
    bool hasCallout() const { return callout_; }
    int calloutSide() const { return calloutSide_; }

public slots:
    // The initial delay is over: shows the current tool's tip at the pointer.
    void showPendingTip();
    // One poll while a tip is shown.
    void poll();
    // Hides the tip and stops waiting and polling.
    void hideTip();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool showTip(const QPoint& anchor, int side, bool fromPointer);
    bool isOverTip(const QPoint& globalPos) const;
    QRect toolGlobalRect(const TooltipTool& tool) const;
    QFont fontFor(const TooltipTool& tool) const;
    QString textOf(const TooltipTool& tool) const;
    void onMouseMove(const QPoint& globalPos);
    void stopTimers();
    void removeToolAt(int index);

    QPointer<QWidget> owner_;
    std::vector<TooltipTool> tools_;
    int current_ = -1;
    TextProvider textProvider_;
    FontProvider fontProvider_;
    CursorSource cursorSource_;
    WidgetLocator widgetLocator_;
    QTimer delayTimer_;
    QTimer pollTimer_;
    QFont tipFont_;
    bool followsSystemFont_ = true;
    bool enabled_ = true;
    bool hidden_ = true;
    int elapsed_ = 0;
    QString shownText_;
    bool callout_ = false;
    int calloutSide_ = 0;
    QFont shownFont_;
    QColor shownTextColour_;
    QColor shownBackground_;
};

} // namespace quillory
