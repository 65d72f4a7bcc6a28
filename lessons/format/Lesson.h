#pragma once
// An Oxa lesson in memory: a title record and its sections, each a title
// and the same text in five forms.
#include <QString>
#include <vector>

namespace quillory {

struct LessonSection {
    QString title; // "title" in the title record
    QString jt;    // Jianti (simplified Chinese)
    QString ft;    // Fanti (traditional Chinese)
    QString py;    // Pinyin with tone digits
    QString jp;    // Jyutping
    QString en;    // English

    friend bool operator==(const LessonSection&, const LessonSection&) = default;
};

// Record 0 is the title record: its five texts are the lesson's title in the
// five forms. Records 1 onward are the sections, in order.
struct Lesson {
    static constexpr int kMaxRecords = 999;

    std::vector<LessonSection> records;

    int count() const { return int(records.size()); }
    bool isFull() const { return count() >= kMaxRecords; }
    // No records at all.
    void Clear() { records.clear(); }

    static LessonSection TitleRecord() { return LessonSection{QStringLiteral("title"), {}, {}, {}, {}, {}}; }
    // A new lesson: its title record only, every text empty.
    static Lesson NewLesson() { return Lesson{{TitleRecord()}}; }

    friend bool operator==(const Lesson&, const Lesson&) = default;
};

} // namespace quillory
