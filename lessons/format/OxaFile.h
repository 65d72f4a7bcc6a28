#pragma once
// The lesson file: six lines per record, a header "[N:section title]" and the
// lines jt=, ft=, py=, jp=, en= in this order. The library form holds the
// sections only (numbered from 1); the standalone form holds every record,
// the title record first as [0:title]. Numbers are written, never read.
#include "dictionary/text/MessageReporter.h"
#include "lessons/format/Lesson.h"

#include <QByteArray>
#include <QString>

namespace quillory {

// The strict section parser. With clear the lesson is emptied first and the
// file's first section becomes record 0; without it record 0 stays (a title
// record is made when the lesson has none) and the sections follow it.
// A header is a line beginning with "["; its title runs from the first ":"
// to the first "]" (to the end of the line, line break included, without
// one). The five key lines must follow in order; at the first line that does
// not begin with its key the section is dropped and reading goes on after
// that line, so a broken section also swallows the header that follows it.
// Sections beyond record 998 are dropped. False when the file cannot be read
// (the lesson is then untouched) or when no record results.
bool ReadOxaFile(const QString& path, Lesson& lesson, bool clear);
// The same over bytes already read.
bool ParseOxaSections(const QByteArray& bytes, Lesson& lesson, bool clear);

// Records first..count-1 as lesson-file lines, each numbered by its index.
QByteArray FormatOxaSections(const Lesson& lesson, int first);

// Writes every record in the standalone form, replacing the file. Reports
// "Cannot open PATH to read or write." and returns false when it cannot.
bool WriteOxaFile(const QString& path, const Lesson& lesson, MessageReporter& reporter);

} // namespace quillory
