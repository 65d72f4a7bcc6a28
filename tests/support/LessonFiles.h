#pragma once
// Lessons and lesson files for the lesson tests.
#include "dictionary/text/GbkCodec.h"
#include "lessons/format/Lesson.h"

#include <QByteArray>
#include <QString>

namespace quillory::testing {

// A section whose five texts are made from one tag ("jt-a", "ft-a" ...).
inline LessonSection TaggedSection(const QString& title, const QString& tag) {
    return {title,
            QStringLiteral("jt-") + tag,
            QStringLiteral("ft-") + tag,
            QStringLiteral("py-") + tag,
            QStringLiteral("jp-") + tag,
            QStringLiteral("en-") + tag};
}

// A title record and n sections "s1".."sn".
inline Lesson TaggedLesson(int sections) {
    Lesson lesson{{TaggedSection(QStringLiteral("title"), QStringLiteral("title"))}};
    for (int i = 1; i <= sections; ++i) {
        lesson.records.push_back(TaggedSection(QStringLiteral("s") + QString::number(i), QString::number(i)));
    }
    return lesson;
}

// The six lines of one section in a lesson file.
inline QByteArray SectionLines(const QByteArray& header, const QByteArray& tag) {
    return header + "\njt=jt-" + tag + "\nft=ft-" + tag + "\npy=py-" + tag + "\njp=jp-" + tag + "\nen=en-" +
           tag + "\n";
}

// The section titles of a lesson, in order.
inline QStringList Titles(const Lesson& lesson) {
    QStringList titles;
    for (const LessonSection& record : lesson.records) {
        titles.append(record.title);
    }
    return titles;
}

} // namespace quillory::testing
