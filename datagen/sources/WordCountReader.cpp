#include "datagen/sources/WordCountReader.h"

#include <QFile>
#include <QTextStream>

namespace quillory::datagen {

bool AddWordCountLine(QStringView line, SourceData& source) {
    const auto fields = line.trimmed().split(u' ', Qt::SkipEmptyParts);
    if (fields.size() < 2) {
        return false;
    }
    bool ok = false;
    const qint64 count = fields[1].toLongLong(&ok);
    if (!ok || count < 0) {
        return false;
    }
    qint64& stored = source.wordCounts[fields[0].toString()];
    stored = std::max(stored, count);
    return true;
}

bool ReadWordCounts(const QString& path, SourceData& source, QString* error, WordCountStats* stats) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read the word counts %1: %2").arg(path, file.errorString());
        return false;
    }
    WordCountStats counted;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    QString line;
    while (in.readLineInto(&line)) {
        if (AddWordCountLine(line, source)) {
            ++counted.words;
        } else if (!line.trimmed().isEmpty()) {
            ++counted.skippedLines;
        }
    }
    if (stats) {
        *stats = counted;
    }
    return true;
}

} // namespace quillory::datagen
