#include "controls/TooltipWindow.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QWindow>
#include <algorithm>

namespace quillory {
namespace {

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
const QString kCalloutRoom = QStringLiteral("  ");

bool IsHidingEvent(const QEvent& event) {
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
        return true;
    case QEvent::MouseButtonPress:
        // Left presses hide the tip unless they land on it (checked by the caller).
        return static_cast<const QMouseEvent&>(event).button() != Qt::LeftButton;
    default:
        return false;
    }
}

// The width of the widest line, lines split at line feeds.
int WidestLine(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(u'\n')) {
        widest = std::max(widest, metrics.size(Qt::TextExpandTabs | Qt::TextSingleLine, line).width());
    }
    return widest;
}

} // namespace

CalloutText ChooseCalloutText(const QString& toolText, int side) {
    const qsizetype split = toolText.indexOf(u'\r');
    if (split < 0) {
        return {toolText, false};
    }
    if (side == 0) {
        return {toolText.left(split) + kCalloutRoom, true};
    }
    return {kCalloutRoom + toolText.mid(split + 1), true};
}

QPoint PlaceTip(const QSize& tipSize, const QPoint& anchor, const QRect& toolRect, const QRect& area) {
    QRect tip(anchor, tipSize);
    if (tip.right() > area.right()) {
        tip.moveRight(area.right());
    }
    if (tip.left() < area.left()) {
        tip.moveLeft(area.left());
    }
    if (tip.bottom() > area.bottom()) {
        if (toolRect.isValid()) {
            tip.moveBottom(toolRect.top() - 1);
        } else {
            tip.moveBottom(area.bottom());
        }
    }
    if (tip.top() < area.top()) {
        tip.moveTop(area.top());
    }
    return tip.topLeft();
}

TooltipWindow::TooltipWindow(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus),
      owner_(owner), cursorSource_([] { return QCursor::pos(); }),
      widgetLocator_([](const QPoint& pos) { return QApplication::widgetAt(pos); }),
      tipFont_(QToolTip::font()) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 10, 10);
    delayTimer_.setSingleShot(true);
    delayTimer_.setInterval(kInitialDelayMs);
    pollTimer_.setInterval(kPollIntervalMs);
    connect(&delayTimer_, &QTimer::timeout, this, &TooltipWindow::showPendingTip);
    connect(&pollTimer_, &QTimer::timeout, this, &TooltipWindow::poll);
}

TooltipWindow::~TooltipWindow() {
    stopTimers();
}

void TooltipWindow::AddTool(const TooltipTool& tool) {
    for (TooltipTool& existing : tools_) {
        if (existing.window == tool.window && existing.id == tool.id) {
            existing = tool;
            return;
        }
    }
    tools_.push_back(tool);
}

void TooltipWindow::setWindowTool(const TooltipTool& tool) {
    const auto first = std::find_if(tools_.begin(), tools_.end(), [&](const TooltipTool& existing) {
        return existing.window == tool.window;
    });
    if (first == tools_.end()) {
        tools_.push_back(tool);
        return;
    }
    // Replaced in place, so a tool waiting or shown stays the current one.
    *first = tool;
    const int kept = static_cast<int>(first - tools_.begin());
    for (int index = static_cast<int>(tools_.size()) - 1; index > kept; --index) {
        if (tools_[static_cast<std::size_t>(index)].window == tool.window) {
            removeToolAt(index);
        }
    }
}

bool TooltipWindow::RemoveTool(const QWidget* window, std::uint32_t id) {
    const auto found = std::find_if(tools_.begin(), tools_.end(), [&](const TooltipTool& tool) {
        return tool.window == window && tool.id == id;
    });
    if (found == tools_.end()) {
        return false;
    }
    removeToolAt(static_cast<int>(found - tools_.begin()));
    return true;
}

void TooltipWindow::removeToolAt(int index) {
    if (index == current_) {
        hideTip();
        current_ = -1;
    } else if (index < current_) {
        --current_;
    }
    tools_.erase(tools_.begin() + index);
}

void TooltipWindow::setTextProvider(TextProvider provider) {
    textProvider_ = std::move(provider);
}

void TooltipWindow::setFontProvider(FontProvider provider) {
    fontProvider_ = std::move(provider);
}

