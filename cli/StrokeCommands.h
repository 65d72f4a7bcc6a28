#pragma once
// strokes-of: a character's stroke order as the player would play it (the
// record's contours, directions and strokes), and optionally its pictures:
// the whole glyph and the strokes revealed one by one, as PNG files.
#include "cli/LookupCommands.h"
#include "dictionary/Dictionary.h"
#include "stroke/glyph/GlyphRenderer.h"
#include "stroke/records/StrokeOrderStore.h"

#include <QString>

namespace quillory::cli {

class StrokeCommands {
public:
    // pngFolder: where the pictures go; empty for none.
    StrokeCommands(Dictionary& dictionary, MessageReporter& reporter, QString pngFolder);

    Answer strokesOf(const QString& character);

private:
    // Writes CODE.png (the whole glyph) and CODE-NN.png (strokes 1 to NN in
    // black over the grey glyph); the file names, or a failure message.
    bool WritePictures(std::uint32_t code, const stroke::StrokeOrderBytes& record, int entries,
                       QStringList& files, QString* error);

    Dictionary& dictionary_;
    stroke::StrokeOrderStore store_;
    stroke::GlyphRenderer renderer_;
    QString pngFolder_;
};

} // namespace quillory::cli
