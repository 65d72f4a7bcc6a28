#include "controls/ButtonImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <algorithm>
#include <cmath>

namespace quillory {
namespace {

// Masks are drawn in black; only their coverage counts.
const QColor kInk(0, 0, 0);
const QColor kSealRed(0xc0, 0x28, 0x2c);
const QColor kSealPressed(0x9e, 0x1f, 0x22);
const QColor kSeparatorGrey(0xa0, 0xa0, 0xa0);

// Each drawer paints in its image's own coordinates (ImageSize); the painter
// is scaled to the requested size beforehand.
using Drawer = void (*)(QPainter&, const QSizeF&);

QPen RoundPen(qreal width) {
    return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Cut(QPainter& painter) {
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
}

void Ink(QPainter& painter) {
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// --- Go: a magnifier ---------------------------------------------------------

void DrawMagnifier(QPainter& painter, bool hover) {
    painter.setPen(RoundPen(hover ? 2.0 : 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(6.0, 6.0), 4.3, 4.3);
    painter.setPen(RoundPen(2.6));
    painter.drawLine(QPointF(9.4, 9.4), QPointF(13.6, 12.8));
    if (hover) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kInk);
        painter.drawEllipse(QPointF(6.0, 6.0), 2.0, 2.0);
    }
}

void DrawGo(QPainter& p, const QSizeF&) {
    DrawMagnifier(p, false);
}
void DrawGoHover(QPainter& p, const QSizeF&) {
    DrawMagnifier(p, true);
}

// --- Options: a gear, turned half a tooth under the pointer ------------------

void DrawGear(QPainter& painter, qreal turnDegrees) {
    const QPointF centre(8.0, 8.0);
    const qreal outer = 7.6;
    const qreal inner = 5.5;
    const int teeth = 8;
    auto at = [&](qreal radius, qreal degrees) {
        const qreal radians = qDegreesToRadians(degrees + turnDegrees);
        return centre + QPointF(radius * std::cos(radians), radius * std::sin(radians));
    };
    QPolygonF outline;
    for (int tooth = 0; tooth < teeth; ++tooth) {
        const qreal middle = tooth * 360.0 / teeth;
        outline << at(inner, middle - 14) << at(outer, middle - 8) << at(outer, middle + 8)
                << at(inner, middle + 14) << at(inner, middle + 22.5);
    }
    QPainterPath gear;
    gear.addPolygon(outline);
    gear.closeSubpath();
    gear.addEllipse(centre, 2.5, 2.5);
    gear.setFillRule(Qt::OddEvenFill);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawPath(gear);
}

void DrawOptions(QPainter& p, const QSizeF&) {
    DrawGear(p, 0.0);
}
void DrawOptionsHover(QPainter& p, const QSizeF&) {
    DrawGear(p, 22.5);
}

// --- Tools: a toolbox, its lid ajar under the pointer ------------------------

void DrawToolboxHandle(QPainter& painter, qreal top, qreal bottom) {
    painter.setPen(RoundPen(1.5));
    painter.setBrush(Qt::NoBrush);
    QPainterPath handle;
    handle.moveTo(5.5, bottom);
    handle.lineTo(5.5, top);
    handle.lineTo(10.5, top);
    handle.lineTo(10.5, bottom);
    painter.drawPath(handle);
}

void DrawTools(QPainter& painter, const QSizeF&) {
    DrawToolboxHandle(painter, 3.2, 6.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawRoundedRect(QRectF(1.0, 6.0, 14.0, 8.5), 1.5, 1.5);
    Cut(painter);
    painter.fillRect(QRectF(1.0, 8.6, 14.0, 0.9), Qt::transparent);
    painter.drawRect(QRectF(7.0, 8.0, 2.0, 2.6));
    Ink(painter);
    painter.drawRect(QRectF(7.5, 8.5, 1.0, 1.6));
}

void DrawToolsHover(QPainter& painter, const QSizeF&) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawRoundedRect(QRectF(1.0, 8.0, 14.0, 6.5), 1.5, 1.5);
    painter.save();
    painter.translate(1.0, 7.0);
    painter.rotate(-12.0);
    painter.drawRoundedRect(QRectF(0.0, -2.4, 14.0, 2.4), 1.0, 1.0);
    painter.translate(-1.0, -7.0);
    DrawToolboxHandle(painter, 2.4, 4.6);
    painter.restore();
}

// --- Help: a question mark, in a ring or cut out of a disc -------------------

QPainterPath QuestionMark() {
    QPainterPath mark;
    const QRectF bow(5.8, 3.5, 4.4, 4.4);
    mark.arcMoveTo(bow, 180.0);
    mark.arcTo(bow, 180.0, -250.0);
    mark.quadTo(QPointF(8.0, 8.6), QPointF(8.0, 9.6));
    return mark;
}

void DrawHelpMark(QPainter& painter) {
    painter.setPen(RoundPen(1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(QuestionMark());
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawEllipse(QPointF(8.0, 12.0), 1.0, 1.0);
}

void DrawHelp(QPainter& painter, const QSizeF&) {
    painter.setPen(RoundPen(1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(8.0, 8.0), 6.9, 6.9);
    DrawHelpMark(painter);
}

void DrawHelpHover(QPainter& painter, const QSizeF&) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawEllipse(QPointF(8.0, 8.0), 7.6, 7.6);
    Cut(painter);
    DrawHelpMark(painter);
    Ink(painter);
}

// --- Exit: a door with an arrow leading out ----------------------------------

void DrawExitArrow(QPainter& painter, qreal width) {
    painter.setPen(RoundPen(width));
    painter.drawLine(QPointF(8.5, 8.0), QPointF(14.8, 8.0));
    painter.drawPolyline(QPolygonF{QPointF(12.2, 5.4), QPointF(14.8, 8.0), QPointF(12.2, 10.6)});
}

void DrawExit(QPainter& painter, const QSizeF&) {
    painter.setPen(RoundPen(1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(2.0, 1.5, 8.0, 13.0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawEllipse(QPointF(7.9, 8.6), 0.9, 0.9);
    Cut(painter);
    painter.fillRect(QRectF(9.2, 6.0, 2.5, 4.0), Qt::transparent);
    Ink(painter);
    DrawExitArrow(painter, 1.5);
}

void DrawExitHover(QPainter& painter, const QSizeF&) {
    painter.setPen(RoundPen(1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF{QPointF(10.0, 4.0), QPointF(10.0, 1.5), QPointF(2.0, 1.5),
                                   QPointF(2.0, 14.5), QPointF(10.0, 14.5), QPointF(10.0, 12.0)});
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawPolygon(
        QPolygonF{QPointF(2.0, 1.5), QPointF(6.5, 3.0), QPointF(6.5, 15.5), QPointF(2.0, 14.5)});
    DrawExitArrow(painter, 2.0);
}

// --- The menu buttons' plain mark: a diamond with a core ---------------------

void DrawMenuPlain(QPainter& painter, const QSizeF&) {
    painter.setPen(RoundPen(1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(
        QPolygonF{QPointF(8.0, 1.5), QPointF(14.5, 8.0), QPointF(8.0, 14.5), QPointF(1.5, 8.0)});
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawPolygon(
        QPolygonF{QPointF(8.0, 5.2), QPointF(10.8, 8.0), QPointF(8.0, 10.8), QPointF(5.2, 8.0)});
}

// --- Language buttons: a selector mark ---------------------------------------

const QPointF kMarkCentre(6.5, 6.5);

void DrawLanguageCurrent(QPainter& painter, const QSizeF&) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawEllipse(kMarkCentre, 6.2, 6.2);
    Cut(painter);
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(kMarkCentre, 3.9, 3.9);
    Ink(painter);
}

void DrawLanguageRing(QPainter& painter) {
    painter.setPen(QPen(kInk, 1.3));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(kMarkCentre, 5.4, 5.4);
}

void DrawLanguageOther(QPainter& painter, const QSizeF&) {
    DrawLanguageRing(painter);
}

void DrawLanguageHover(QPainter& painter, const QSizeF&) {
    DrawLanguageRing(painter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawEllipse(kMarkCentre, 2.5, 2.5);
}

// --- Update lamps --------------------------------------------------------------

void DrawLamp(QPainter& painter, bool lit) {
    const QPointF centre(5.5, 5.5);
    QRadialGradient glow(QPointF(4.6, 4.4), 5.5);
    if (lit) {
        glow.setColorAt(0.0, QColor(0xd8, 0xff, 0xc0));
        glow.setColorAt(0.45, QColor(0x3c, 0xe0, 0x2c));
        glow.setColorAt(1.0, QColor(0x12, 0x78, 0x10));
    } else {
        glow.setColorAt(0.0, QColor(0x9a, 0xa8, 0x98));
        glow.setColorAt(0.5, QColor(0x5a, 0x66, 0x58));
        glow.setColorAt(1.0, QColor(0x2c, 0x34, 0x2a));
    }
    painter.setPen(QPen(QColor(0x20, 0x28, 0x20), 0.8));
    painter.setBrush(glow);
    painter.drawEllipse(centre, 4.9, 4.9);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, lit ? 210 : 70));
    painter.drawEllipse(QPointF(4.1, 3.9), 1.4, 1.2);
}

void DrawLampLit(QPainter& p, const QSizeF&) {
    DrawLamp(p, true);
}
void DrawLampUnlit(QPainter& p, const QSizeF&) {
    DrawLamp(p, false);
}

void DrawSeparator(QPainter& painter, const QSizeF& size) {
    painter.fillRect(QRectF(QPointF(0, 0), size), kSeparatorGrey);
}

// --- The program icon: a red seal with 文 ------------------------------------

enum class SealLook { Rest, GlintLow, GlintHigh, Pressed };

// 文 as four brush strokes in a unit square.
QPainterPath WenStrokes() {
    QPainterPath strokes;
    strokes.moveTo(0.49, 0.02);
    strokes.lineTo(0.56, 0.15);
    strokes.moveTo(0.06, 0.28);
    strokes.lineTo(0.94, 0.28);
    strokes.moveTo(0.74, 0.30);
    strokes.cubicTo(0.62, 0.66, 0.40, 0.88, 0.06, 0.98);
    strokes.moveTo(0.27, 0.30);
    strokes.cubicTo(0.39, 0.66, 0.60, 0.88, 0.95, 0.98);
    return strokes;
}

void DrawSeal(QPainter& painter, const QSizeF& size, SealLook look) {
    const qreal side = std::min(size.width(), size.height());
    const QRectF box((size.width() - side) / 2, (size.height() - side) / 2, side, side);
    const QRectF seal = box.adjusted(side * 0.03, side * 0.03, -side * 0.03, -side * 0.03);
    QPainterPath sealShape;
    sealShape.addRoundedRect(seal, side * 0.12, side * 0.12);
    painter.setPen(Qt::NoPen);
    painter.fillPath(sealShape, look == SealLook::Pressed ? kSealPressed : kSealRed);

    if (look == SealLook::GlintLow || look == SealLook::GlintHigh) {
        // A band of light crossing the seal diagonally.
        const qreal along = look == SealLook::GlintLow ? 0.3 : 0.7;
        QLinearGradient band(seal.topLeft(), seal.bottomRight());
        band.setColorAt(std::max(0.0, along - 0.18), QColor(255, 255, 255, 0));
        band.setColorAt(along, QColor(255, 255, 255, 120));
        band.setColorAt(std::min(1.0, along + 0.18), QColor(255, 255, 255, 0));
        painter.fillPath(sealShape, band);
    }

    const bool small = side < 24;
    if (!small) {
        const qreal inset = side * 0.09;
        painter.setPen(QPen(Qt::white, std::max(1.0, side * 0.022)));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(seal.adjusted(inset, inset, -inset, -inset), side * 0.06, side * 0.06);
    }

    const qreal margin = side * (small ? 0.17 : 0.24);
    const QRectF glyph = box.adjusted(margin, margin, -margin, -margin);
    painter.save();
    painter.translate(glyph.topLeft());
    painter.scale(glyph.width(), glyph.height());
    const qreal strokeWidth = std::max(1.7, side * 0.09) / glyph.width();
    painter.setPen(QPen(Qt::white, strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(WenStrokes());
    painter.restore();
}

void DrawProgramIcon(QPainter& p, const QSizeF& s) {
    DrawSeal(p, s, SealLook::Rest);
}
void DrawFrameRest(QPainter& p, const QSizeF& s) {
    DrawSeal(p, s, SealLook::Rest);
}
void DrawFrameGlintLow(QPainter& p, const QSizeF& s) {
    DrawSeal(p, s, SealLook::GlintLow);
}
void DrawFrameGlintHigh(QPainter& p, const QSizeF& s) {
    DrawSeal(p, s, SealLook::GlintHigh);
}
void DrawFramePressed(QPainter& p, const QSizeF& s) {
    DrawSeal(p, s, SealLook::Pressed);
}

struct ImageEntry {
    int id;
    ImageKind kind;
    QSize size;
    Drawer draw;
    bool scaled; // drawn in its own coordinates and scaled, rather than laid out for the size asked
};

const QSize kMenuMaskSize(16, 16);
const QSize kIconSize(32, 32);

const std::vector<ImageEntry>& Entries() {
    static const std::vector<ImageEntry> entries = {
        {image::kProgramIcon, ImageKind::Icon, kIconSize, DrawProgramIcon, false},
        {image::kIconFrame1, ImageKind::Icon, kIconSize, DrawFrameRest, false},
        {image::kIconFrame3, ImageKind::Icon, kIconSize, DrawFrameGlintLow, false},
        {image::kIconFrame2, ImageKind::Icon, kIconSize, DrawFrameGlintHigh, false},
        {image::kIconFrame4, ImageKind::Icon, kIconSize, DrawFramePressed, false},
        {image::kGoHover, ImageKind::Mask, QSize(16, 14), DrawGoHover, true},
        {image::kGo, ImageKind::Mask, QSize(16, 14), DrawGo, true},
        {image::kOptions, ImageKind::Mask, kMenuMaskSize, DrawOptions, true},
        {image::kOptionsHover, ImageKind::Mask, kMenuMaskSize, DrawOptionsHover, true},
        {image::kHelpHover, ImageKind::Mask, kMenuMaskSize, DrawHelpHover, true},
        {image::kHelp, ImageKind::Mask, kMenuMaskSize, DrawHelp, true},
        {image::kExitHover, ImageKind::Mask, kMenuMaskSize, DrawExitHover, true},
        {image::kExit, ImageKind::Mask, kMenuMaskSize, DrawExit, true},
        {image::kSeparatorVertical, ImageKind::Picture, QSize(1, 13), DrawSeparator, false},
        {image::kLanguageCurrent, ImageKind::Mask, QSize(13, 13), DrawLanguageCurrent, true},
        {image::kLanguageHover, ImageKind::Mask, QSize(13, 13), DrawLanguageHover, true},
        {image::kMenuPlain, ImageKind::Mask, kMenuMaskSize, DrawMenuPlain, true},
        {image::kLanguageOther, ImageKind::Mask, QSize(13, 13), DrawLanguageOther, true},
        {image::kSeparatorHorizontal, ImageKind::Picture, QSize(82, 1), DrawSeparator, false},
        {image::kToolsHover, ImageKind::Mask, kMenuMaskSize, DrawToolsHover, true},
        {image::kTools, ImageKind::Mask, kMenuMaskSize, DrawTools, true},
        {image::kLampUnlit, ImageKind::Picture, QSize(11, 11), DrawLampUnlit, true},
        {image::kLampLit, ImageKind::Picture, QSize(11, 11), DrawLampLit, true},
    };
    return entries;
}

const ImageEntry* FindEntry(int id) {
    const auto& entries = Entries();
    const auto found =
        std::find_if(entries.begin(), entries.end(), [id](const ImageEntry& s) { return s.id == id; });
    return found == entries.end() ? nullptr : &*found;
}

} // namespace

ImageKind KindOfImage(int id) {
    const ImageEntry* entry = FindEntry(id);
    return entry ? entry->kind : ImageKind::Unknown;
}

const std::vector<int>& DrawnImageIds() {
    static const std::vector<int> ids = [] {
        std::vector<int> all;
        for (const ImageEntry& entry : Entries()) {
            all.push_back(entry.id);
        }
        std::sort(all.begin(), all.end());
        return all;
    }();
    return ids;
}

QSize ImageSize(int id) {
    const ImageEntry* entry = FindEntry(id);
    return entry ? entry->size : QSize();
}

QImage DrawImage(int id, qreal devicePixelRatio) {
    return DrawImage(id, ImageSize(id), devicePixelRatio);
}

QImage DrawImage(int id, const QSize& logicalSize, qreal devicePixelRatio) {
    const ImageEntry* entry = FindEntry(id);
    if (!entry || logicalSize.isEmpty() || !(devicePixelRatio > 0)) {
        return {};
    }
    const QSize pixels(std::max(1, qRound(logicalSize.width() * devicePixelRatio)),
                       std::max(1, qRound(logicalSize.height() * devicePixelRatio)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(devicePixelRatio);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QSizeF drawSize = logicalSize;
    if (entry->scaled) {
        painter.scale(qreal(logicalSize.width()) / entry->size.width(),
                      qreal(logicalSize.height()) / entry->size.height());
        drawSize = entry->size;
    }
    entry->draw(painter, drawSize);
    return image;
}

QPixmap ImagePixmap(int id, qreal devicePixelRatio) {
    return QPixmap::fromImage(DrawImage(id, devicePixelRatio));
}

QIcon ImageIcon(int id) {
    QIcon icon;
    if (KindOfImage(id) == ImageKind::Icon) {
        for (int side : {16, 20, 24, 32, 48, 64, 128, 256}) {
            icon.addPixmap(QPixmap::fromImage(DrawImage(id, QSize(side, side), 1.0)));
        }
    } else if (KindOfImage(id) != ImageKind::Unknown) {
        icon.addPixmap(ImagePixmap(id, 1.0));
        icon.addPixmap(ImagePixmap(id, 2.0));
    }
    return icon;
}

QImage TintMask(const QImage& mask, const QColor& colour) {
    if (mask.isNull()) {
        return {};
    }
    QImage tinted = mask.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    tinted.setDevicePixelRatio(mask.devicePixelRatio());
    QPainter painter(&tinted);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(QPointF(0, 0), tinted.deviceIndependentSize()), colour);
    return tinted;
}

} // namespace quillory
