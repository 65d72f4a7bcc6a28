#include "datagen/strokes/StrokeSource.h"

#include "stroke/model/StrokeOrderRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace quillory::datagen {

std::uint8_t DirectionOfMedian(const QJsonArray& median) {
    if (median.size() < 2)
        return stroke::kSweepLeftToRight;
    const QJsonArray first = median.first().toArray(), last = median.last().toArray();
    const double dx = last.at(0).toDouble() - first.at(0).toDouble();
    const double down = first.at(1).toDouble() - last.at(1).toDouble(); // the source's y grows upwards
    if (std::abs(dx) >= std::abs(down))
        return dx >= 0 ? stroke::kSweepLeftToRight : stroke::kSweepRightToLeft;
    return down > 0 ? stroke::kSweepTopToBottom : stroke::kSweepBottomToTop;
}

bool ReadStrokeFile(const QString& path, StrokeCharacter& character, QString* error) {
    const QString name = QFileInfo(path).completeBaseName();
    const QList<uint> codes = name.toUcs4();
    if (codes.size() != 1) {
        *error = QStringLiteral("the file name is not one character");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    QJsonParseError parse;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll(), &parse).object();
    if (parse.error != QJsonParseError::NoError) {
        *error = parse.errorString();
        return false;
    }
    const QJsonArray strokes = object.value(QLatin1String("strokes")).toArray();
    const QJsonArray medians = object.value(QLatin1String("medians")).toArray();
    if (strokes.isEmpty() || strokes.size() != medians.size()) {
        *error = QStringLiteral("%1 strokes but %2 medians").arg(strokes.size()).arg(medians.size());
        return false;
    }
    if (strokes.size() > stroke::kMaxStrokeEntries) {
        *error = QStringLiteral("%1 strokes are more than a record holds").arg(strokes.size());
        return false;
    }
    character.code = codes.first();
    character.contours.clear();
    character.directions.clear();
    for (qsizetype i = 0; i < strokes.size(); ++i) {
        QString reason;
        std::optional<Contour> contour = ContourFromPath(strokes[i].toString(), &reason);
        if (!contour) {
            *error = QStringLiteral("stroke %1: %2").arg(i + 1).arg(reason);
            return false;
        }
        character.contours.push_back(std::move(*contour));
        character.directions.push_back(DirectionOfMedian(medians[i].toArray()));
    }
    return true;
}

bool ReadStrokeFolder(const QString& folder, std::vector<StrokeCharacter>& characters, QStringList* warnings,
                      QString* error) {
    const QDir dir(folder);
    if (!dir.exists()) {
        *error = QStringLiteral("the stroke-order package was not found: %1").arg(folder);
        return false;
    }
    characters.clear();
    for (const QString& name : dir.entryList({QStringLiteral("*.json")}, QDir::Files)) {
        if (name.toUcs4().size() != 6) // "X.json": package.json and the like are no character
            continue;
        StrokeCharacter character;
        QString reason;
        if (ReadStrokeFile(dir.filePath(name), character, &reason))
            characters.push_back(std::move(character));
        else
            warnings->append(QStringLiteral("%1 left out: %2").arg(name, reason));
    }
    if (characters.empty()) {
        *error = QStringLiteral("no character files in the stroke-order package %1").arg(folder);
        return false;
    }
    std::sort(characters.begin(), characters.end(),
              [](const StrokeCharacter& a, const StrokeCharacter& b) { return a.code < b.code; });
    return true;
}

} // namespace quillory::datagen
