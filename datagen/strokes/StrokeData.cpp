#include "datagen/strokes/StrokeData.h"

#include "datagen/strokes/StrokeSource.h"
#include "datagen/strokes/StrokeStoreWriter.h"
#include "datagen/strokes/TrueTypeFont.h"
#include "stroke/records/StrokeOrderFormat.h"

#include <QDir>
#include <QFile>

namespace quillory::datagen {

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
        !file.flush()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

QString StrokeLicenseText(const QString& packageDir) {
    QFile file(QDir(packageDir).filePath(QLatin1String(stroke::kStrokeLicenseFileName)));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool WriteStrokeData(const QString& packageDir, const SourceData& source, const QString& outDir,
                     IndexContent& index, QString* error, StrokeDataStats* stats) {
    std::vector<StrokeCharacter> characters;
    if (!ReadStrokeFolder(packageDir, characters, &stats->warnings, error))
        return false;

    std::vector<FontGlyph> glyphs;
    glyphs.reserve(characters.size());
    for (const StrokeCharacter& character : characters) {
        glyphs.push_back({character.code, character.contours});
        stats->strokes += int(character.contours.size());
        const auto known = source.characters.find(character.code);
        if (known != source.characters.end() && known->second.strokes > 0) {
            ++stats->comparedWithUnihan;
            stats->agreeingWithUnihan += int(character.contours.size()) == known->second.strokes;
        }
    }
    const FontNames names{QString::fromLatin1(kStrokeFontFamily),
                          QStringLiteral("Outlines derived from hanzi-writer-data, under the Arphic Public "
                                         "License (ARPHICPL.TXT)"),
                          QStringLiteral("Version 1.000")};
    const QByteArray font = BuildTrueTypeFont(glyphs, names, error);
    if (font.isEmpty())
        return false;
    const QByteArray store = BuildStrokeOrderStore(characters, index.strokeOrder);

    const QDir out(outDir);
    const QString license = QLatin1String(stroke::kStrokeLicenseFileName);
    if (!WriteFile(out.filePath(QLatin1String(stroke::kStrokeFontFileName)), font, error) ||
        !WriteFile(out.filePath(QLatin1String(stroke::kStrokeOrderFileName)), store, error))
        return false;
    QFile::remove(out.filePath(license));
    if (!QFile::copy(QDir(packageDir).filePath(license), out.filePath(license))) {
        *error = QStringLiteral("cannot copy %1 from %2").arg(license, packageDir);
        return false;
    }
    stats->characters = int(characters.size());
    stats->chunks = int(index.strokeOrder.size());
    stats->fontSize = font.size();
    stats->storeSize = store.size();
    return true;
}

} // namespace quillory::datagen
