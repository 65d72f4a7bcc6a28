#include "datagen/sources/RimeCantoneseReader.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <algorithm>

namespace quillory::datagen {

namespace {

bool IsSyllable(QStringView syllable) {
    qsizetype letters = 0;
    while (letters < syllable.size() && syllable[letters] >= u'a' && syllable[letters] <= u'z') {
        ++letters;
    }
    return letters > 0 && letters + 1 == syllable.size() && syllable.back() >= u'1' &&
           syllable.back() <= u'6';
}

// "5%" or "5" to 5; false for anything else.
bool ParseWeight(QString text, double* weight) {
    text = text.trimmed();
    if (text.endsWith(u'%')) {
        text.chop(1);
    }
    bool ok = false;
    *weight = text.toDouble(&ok);
    return ok && *weight >= 0;
}

} // namespace

bool IsJyutpingText(const QString& text) {
    const QStringList syllables = text.split(u' ');
    for (const QString& syllable : syllables) {
        if (!IsSyllable(syllable)) {
            return false;
        }
    }
    return !syllables.isEmpty();
}

bool ReadRimeTable(const QString& path, bool hasHeader, const std::function<bool(const QStringList&)>& add,
                   int* skipped, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    QString line;
    bool inHeader = hasHeader;
    while (in.readLineInto(&line)) {
        if (inHeader) {
            inHeader = line.trimmed() != QLatin1String("...");
            continue;
        }
        if (line.trimmed().isEmpty() || line.startsWith(u'#')) {
            continue;
        }
        QStringList fields = line.split(u'\t');
        for (QString& field : fields) {
            field = field.trimmed();
        }
        if (!add(fields)) {
            ++*skipped;
        }
    }
    if (inHeader) {
        *error = QStringLiteral("%1 has no end of its header (a line \"...\")").arg(path);
        return false;
    }
    return true;
}

bool ReadRimeWords(const QString& path, RimeCantonese& rime, QString* error, RimeStats* stats) {
    const auto add = [&](const QStringList& fields) {
        if (fields.size() < 2 || fields[0].isEmpty() || !IsJyutpingText(fields[1])) {
            return false;
        }
        QStringList& readings = rime.wordReadings[fields[0]];
        if (readings.isEmpty()) {
            rime.words.append(fields[0]);
        }
        if (!readings.contains(fields[1])) {
            readings.append(fields[1]);
        }
        ++stats->wordLines;
        return true;
    };
    return ReadRimeTable(path, true, add, &stats->skippedLines, error);
}

bool ReadRimeCharacters(const QString& path, RimeCantonese& rime, QString* error, RimeStats* stats) {
    const auto add = [&](const QStringList& fields) {
        const QList<uint> codes = fields.isEmpty() ? QList<uint>() : fields[0].toUcs4();
        RimeReading reading;
        if (codes.size() != 1 || fields.size() < 2 || !IsJyutpingText(fields[1]) ||
            (fields.size() > 2 && !fields[2].isEmpty() && !ParseWeight(fields[2], &reading.weight))) {
            return false;
        }
        ++stats->characterLines;
        // A few characters stand for two syllables (兡 baak3 hak1, 卅 saa1
        // aa6): no reading of one syllable, left out.
        if (fields[1].contains(u' ')) {
            return true;
        }
        reading.jyutping = fields[1];
        std::vector<RimeReading>& readings = rime.characters[codes.front()];
        const bool known = std::any_of(readings.begin(), readings.end(), [&](const RimeReading& other) {
            return other.jyutping == reading.jyutping;
        });
        if (!known) {
            readings.push_back(reading);
        }
        return true;
    };
    return ReadRimeTable(path, true, add, &stats->skippedLines, error);
}

bool ReadCantoneseCounts(const QString& path, RimeCantonese& rime, QString* error, RimeStats* stats) {
    const auto add = [&](const QStringList& fields) {
        bool ok = false;
        const qint64 count = fields.size() >= 2 ? fields[1].toLongLong(&ok) : 0;
        if (!ok || count < 0 || fields[0].isEmpty()) {
            return false;
        }
        qint64& stored = rime.counts[fields[0]];
        stored = std::max(stored, count);
        ++stats->countLines;
        return true;
    };
    return ReadRimeTable(path, false, add, &stats->skippedLines, error);
}

bool ReadRimeCantonese(const QString& dir, RimeCantonese& rime, QString* error, RimeStats* stats) {
    RimeStats ignored;
    stats = stats ? stats : &ignored;
    const QDir folder(dir);
    return ReadRimeWords(folder.filePath(QLatin1String(kRimeWordsFile)), rime, error, stats) &&
           ReadRimeCharacters(folder.filePath(QLatin1String(kRimeCharactersFile)), rime, error, stats) &&
           ReadCantoneseCounts(folder.filePath(QLatin1String(kCantoneseCountsFile)), rime, error, stats);
}

} // namespace quillory::datagen
