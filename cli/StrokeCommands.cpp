#include "cli/StrokeCommands.h"

#include "dictionary/text/TextRules.h"
#include "stroke/records/StrokeOrderFormat.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>

namespace quillory::cli {

namespace {

using stroke::EntryAt;
using stroke::MonoBitmap;
using stroke::StrokeEntry;
using stroke::StrokeOrderBytes;

constexpr QRgb kPaper = 0xFFFFFFFF;
constexpr QRgb kGreyGlyph = 0xFFC0C0C0;
constexpr QRgb kInk = 0xFF000000;

QString DirectionName(int direction) {
    switch (direction) {
    case stroke::kSweepLeftToRight:
        return QStringLiteral("left to right");
    case stroke::kSweepRightToLeft:
        return QStringLiteral("right to left");
    case stroke::kSweepBottomToTop:
        return QStringLiteral("bottom to top");
    default:
        return QStringLiteral("top to bottom");
    }
}

QString CodeName(std::uint32_t code) {
    return QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
}

// The grey glyph with the revealed pixels in black.
QImage Picture(const MonoBitmap& glyph, const MonoBitmap* revealed) {
    QImage image(std::max(glyph.width, 1), std::max(glyph.rows, 1), QImage::Format_RGB32);
    image.fill(kPaper);
    for (int y = 0; y < glyph.rows; ++y)
        for (int x = 0; x < glyph.width; ++x) {
            if (revealed && revealed->Get(x, y))
                image.setPixel(x, y, kInk);
            else if (glyph.Get(x, y))
                image.setPixel(x, y, revealed ? kGreyGlyph : kInk);
        }
    return image;
}

bool EndsStroke(const StrokeOrderBytes& record, int entries, int i) {
    return i + 1 >= entries || !EntryAt(record, i + 1).Continues();
}

} // namespace

StrokeCommands::StrokeCommands(Dictionary& dictionary, MessageReporter& reporter, QString pngFolder)
    : dictionary_(dictionary),
      store_(dictionary.index(), dictionary.files().DataPath(QLatin1String(stroke::kStrokeOrderFileName))),
      renderer_(reporter), pngFolder_(std::move(pngFolder)) {
    renderer_.SetFontPaths(
        QFile::encodeName(dictionary.files().DataPath(QLatin1String(stroke::kStrokeFontFileName))), {});
}

Answer StrokeCommands::strokesOf(const QString& character) {
    const QList<uint> codes = character.toUcs4();
    if (codes.size() != 1)
        return Failure(kBadUsage, QStringLiteral("'strokes-of' takes one character"));
    const std::uint32_t code = codes.first();
    StrokeOrderBytes record{};
    const int entries = std::min(store_.ReadRecord(code, record), stroke::kMaxStrokeEntries);
    if (entries <= 0)
        return Failure(
            kNotFound,
            QStringLiteral("%1 (U+%2) has no stroke-order data").arg(CodePointText(code), CodeName(code)));

    const int strokes = stroke::StrokeCountOf(record, entries);
    Answer answer;
    answer.text =
        QStringLiteral("%1 U+%2: %3 strokes\n").arg(CodePointText(code), CodeName(code)).arg(strokes);
    QJsonArray order;
    int strokeNumber = 0;
    for (int i = 0; i < entries; ++i) {
        const StrokeEntry entry = EntryAt(record, i);
        const bool continues = i > 0 && entry.Continues();
        strokeNumber += continues ? 0 : 1;
        answer.text +=
            QStringLiteral("%1  contour %2  %3%4\n")
                .arg(continues ? QStringLiteral("  ") : QString::number(strokeNumber).rightJustified(2))
                .arg(entry.contour)
                .arg(DirectionName(entry.Direction()),
                     continues ? QStringLiteral(" (continues stroke %1)").arg(strokeNumber) : QString());
        order.append(QJsonObject{{QStringLiteral("contour"), entry.contour},
                                 {QStringLiteral("direction"), entry.Direction()},
                                 {QStringLiteral("continues"), continues}});
    }
    answer.json = {{QStringLiteral("char"), CodePointText(code)},
                   {QStringLiteral("strokes"), strokes},
                   {QStringLiteral("order"), order}};
    if (pngFolder_.isEmpty())
        return answer;

    QStringList files;
    QString error;
    if (!WritePictures(code, record, entries, files, &error))
        return Failure(kNotFound, error);
    answer.text += QStringLiteral("pictures: %1\n").arg(files.join(u' '));
    answer.json.insert(QStringLiteral("pictures"), QJsonArray::fromStringList(files));
    return answer;
}

bool StrokeCommands::WritePictures(std::uint32_t code, const StrokeOrderBytes& record, int entries,
                                   QStringList& files, QString* error) {
    renderer_.ReleaseGlyph();
    if (!renderer_.LoadGlyph(code, stroke::kMaxGlyphPixelSize)) {
        *error = QStringLiteral("the stroke font cannot draw U+%1").arg(CodeName(code));
        return false;
    }
    if (!QDir().mkpath(pngFolder_)) {
        *error = QStringLiteral("cannot create the folder %1").arg(pngFolder_);
        return false;
    }
    const QDir folder(pngFolder_);
    const auto save = [&](const QImage& image, const QString& name) {
        const QString path = folder.filePath(name);
        if (!image.save(path, "PNG")) {
            *error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
        files.append(path);
        return true;
    };
    const MonoBitmap glyph = renderer_.contourBitmap();
    if (!save(Picture(glyph, nullptr), CodeName(code) + QStringLiteral(".png")))
        return false;
    MonoBitmap revealed;
    revealed.TakeGeometry(glyph);
    int strokeNumber = 0;
    for (int i = 0; i < entries; ++i) {
        if (renderer_.RenderContour(EntryAt(record, i).contour)) {
            const MonoBitmap& contour = renderer_.contourBitmap();
            for (std::size_t b = 0; b < revealed.bits.size(); ++b)
                revealed.bits[b] |= contour.bits[b];
        }
        if (EndsStroke(record, entries, i) &&
            !save(
                Picture(glyph, &revealed),
                QStringLiteral("%1-%2.png").arg(CodeName(code)).arg(++strokeNumber, 2, 10, QLatin1Char('0'))))
            return false;
    }
    return true;
}

} // namespace quillory::cli
