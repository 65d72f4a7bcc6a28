#include "lessons/format/OxaFile.h"

#include "lessons/format/LessonText.h"
#include "lessons/format/ReplaceFile.h"

#include <QFile>
#include <array>
#include <optional>

namespace quillory {
namespace {

struct KeyField {
    const char* key;
    QString LessonSection::*field;
};

// The key lines of a section, in file order.
constexpr std::array<KeyField, 5> kSectionKeys = {{{kJiantiKey, &LessonSection::jt},
                                                   {kFantiKey, &LessonSection::ft},
                                                   {kPinyinKey, &LessonSection::py},
                                                   {kJyutpingKey, &LessonSection::jp},
                                                   {kEnglishKey, &LessonSection::en}}};

// The title of a header line; nullopt when the line has no ":".
std::optional<QString> HeaderTitle(const QByteArray& line, bool broken) {
    const qsizetype colon = line.indexOf(':', 1);
    if (colon < 0) {
        return std::nullopt;
    }
    const qsizetype close = line.indexOf(']', colon + 1);
    QByteArray title = line.mid(colon + 1, close < 0 ? -1 : close - colon - 1);
    QString text = DecodeLessonValue(title, "");
    if (close < 0 && broken) {
        text += u'\n';
    }
    return text;
}

} // namespace

bool ParseOxaSections(const QByteArray& bytes, Lesson& lesson, bool clear) {
    if (clear) {
        lesson.Clear();
    } else if (lesson.records.empty()) {
        lesson.records.push_back(Lesson::TitleRecord());
    } else {
        lesson.records.resize(1);
    }
    const FileLines file = SplitFileLines(bytes);
    const qsizetype lineCount = file.lines.size();
    qsizetype next = 0;
    while (next < lineCount) {
        const QByteArray& header = file.lines[next];
        const bool headerBroken = file.broken[next];
        ++next;
        if (!header.startsWith('[')) {
            continue;
        }
        const std::optional<QString> title = HeaderTitle(header, headerBroken);
        if (!title) {
            continue;
        }
        LessonSection scratch;
        scratch.title = *title;
        bool complete = true;
        for (const KeyField& key : kSectionKeys) {
            if (next >= lineCount) {
                return lesson.count() >= 1;
            }
            const QByteArray& line = file.lines[next++];
            if (!line.startsWith(key.key)) {
                complete = false;
                break;
            }
            scratch.*key.field = DecodeLessonValue(QByteArrayView(line).sliced(3), key.key);
        }
        if (complete && !lesson.isFull()) {
            lesson.records.push_back(std::move(scratch));
        }
    }
    return lesson.count() >= 1;
}

bool ReadOxaFile(const QString& path, Lesson& lesson, bool clear) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    return ParseOxaSections(file.readAll(), lesson, clear);
}

QByteArray FormatOxaSections(const Lesson& lesson, int first) {
    QByteArray out;
    for (int i = first; i < lesson.count(); ++i) {
        const LessonSection& record = lesson.records[i];
        out += '[' + QByteArray::number(i) + ':' + EncodeLessonValue(record.title, "") + "]\n";
        for (const KeyField& key : kSectionKeys) {
            out += key.key + EncodeLessonValue(record.*key.field, key.key) + '\n';
        }
    }
    return out;
}

bool WriteOxaFile(const QString& path, const Lesson& lesson, MessageReporter& reporter) {
    if (!ReplaceFileContents(path, FormatOxaSections(lesson, 0))) {
        reporter.showMessage(CannotOpenMessage(path));
        return false;
    }
    return true;
}

} // namespace quillory