void TooltipWindow::setCursorSource(CursorSource source) {
    cursorSource_ = std::move(source);
}

void TooltipWindow::setWidgetLocator(WidgetLocator locator) {
    widgetLocator_ = std::move(locator);
}

void TooltipWindow::setTipsEnabled(bool enabled) {
    enabled_ = enabled;
    if (!enabled) {
        stopTimers();
        hideTip();
    }
}

void TooltipWindow::setTipFont(const QFont& font) {
    tipFont_ = font;
    followsSystemFont_ = false;
}

void TooltipWindow::UseSystemFont() {
    tipFont_ = QToolTip::font();
    followsSystemFont_ = true;
}

const TooltipTool* TooltipWindow::currentTool() const {
    return current_ >= 0 && current_ < static_cast<int>(tools_.size()) ? &tools_[current_] : nullptr;
}

int TooltipWindow::toolAt(const QPoint& globalPos) const {
    QWidget* under = widgetLocator_ ? widgetLocator_(globalPos) : nullptr;
    if (!under || under == this || isAncestorOf(under)) {
        return -1;
    }
    // The innermost window that has a tool at the point wins.
    for (QWidget* window = under; window; window = window->parentWidget()) {
        for (int index = 0; index < static_cast<int>(tools_.size()); ++index) {
            const TooltipTool& tool = tools_[index];
            if (tool.window != window || !window->isVisible()) {
                continue;
            }
            if (tool.rect.isNull() || tool.rect.contains(window->mapFromGlobal(globalPos))) {
                return index;
            }
        }
        if (window->isWindow()) {
            break;
        }
    }
    return -1;
}

bool TooltipWindow::isOverTip(const QPoint& globalPos) const {
    return isVisible() && frameGeometry().contains(globalPos);
}

QRect TooltipWindow::toolGlobalRect(const TooltipTool& tool) const {
    if (!tool.window) {
        return {};
    }
    const QRect local = tool.rect.isNull() ? tool.window->rect() : tool.rect;
    return QRect(tool.window->mapToGlobal(local.topLeft()), local.size());
}

QFont TooltipWindow::fontFor(const TooltipTool& tool) const {
    if (fontProvider_) {
        if (std::optional<QFont> font = fontProvider_(tool.id)) {
            return *font;
        }
    }
    return tipFont_;
}

QString TooltipWindow::textOf(const TooltipTool& tool) const {
    if (tool.textFromOwner) {
        return textProvider_ ? textProvider_(tool) : QString();
    }
    return tool.text;
}

void TooltipWindow::stopTimers() {
    delayTimer_.stop();
    pollTimer_.stop();
}

void TooltipWindow::hideTip() {
    stopTimers();
    hidden_ = true;
    hide();
}

void TooltipWindow::onMouseMove(const QPoint& globalPos) {
    const int index = toolAt(globalPos);
    if (index >= 0) {
        if (index != current_ && !isOverTip(globalPos)) {
            stopTimers();
            hideTip();
            current_ = index;
            hidden_ = false;
            delayTimer_.start();
        }
    } else if (hidden_) {
        current_ = -1;
    }
}

void TooltipWindow::RelayEvent(QObject* watched, QEvent* event) {
    if (!enabled_ || !event) {
        return;
    }
    if (event->type() == QEvent::MouseMove) {
        onMouseMove(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return;
    }
    if (watched == this || watched == static_cast<QObject*>(windowHandle())) {
        return; // presses on the tip are its own (mousePressEvent)
    }
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (!isOverTip(mouse->globalPosition().toPoint())) {
                stopTimers();
                hideTip();
            }
            return;
        }
    }
    if (IsHidingEvent(*event)) {
        stopTimers();
        hideTip();
    }
}

bool TooltipWindow::eventFilter(QObject* watched, QEvent* event) {
    RelayEvent(watched, event);
    return false;
}

void TooltipWindow::showPendingTip() {
    delayTimer_.stop();
    const TooltipTool* tool = currentTool();
    if (!tool) {
        return;
    }
    const QPoint cursor = cursorSource_();
    if (toolAt(cursor) != current_) {
        // The pointer left before the delay was over: forget the tool, so
        // that coming back to it starts a new wait.
        hideTip();
        return;
    }
    if (showTip(cursor + kCursorOffset, 0, true)) {
        elapsed_ = 0;
        pollTimer_.start();
    }
}

