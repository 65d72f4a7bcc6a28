#pragma once
// How the values of lesson files and lesson indexes are stored: one line per
// value, Chinese text (keys "jt=" and "ft=") in GB18030, which reads every GBK
// file unchanged, and every other value in UTF-8. A line break inside a value
// is written as the two characters backslash and n and read back as a line
// break, the rule of the interface texts' language data.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace quillory {

// The keys of the five text forms, as they begin their lines.
inline constexpr char kJiantiKey[] = "jt=";
inline constexpr char kFantiKey[] = "ft=";
inline constexpr char kPinyinKey[] = "py=";
inline constexpr char kJyutpingKey[] = "jp=";
inline constexpr char kEnglishKey[] = "en=";
// The HTML index's name of a lesson's index page.
inline constexpr char kIndexPageKey[] = "idx=";

// True for the keys whose values are Chinese text.
bool IsChineseKey(QByteArrayView key);

// The bytes of a value under a key; line breaks (CR LF, CR, LF) become "\n".
QByteArray EncodeLessonValue(const QString& value, QByteArrayView key);
// The text of a value's bytes under a key: Chinese keys through GB18030
// (invalid bytes become U+FFFD); any other key UTF-8, or byte by byte when
// the bytes are no UTF-8 (files of other programs); "\n" becomes a line break.
QString DecodeLessonValue(QByteArrayView bytes, QByteArrayView key);

// The lines of a file without their line breaks (LF or CR LF), and whether
// each had one. A last line without a line break is kept.
struct FileLines {
    QList<QByteArray> lines;
    QList<bool> broken; // the line ended with a line break
};
FileLines SplitFileLines(const QByteArray& bytes);

// "Cannot open PATH to read or write.", the message of every file that
// cannot be written.
QString CannotOpenMessage(const QString& path);

} // namespace quillory
