#pragma once
// The index of a lesson library (oxaLesson.idx, htmlLesson.idx): one entry
// per lesson, in the order added, each an empty line, "[id]" and one
// "key=value" line per title form. A line beginning with "[" starts an entry
// whose id is the run of digits after the "["; the key lines up to the next
// "[" line belong to it, in any order.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <utility>
#include <vector>

namespace quillory {

inline constexpr int kMaxLessonId = 65534;

// A lesson as the libraries list it: its id and one of its titles.
struct LessonEntry {
    int id = 0;
    QString title;
    friend bool operator==(const LessonEntry&, const LessonEntry&) = default;
};

// One key line of an entry: the key ("en=") and the value.
using IndexValue = std::pair<QByteArray, QString>;

class LessonIndex {
public:
    explicit LessonIndex(QString path) : path_(std::move(path)) {}
    const QString& path() const { return path_; }

    // The smallest id from 1 to 65534 whose text "[id]" occurs in no line
    // beginning with "[", or -1 when every id is taken. A missing index is
    // an empty one.
    int NewLessonId() const;
    // The first non-empty value of the key in the entries whose line begins
    // with "[id]"; empty when there is none. False only when the index
    // cannot be read.
    bool ReadValue(int id, QByteArrayView key, QString& value) const;
    // Appends an entry, creating the index and its folder when missing.
    // False when the index cannot be written; it is then unchanged.
    bool AppendEntry(int id, const QList<IndexValue>& values) const;
    // Rewrites the index without the entries of the id (and the empty line
    // before each). False when the index cannot be rewritten; true, changing
    // nothing, when the id has no entry.
    bool RemoveEntry(int id) const;

private:
    QString path_;
};

// One enumeration of an index: the entries in file order with the value of
// one key.
class LessonIndexCursor {
public:
    // Ends an enumeration still open; false when the index cannot be read.
    bool Open(const QString& path);
    // The id of the next entry that has the key, with its value. An entry
    // without the key is passed over, except the last one, which is returned
    // with an empty value. -1 at the end.
    int Next(QByteArrayView key, QString& value);
    void Close();

private:
    QList<QByteArray> lines_;
    qsizetype next_ = 0;
    bool open_ = false;
};

// Every lesson of an index with its value under the key, as the enumeration
// gives them; ids outside 1 to 65534 are left out. Empty when the index is
// missing.
std::vector<LessonEntry> ListLessons(const QString& indexPath, QByteArrayView key);

// The id an index line starts, or -1 when it starts none (no "[" or no digit
// after it).
int EntryIdOfLine(QByteArrayView line);

} // namespace quillory
