#include "lessons/library/LessonIndex.h"

#include "lessons/format/LessonText.h"
#include "lessons/format/ReplaceFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>
#include <set>

namespace quillory {
namespace {

// The index's bytes; empty for a missing index, nullopt when it exists but
// cannot be read.
std::optional<QByteArray> ReadIndex(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        return QByteArray();
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.readAll();
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Every id n whose text "[n]" (decimal without leading zeros) occurs in the line.
void CollectBracketedIds(QByteArrayView line, std::set<int>& ids) {
    for (qsizetype open = line.indexOf('['); open >= 0; open = line.indexOf('[', open + 1)) {
        qsizetype end = open + 1;
        while (end < line.size() && IsDigit(line[end])) {
            ++end;
        }
        const qsizetype digits = end - open - 1;
        if (digits == 0 || digits > 5 || end >= line.size() || line[end] != ']' ||
            (line[open + 1] == '0' && digits > 1)) {
            continue;
        }
        ids.insert(line.sliced(open + 1, digits).toInt());
    }
}

// The file's lines with their line breaks, so that a rewrite keeps the
// bytes of every line it keeps.
QList<QByteArray> RawLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', start);
        const qsizetype stop = end < 0 ? bytes.size() : end + 1;
        lines.append(bytes.mid(start, stop - start));
        start = stop;
    }
    return lines;
}

bool IsEmptyLine(const QByteArray& raw) {
    return raw == "\n" || raw == "\r\n";
}

} // namespace

int EntryIdOfLine(QByteArrayView line) {
    if (line.size() < 2 || line[0] != '[' || !IsDigit(line[1])) {
        return -1;
    }
    long long id = 0;
    for (qsizetype i = 1; i < line.size() && IsDigit(line[i]); ++i) {
        id = std::min<long long>(id * 10 + (line[i] - '0'), INT_MAX);
    }
    return int(id);
}

int LessonIndex::NewLessonId() const {
    std::set<int> taken;
    const QByteArray bytes = ReadIndex(path_).value_or(QByteArray());
    for (const QByteArray& line : SplitFileLines(bytes).lines) {
        if (line.startsWith('[')) {
            CollectBracketedIds(line, taken);
        }
    }
    for (int id = 1; id <= kMaxLessonId; ++id) {
        if (!taken.contains(id)) {
            return id;
        }
    }
    return -1;
}

bool LessonIndex::ReadValue(int id, QByteArrayView key, QString& value) const {
    value.clear();
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray header = '[' + QByteArray::number(id) + ']';
    bool inEntry = false;
    bool keySeen = false;
    for (const QByteArray& line : SplitFileLines(file.readAll()).lines) {
        if (line.startsWith('[')) {
            inEntry = line.startsWith(header);
            keySeen = false;
            continue;
        }
        if (!inEntry || keySeen || !line.startsWith(key)) {
            continue;
        }
        // Only the entry's first line of the key counts; an empty value
        // lets a later entry of the same id answer.
        keySeen = true;
        value = DecodeLessonValue(QByteArrayView(line).sliced(key.size()), key);
        if (!value.isEmpty()) {
            return true;
        }
    }
    return true;
}

bool LessonIndex::AppendEntry(int id, const QList<IndexValue>& values) const {
    std::optional<QByteArray> bytes = ReadIndex(path_);
    if (!bytes || !QDir().mkpath(QFileInfo(path_).absolutePath())) {
        return false;
    }
    if (!bytes->isEmpty() && !bytes->endsWith('\n')) {
        bytes->append('\n');
    }
    bytes->append("\n[" + QByteArray::number(id) + "]\n");
    for (const auto& [key, value] : values) {
        bytes->append(key + EncodeLessonValue(value, key) + '\n');
    }
    return ReplaceFileContents(path_, *bytes);
}

bool LessonIndex::RemoveEntry(int id) const {
    const std::optional<QByteArray> bytes = ReadIndex(path_);
    if (!bytes) {
        return false;
    }
    QList<QByteArray> kept;
    bool removing = false;
    bool removed = false;
    for (const QByteArray& raw : RawLines(*bytes)) {
        if (raw.startsWith('[')) {
            removing = EntryIdOfLine(raw) == id;
            if (removing) {
                removed = true;
                if (!kept.isEmpty() && IsEmptyLine(kept.last())) {
                    kept.removeLast();
                }
            }
        }
        // The empty line that ends the entry separates the next one.
        if (!removing || IsEmptyLine(raw)) {
            kept.append(raw);
        }
    }
    return !removed || ReplaceFileContents(path_, kept.join());
}

bool LessonIndexCursor::Open(const QString& path) {
    Close();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    lines_ = SplitFileLines(file.readAll()).lines;
    open_ = true;
    return true;
}

int LessonIndexCursor::Next(QByteArrayView key, QString& value) {
    value.clear();
    int current = -1;
    bool inEntry = false;
    while (open_ && next_ < lines_.size()) {
        const QByteArray& line = lines_[next_++];
        if (line.startsWith('[')) {
            const int id = EntryIdOfLine(line);
            inEntry = id >= 0;
            if (inEntry) {
                current = id;
            }
            continue;
        }
        if (inEntry && line.startsWith(key)) {
            value = DecodeLessonValue(QByteArrayView(line).sliced(key.size()), key);
            return current;
        }
    }
    return current;
}

void LessonIndexCursor::Close() {
    lines_.clear();
    next_ = 0;
    open_ = false;
}

std::vector<LessonEntry> ListLessons(const QString& indexPath, QByteArrayView key) {
    std::vector<LessonEntry> lessons;
    LessonIndexCursor cursor;
    if (!cursor.Open(indexPath)) {
        return lessons;
    }
    QString value;
    for (int id = cursor.Next(key, value); id >= 0; id = cursor.Next(key, value)) {
        if (id >= 1 && id <= kMaxLessonId) {
            lessons.push_back(LessonEntry{id, value});
        }
    }
    return lessons;
}

} // namespace quillory
