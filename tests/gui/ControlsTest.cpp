// The small controls: clock, language label, tip window step by step, hyperlink, FlatButton, drawn images.
#include "controls/ButtonImages.h"
#include "controls/ClockLabel.h"
#include "controls/FlatButton.h"
#include "controls/HyperlinkLabel.h"
#include "controls/LanguageLabel.h"
#include "controls/TooltipWindow.h"

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace quillory;
using namespace Qt::StringLiterals;

namespace {

// The number of opaque pixels of the colour, or with no colour of pixels not fully transparent.
int Pixels(const QImage& image, std::optional<QColor> colour = std::nullopt) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(argb.constBits()); // rows of ARGB32 have no padding
    return int(std::count_if(pixels, pixels + argb.width() * argb.height(), [&](QRgb pixel) {
        return colour ? qAlpha(pixel) == 255 && (pixel & 0xFFFFFF) == (colour->rgb() & 0xFFFFFF)
                      : qAlpha(pixel) > 0;
    }));
}

bool HasPixel(const QImage& image, const QColor& colour) {
    return Pixels(image, colour) > 0;
}

QImage Grab(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// An owner window with two tool widgets and a spare area; the test sets the tip's pointer position.
struct TipStage {
    QWidget owner;
    QWidget* first = new QWidget(&owner);
    QWidget* second = new QWidget(&owner);
    TooltipWindow* tip = new TooltipWindow(&owner);
    QPoint cursor;

    explicit TipStage(const QRect& ownerGeometry = QRect(100, 100, 300, 200)) {
        owner.setGeometry(ownerGeometry);
        first->setGeometry(10, 10, 60, 20);
        second->setGeometry(100, 10, 60, 20);
        tip->setCursorSource([this] { return cursor; });
        // The tip itself, else the owner's child under the point, else the owner; nothing outside.
        tip->setWidgetLocator([this](const QPoint& global) -> QWidget* {
            const QPoint local = owner.mapFromGlobal(global);
            QWidget* child = owner.childAt(local) ? owner.childAt(local) : &owner;
            return tip->isVisible() && tip->geometry().contains(global) ? tip
                   : owner.rect().contains(local)                       ? child
                                                                        : nullptr;
        });
        tip->AddTool({first, 1, {}, u"First tip"_s});
        tip->AddTool({second, 2, {}, u"Second tip"_s});
        owner.show();
    }

    QPoint centreOf(QWidget* widget) const { return widget->mapToGlobal(widget->rect().center()); }
    QPoint emptySpot() const { return owner.mapToGlobal(QPoint(250, 150)); }

    // Relays a mouse event at a global position to the tip window, as its filter sees it.
    void send(const QPoint& global, QEvent::Type type = QEvent::MouseMove,
              Qt::MouseButton button = Qt::NoButton) {
        QMouseEvent event(type, owner.mapFromGlobal(global), global, button, button, Qt::NoModifier);
        tip->RelayEvent(&owner, &event);
    }

    void moveTo(const QPoint& global) {
        cursor = global;
        send(global);
    }

    // Rests on a widget until its tip shows.
    void restOn(QWidget* widget) {
        moveTo(centreOf(widget));
        tip->showPendingTip();
    }

    // Leaves the tools, then rests on the first again: a fresh tip.
    void reshow() {
        moveTo(emptySpot());
        restOn(first);
    }
};

} // namespace