void TooltipWindow::poll() {
    elapsed_ += kPollIntervalMs;
    const QPoint cursor = cursorSource_();
    const int index = toolAt(cursor);
    if (index >= 0 && index != current_) {
        pollTimer_.stop();
        hideTip();
        return;
    }
    if (index >= 0 && index == current_ && elapsed_ < kShowLimitMs) {
        return;
    }
    if (isOverTip(cursor)) {
        return;
    }
    pollTimer_.stop();
    hideTip();
}

bool TooltipWindow::showTip(const QPoint& anchor, int side, bool fromPointer) {
    const TooltipTool* tool = currentTool();
    if (!tool) {
        return false;
    }
    const CalloutText chosen = ChooseCalloutText(textOf(*tool), side);
    if (chosen.text.isEmpty()) {
        return false;
    }
    shownText_ = chosen.text;
    callout_ = chosen.callout;
    calloutSide_ = side;
    shownFont_ = fontFor(*tool);
    const QPalette tipPalette = QToolTip::palette();
    shownTextColour_ =
        tool->textColour.isValid() ? tool->textColour : tipPalette.color(QPalette::ToolTipText);
    shownBackground_ =
        tool->backgroundColour.isValid() ? tool->backgroundColour : tipPalette.color(QPalette::ToolTipBase);

    const QFontMetrics metrics(shownFont_);
    int width = std::max(1, WidestLine(metrics, shownText_));
    if (tool->maxWidth > 0) {
        width = std::min(width, tool->maxWidth);
    }
    const int height = metrics.boundingRect(QRect(0, 0, width, 1 << 20), kTextFlags, shownText_).height();
    const QSize size = QSize(width, height).grownBy(kMargins);

    QScreen* screen = QGuiApplication::screenAt(anchor);
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    const QRect area = screen ? screen->availableGeometry() : QRect(anchor, size);
    const QRect toolRect = fromPointer ? toolGlobalRect(*tool) : QRect();
    setGeometry(QRect(PlaceTip(size, anchor, toolRect, area), size));
    hidden_ = false;
    show();
    update();
    return true;
}

void TooltipWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), shownBackground_);
    painter.setPen(shownTextColour_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(shownFont_);
    painter.setBackgroundMode(Qt::TransparentMode);
    const QRect textArea = rect().marginsRemoved(kMargins);
    painter.drawText(textArea, kTextFlags, shownText_);

    if (callout_) {
        // A small triangle in the room the two spaces leave: at the end of
        // the text pointing up for side 0, at its start pointing down for side 1.
        const QFontMetrics metrics(shownFont_);
        const int room = metrics.horizontalAdvance(kCalloutRoom);
        const qreal half = std::max(2.0, room / 2.0 - 1.0);
        const qreal rise = std::max(2.0, metrics.ascent() / 3.0);
        const qreal middleY = textArea.top() + metrics.height() / 2.0;
        const qreal middleX =
            calloutSide_ == 0 ? textArea.right() - room / 2.0 : textArea.left() + room / 2.0;
        const qreal tipY = calloutSide_ == 0 ? middleY - rise : middleY + rise;
        const qreal baseY = calloutSide_ == 0 ? middleY + rise : middleY - rise;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawPolygon(QPolygonF{QPointF(middleX, tipY), QPointF(middleX + half, baseY),
                                      QPointF(middleX - half, baseY)});
    }
}

void TooltipWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && callout_) {
        QPointer<QWidget> focusBefore = QApplication::focusWidget();
        showTip(pos(), calloutSide_ == 0 ? 1 : 0, false);
        if (focusBefore && QApplication::focusWidget() != focusBefore) {
            focusBefore->activateWindow();
            focusBefore->setFocus();
        }
    }
    event->accept();
}

bool TooltipWindow::event(QEvent* event) {
    if (event->type() == QEvent::ApplicationFontChange && followsSystemFont_) {
        tipFont_ = QToolTip::font();
    }
    return QWidget::event(event);
}

} // namespace quillory