class ControlsTest : public QObject {
    Q_OBJECT

private slots:
    void clockText_data() {
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<QString>("text");
        const QDate day(2007, 3, 2);
        QTest::newRow("after midnight") << QDateTime(day, QTime(0, 5, 9)) << "2007/03/02 - 00:05:09 AM";
        QTest::newRow("noon") << QDateTime(day, QTime(12, 30, 0)) << "2007/03/02 - 12:30:00 PM";
        QTest::newRow("one pm") << QDateTime(day, QTime(13, 0, 0)) << "2007/03/02 - 01:00:00 PM";
        QTest::newRow("before noon") << QDateTime(day, QTime(11, 59, 59)) << "2007/03/02 - 11:59:59 AM";
        QTest::newRow("last second") << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))
                                     << "1999/12/31 - 11:59:59 PM";
    }

    void clockText() {
        QFETCH(QDateTime, time);
        QFETCH(QString, text);
        QCOMPARE(ClockText(time), text);
    }

    // Clocks show the time at start; only a running clock in clock mode ticks, redrawing only on a change.
    void clockShowsAtStartAndTicksOnlyWhenRunningInClockMode() {
        QDateTime now(QDate(2007, 3, 2), QTime(0, 5, 9));
        ClockLabel clock, stopped, otherMode;
        for (ClockLabel* each : {&clock, &stopped, &otherMode}) {
            each->setTimeSource([&now] { return now; });
        }
        QSignalSpy changes(&clock, &ClockLabel::textChanged);
        clock.resize(220, 20);
        clock.Start(1000, 600, ClockLabel::kClockMode, u"DejaVu Sans"_s, 14, 500, QColor(0, 128, 0));
        stopped.Start(1000, 0, ClockLabel::kClockMode, u"Serif"_s, 14, 500, Qt::black);
        otherMode.Start(1000, 600, 2, u"Serif"_s, 14, 500, Qt::black);
        QCOMPARE(clock.text(), u"2007/03/02 - 00:05:09 AM"_s);
        QVERIFY(clock.isTicking() && clock.interval() == 1000);
        QVERIFY(clock.clockFont().pixelSize() == 14 && clock.clockFont().weight() == QFont::Medium);
        QVERIFY(HasPixel(Grab(clock), QColor(0, 128, 0)));
        now = now.addMSecs(400); // a tick within the same second: still only the change of the start
        clock.tick();
        QCOMPARE(changes.count(), 1);
        now = now.addSecs(1);
        for (ClockLabel* each : {&clock, &stopped, &otherMode}) {
            each->tick();
        }
        QCOMPARE(changes.count(), 2);
        // The stopped clock keeps the time it showed at start.
        QCOMPARE((QStringList{clock.text(), stopped.text(), otherMode.text()}),
                 (QStringList{"2007/03/02 - 00:05:10 AM", "2007/03/02 - 00:05:09 AM", ""}));
    }

    void languageLabelPrefersTheInterfaceTextAndPaintsInItsColour() {
        LanguageLabel label;
        label.resize(200, 24);
        label.setText(u"Own text"_s);
        const QFont interfaceFont(u"DejaVu Serif"_s, 17);
        label.setLabelId(1059, [&](std::uint32_t id) {
            return id == 1059 ? std::optional(LabelText{u"Interface text"_s, interfaceFont}) : std::nullopt;
        });
        QCOMPARE(label.shownText().text, u"Interface text"_s);
        QCOMPARE(label.shownText().font, interfaceFont);
        label.setLabelId(4242, [](std::uint32_t) { return std::optional<LabelText>(); });
        const QFont bold(u"DejaVu Sans"_s, 13, QFont::Bold);
        label.setFont(bold);
        QCOMPARE(label.shownText().text, u"Own text"_s);
        QCOMPARE(label.shownText().font, bold);
        label.setColour(QColor(255, 0, 0));
        const QImage image = Grab(label);
        QVERIFY(HasPixel(image, QColor(255, 0, 0)));
        QCOMPARE(image.pixelColor(image.width() - 1, 0), label.palette().color(QPalette::Button));
    }

    void staticTextFlagsAndCallouts() {
        using enum StaticTextStyle;
        QCOMPARE(StaticTextFlags(Centre, u"a"_s), int(Qt::AlignHCenter | Qt::TextWordWrap));
        QCOMPARE(StaticTextFlags(Right, u"a"_s), int(Qt::AlignRight | Qt::TextWordWrap));
        QCOMPARE(StaticTextFlags(LeftNoWordWrap, u"a"_s), int(Qt::AlignLeft));
        QCOMPARE(StaticTextFlags(Left, u"a\tb"_s),
                 int(Qt::AlignLeft | Qt::TextWordWrap | Qt::TextExpandTabs));
        QCOMPARE(StaticTextFlags(CentreImage, u"one line"_s),
                 int(Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine));
        QCOMPARE(StaticTextFlags(CentreImage, u"two\nlines"_s), int(Qt::AlignHCenter));
        // No carriage return, no callout; only the first one splits (both sides are checked with the tip).
        QVERIFY(!ChooseCalloutText(u"Plain"_s, 0).callout);
        QCOMPARE(ChooseCalloutText(u"a\rb\rc"_s, 1).text, u"  b\rc"_s);
    }

    void placement() {
        const QRect area(0, 0, 800, 600);
        const QSize size(100, 30);
        const QRect tool(700, 560, 80, 30);
        QCOMPARE(PlaceTip(size, QPoint(200, 200), tool, area),
                 QPoint(200, 200)); // room enough: at the anchor
        QCOMPARE(PlaceTip(size, QPoint(750, 200), tool, area), QPoint(700, 200)); // past the right edge
        QCOMPARE(PlaceTip(size, QPoint(-20, 200), tool, area), QPoint(0, 200));   // past the left edge
        QCOMPARE(PlaceTip(size, QPoint(720, 590), tool, area),
                 QPoint(700, 530)); // past the bottom: above the tool
        // Never above the top, even for a tool at the top of a short area.
        QCOMPARE(PlaceTip(size, QPoint(10, 40), QRect(0, 5, 20, 20), QRect(0, 0, 800, 50)), QPoint(10, 0));
    }

    void tipAppearsAfterTheDelayFollowsToolsAndHides() {
        TipStage stage;
        TooltipWindow& tip = *stage.tip;
        stage.moveTo(stage.centreOf(stage.first));
        QVERIFY(tip.isWaiting() && !tip.isVisible());
        QCOMPARE(tip.currentTool()->id, 1u);
        tip.showPendingTip();
        QVERIFY(tip.isVisible() && tip.isPolling());
        QCOMPARE(tip.shownText(), u"First tip"_s);
        QCOMPARE(tip.pos(), stage.cursor + TooltipWindow::kCursorOffset);
        QVERIFY(tip.width() > QFontMetrics(tip.shownFont()).horizontalAdvance(u"First tip"_s));
        // Moving within the same tool changes nothing.
        stage.moveTo(stage.centreOf(stage.first) + QPoint(5, 0));
        QVERIFY(tip.isVisible() && !tip.isWaiting());
        // Another tool: the first tip goes, the second waits for its delay.
        stage.moveTo(stage.centreOf(stage.second));
        QVERIFY(!tip.isVisible() && tip.isWaiting() && !tip.isPolling());
        tip.showPendingTip();
        QCOMPARE(tip.shownText(), u"Second tip"_s);
        // A poll that finds the pointer off the tools, or on another tool, hides at once.
        stage.reshow();
        stage.cursor = stage.emptySpot();
        tip.poll();
        QVERIFY(!tip.isVisible() && !tip.isPolling());
        stage.restOn(stage.first);
        stage.cursor = stage.centreOf(stage.second);
        tip.poll();
        QVERIFY(!tip.isVisible());
        // Gone before the delay is over: no tip.
        stage.moveTo(stage.emptySpot());
        stage.moveTo(stage.centreOf(stage.first));
        stage.cursor = stage.emptySpot();
        tip.showPendingTip();
        QVERIFY(!tip.isVisible());
        stage.moveTo(stage.emptySpot());
        QCOMPARE(tip.currentTool(), nullptr); // a later rest waits anew: every reshow() below checks it
        // Shown past the limit, the tip hides.
        stage.reshow();
        const int pollsBeforeLimit = TooltipWindow::kShowLimitMs / TooltipWindow::kPollIntervalMs - 1;
        for (int i = 0; i < pollsBeforeLimit; ++i) {
            tip.poll();
        }
        QVERIFY(tip.isVisible());
        tip.poll();
        QVERIFY(!tip.isVisible());
        // With the pointer moved onto the tip it stays past the limit.
        stage.reshow();
        stage.cursor = tip.geometry().center();
        for (int i = 0; i <= pollsBeforeLimit + 5; ++i) {
            tip.poll();
        }
        QVERIFY(tip.isVisible());
        QVERIFY(tip.elapsedMs() >= TooltipWindow::kShowLimitMs);
        stage.reshow();
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, u"a"_s);
        tip.RelayEvent(&stage.owner, &key);
        QVERIFY(!tip.isVisible() && !tip.isPolling());
        // Whether a fresh tip stays after a mouse event on the first tool, or on the tip itself.
        const auto stays = [&](QEvent::Type type, Qt::MouseButton button, bool onTip = false) {
            stage.reshow();
            stage.send(onTip ? tip.geometry().center() : stage.centreOf(stage.first), type, button);
            return tip.isVisible();
        };
        QVERIFY(!stays(QEvent::MouseButtonPress, Qt::RightButton));
        QVERIFY(!stays(QEvent::MouseButtonPress, Qt::MiddleButton));
        QVERIFY(!stays(QEvent::MouseButtonPress, Qt::LeftButton));
        QVERIFY(!stays(QEvent::MouseButtonDblClick, Qt::LeftButton));
        QVERIFY2(stays(QEvent::MouseButtonRelease, Qt::LeftButton), "a button release keeps the tip");
        QVERIFY2(stays(QEvent::MouseButtonPress, Qt::LeftButton, true), "a press on the tip itself keeps it");
    }

    void toolsOfTheOwnerTextsFontsAreasCalloutsAndPlaces() {
        TipStage stage;
        TooltipWindow& tip = *stage.tip;
        // A rectangle of the owner is a tool of its own.
        tip.AddTool({&stage.owner, 30, QRect(200, 100, 50, 40), u"Area"_s});
        QCOMPARE(tip.toolAt(stage.owner.mapToGlobal(QPoint(210, 110))), 2);
        QCOMPARE(tip.toolAt(stage.owner.mapToGlobal(QPoint(190, 110))), -1);
        QCOMPARE(tip.toolAt(stage.centreOf(stage.second)), 1);
        QCOMPARE(tip.toolAt(QPoint(5, 5)), -1);
        // The owner gives the text and font of a tool that asks for them.
        QWidget* third = new QWidget(&stage.owner);
        third->setGeometry(10, 60, 60, 20);
        third->show();
        QString answer = u"Asked of the owner"_s;
        std::uint32_t askedFor = 0;
        tip.AddTool({third, 7, {}, {}, true, 0, {}, {}, 99});
        tip.setTextProvider([&](const TooltipTool& tool) {
            askedFor = tool.id;
            return tool.param == 99 ? answer : QString();
        });
        const QFont large(u"DejaVu Serif"_s, 20);
        tip.setFontProvider(
            [&](std::uint32_t id) { return id == 7 ? std::optional<QFont>(large) : std::nullopt; });
        stage.restOn(third);
        QCOMPARE(askedFor, 7u);
        QCOMPARE(tip.shownText(), answer);
        QCOMPARE(tip.shownFont(), large);
        // A tool with an empty text shows nothing and does not poll.
        tip.hideTip();
        stage.moveTo(stage.emptySpot());
        answer.clear();
        stage.restOn(third);
        QVERIFY(!tip.isVisible() && !tip.isPolling());
        // Re-adding the same window and id replaces the tool.
        tip.AddTool({stage.first, 1, {}, u"Renewed"_s});
        stage.restOn(stage.first);
        QCOMPARE(tip.shownText(), u"Renewed"_s);
        QVERIFY(tip.RemoveTool(stage.first, 1));
        QVERIFY(!tip.isVisible());
        QVERIFY(!tip.RemoveTool(stage.first, 1));
        // A text with a carriage return is a callout: a click on the tip shows its other side, in place.
        tip.AddTool({stage.first, 1, {}, u"Shown now\rPress to see"_s});
        stage.reshow();
        QVERIFY(tip.hasCallout());
        QCOMPARE(tip.shownText(), u"Shown now  "_s);
        const QPoint before = tip.pos();
        QTest::mouseClick(&tip, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        QVERIFY(tip.isVisible());
        QCOMPARE(tip.shownText(), u"  Press to see"_s);
        QCOMPARE(tip.pos(), before);
        QTest::mouseClick(&tip, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        QCOMPARE(tip.calloutSide(), 0);
        // A tool near the screen's corner has its tip within the screen, above the tool.
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        TipStage corner(QRect(area.right() - 299, area.bottom() - 199, 300, 200));
        corner.second->setGeometry(230, 170, 60, 20);
        QTRY_VERIFY(corner.owner.geometry().bottomRight() == area.bottomRight());
        corner.tip->AddTool({corner.second, 2, {}, u"A tip much wider than the space left to the right"_s});
        corner.restOn(corner.second);
        const QRect tipRect = corner.tip->geometry();
        QVERIFY(corner.tip->isVisible());
        QVERIFY2(area.contains(tipRect), "the tip stays within the screen");
        QVERIFY2(tipRect.bottom() < corner.second->mapToGlobal(QPoint(0, 0)).y(), "placed above the tool");
    }

    void hyperlinkOpensItsAddressOrNotifiesItsParent() {
        QWidget parent;
        auto* link = new HyperlinkLabel(&parent);
        link->setGeometry(0, 0, 300, 20);
        link->setText(u"www.example.org"_s);
        link->setAddress(u"https://www.example.org/"_s);
        link->setValue(1234);
        QList<QUrl> opened;
        bool opens = true;
        link->setUrlOpener([&](const QUrl& url) {
            opened.append(url);
            return opens;
        });
        QSignalSpy notified(link, &HyperlinkLabel::linkNotify);
        parent.show();
        QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, link->textRect().center());
        QCOMPARE(opened, QList<QUrl>{QUrl(u"https://www.example.org/"_s)});
        // Beside the text nothing happens.
        QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, QPoint(290, 10));
        QCOMPARE(opened.size(), 1);
        // A scheme-less address is a web address; a failed open is reported.
        link->setAddress(u"www.example.org"_s);
        opens = false;
        QVERIFY(!link->Activate());
        QCOMPARE(opened.last(), QUrl(u"http://www.example.org"_s));
        // Without an address a click tells the parent the link's value; nothing is opened.
        link->setAddress(u"   "_s);
        QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, link->textRect().center());
        QCOMPARE(opened.size(), 2);
        QCOMPARE(notified.count(), 1);
        QCOMPARE(notified.at(0).at(0).toInt(), 1234);
        // An opener that activates the link again is not entered twice: the inner call fails at once.
        link->setAddress(u"www.example.org"_s);
        link->setUrlOpener([&](const QUrl&) { return link->Activate(); });
        QVERIFY(!link->Activate());
        // The clickable area follows the text and its font.
        const int shortWidth = link->textRect().width();
        link->setText(u"a considerably longer text"_s);
        const int longWidth = link->textRect().width();
        QVERIFY(longWidth > shortWidth);
        link->setFont(QFont(link->font().family(), link->font().pointSize() * 2));
        QVERIFY(link->textRect().width() > longWidth);
    }

    void flatButtonPaintsMasksTextPicturesAndShadesPerState() {
        FlatButton button;
        button.resize(40, 24);
        const QColor face(50, 60, 70);
        const QColor green(0x00, 0xff, 0x00);
        button.setFaceColour(face);
        button.setShade(30);
        button.setMasks(image::kGo, image::kGoHover, green);
        const QImage normal = Grab(button);
        QCOMPARE(normal.pixelColor(1, 1), face);
        QVERIFY(HasPixel(normal, green));
        QCOMPARE(button.currentMask(), image::kGo);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&button, &enter);
        QVERIFY(button.isHovered());
        QCOMPARE(button.currentMask(), image::kGoHover);
        const QImage hover = Grab(button);
        QCOMPARE(hover.pixelColor(3, 3), QColor(80, 90, 100));
        QVERIFY(HasPixel(hover, green));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&button, &leave);
        QCOMPARE(Grab(button), normal);
        // Text takes the mask's colour and its room beside the image.
        button.setFont(QFont(u"DejaVu Sans"_s, 12, QFont::Bold));
        button.setText(u"WWW"_s);
        QCOMPARE(button.textColour(), green);
        QVERIFY(button.sizeHint().width() > ImageSize(image::kGo).width() + 20);
        // A face near white does not wrap around.
        button.setFaceColour(QColor(250, 240, 10));
        QApplication::sendEvent(&button, &enter);
        QCOMPARE(button.currentFaceColour(), QColor(255, 255, 40));
        // Each state has its shade, clamped; a state that does not exist is ignored.
        button.setFaceColour(QColor(100, 100, 100));
        button.setCheckable(true);
        button.setShade(999, 1);
        QCOMPARE(button.shade(1), 255);
        button.setShade(5, 7);
        QCOMPARE(button.shade(7), 0);
        button.setShade(10, 1);
        QCOMPARE(button.currentFaceColour(), QColor(130, 130, 130));
        button.setChecked(true);
        QCOMPARE(button.currentFaceColour(), QColor(110, 110, 110));
        button.setEnabled(false);
        QVERIFY(!HasPixel(Grab(button), green));
        // A picture leaves out its transparent colour.
        QPixmap picture(10, 10);
        picture.fill(QColor(255, 0, 255));
        QPainter(&picture).fillRect(3, 3, 4, 4, QColor(0, 0, 200));
        FlatButton pictured;
        pictured.resize(30, 30);
        pictured.setFaceColour(QColor(20, 20, 20));
        pictured.setPicture(picture, QColor(255, 0, 255));
        const QImage shot = Grab(pictured);
        QVERIFY(HasPixel(shot, QColor(0, 0, 200)));
        QVERIFY(!HasPixel(shot, QColor(255, 0, 255)));
    }

    void flatButtonDropsItsMenuDownOrOpensItsAddress() {
        QWidget window;
        window.setGeometry(50, 50, 300, 100);
        auto* button = new FlatButton(&window);
        button->setGeometry(10, 10, 90, 22);
        QMenu menu;
        QAction* converter = menu.addAction(u"Converter"_s);
        menu.addAction(u"Lesson Editor"_s);
        button->setDropDownMenu(&menu);
        QSignalSpy chosen(button, &FlatButton::menuTriggered);
        auto* linked = new FlatButton(&window);
        linked->setGeometry(110, 10, 30, 20);
        QUrl opened;
        linked->setAddress(u"https://updates.example.org/new"_s);
        linked->setUrlOpener([&](const QUrl& url) {
            opened = url;
            return true;
        });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(linked, Qt::LeftButton);
        QCOMPARE(opened, QUrl(u"https://updates.example.org/new"_s));
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
        QVERIFY(menu.isVisible());
        QCOMPARE(menu.pos(), button->mapToGlobal(QPoint(0, 22)));
        converter->trigger();
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).value<QAction*>(), converter);
        menu.hide();
        // A later menu replaces the first; the first no longer reaches the owner.
        QMenu other;
        button->setDropDownMenu(&other);
        converter->trigger();
        QCOMPARE(chosen.count(), 1);
    }

    void everyImageAtBothRatiosAndTheProgramIcon() {
        const std::vector<int>& ids = DrawnImageIds();
        for (int id : {128, 132, 136, 137, 142, 145, 147, 149, 150, 153, 154, 161,
                       162, 163, 167, 168, 175, 176, 178, 186, 187, 242, 249}) {
            QVERIFY2(std::find(ids.begin(), ids.end(), id) != ids.end(), qPrintable(QString::number(id)));
        }
        for (int id : ids) {
            const QByteArray name = QByteArray::number(id);
            const QSize size = ImageSize(id);
            QVERIFY2(!size.isEmpty() && !ImageIcon(id).isNull(), name);
            for (qreal ratio : {1.0, 2.0}) {
                const QImage image = DrawImage(id, ratio);
                QCOMPARE(image.size(), size * ratio);
                QCOMPARE(image.deviceIndependentSize().toSize(), size);
                QVERIFY2(Pixels(image) > 0, name);
            }
            // A mask takes the colour it is tinted in, on exactly its own pixels.
            if (KindOfImage(id) == ImageKind::Mask) {
                const QImage tinted = TintMask(DrawImage(id, 2.0), QColor(0, 255, 0));
                QCOMPARE(tinted.devicePixelRatio(), 2.0);
                QVERIFY2(HasPixel(tinted, QColor(0, 255, 0)), name);
                QCOMPARE(Pixels(tinted), Pixels(DrawImage(id, 2.0)));
            }
        }
        QVERIFY(DrawImage(9999).isNull());
        QVERIFY(!ImageSize(9999).isValid());
        QCOMPARE(KindOfImage(9999), ImageKind::Unknown);
        // Neighbours in each sequence differ: normal and hover, the language states, the lamp, the icon
        // frames.
        using namespace image;
        const std::vector<std::vector<int>> sequences = {
            {kGo, kGoHover},        {kOptions, kOptionsHover},
            {kTools, kToolsHover},  {kHelp, kHelpHover},
            {kExit, kExitHover},    {kLanguageCurrent, kLanguageOther, kLanguageHover},
            {kLampLit, kLampUnlit}, {kIconFrame1, kIconFrame2, kIconFrame3, kIconFrame4}};
        for (const std::vector<int>& sequence : sequences) {
            for (std::size_t i = 1; i < sequence.size(); ++i) {
                QVERIFY2(DrawImage(sequence[i - 1], 2.0) != DrawImage(sequence[i], 2.0),
                         qPrintable(QString::number(sequence[i])));
            }
        }
        // The program's icon is a red seal at every size.
        const QList<QSize> sizes = ImageIcon(image::kProgramIcon).availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(256, 256)));
        const QImage large = DrawImage(image::kProgramIcon, QSize(64, 64), 1.0);
        QCOMPARE(large.pixelColor(4, 32), QColor(0xc0, 0x28, 0x2c));
        QVERIFY(HasPixel(large, Qt::white));
    }
};

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
