#include "dictionary/search/SearchHistory.h"

#include "dictionary/search/QueryClassifier.h"
#include "dictionary/text/GbkCodec.h"
#include "pages/protocol/ProtocolRequest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <optional>

namespace quillory {
namespace {

bool IsSamePage(const SearchHistoryEntry& entry, std::uint32_t command, std::uint32_t value,
                const QString& text) {
    return entry.command == command && entry.text == text && (IsTextCommand(command) || entry.value == value);
}

enum class LineRead { Line, TooLong, End };

// Reads one line of at most kMaxLineBytes bytes, line break included; a
// longer line is consumed whole and reported as too long.
LineRead ReadBoundedLine(QIODevice& device, QByteArray& line) {
    char buffer[SearchHistory::kMaxLineBytes + 1];
    qint64 count = device.readLine(buffer, sizeof buffer);
    if (count <= 0)
        return LineRead::End;
    if (buffer[count - 1] == '\n' || device.atEnd()) {
        line = QByteArray(buffer, count);
        return LineRead::Line;
    }
    do {
        count = device.readLine(buffer, sizeof buffer);
    } while (count > 0 && buffer[count - 1] != '\n');
    return LineRead::TooLong;
}

std::optional<SearchHistoryEntry> ParseHistoryLine(QByteArray line) {
    if (line.contains('\0'))
        return std::nullopt;
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    const QString text = DecodeGbkLenient(line);
    if (text.size() > SearchHistory::kMaxLineCharacters)
        return std::nullopt;
    const qsizetype firstTab = text.indexOf(u'\t');
    const qsizetype secondTab = firstTab < 0 ? -1 : text.indexOf(u'\t', firstTab + 1);
    if (secondTab < 0)
        return std::nullopt;
    SearchHistoryEntry entry;
    entry.command = HexValue(QStringView(text).left(firstTab));
    entry.value = HexValue(QStringView(text).mid(firstTab + 1, secondTab - firstTab - 1));
    entry.text = text.mid(secondTab + 1);
    if (entry.isEmpty())
        return std::nullopt;
    return entry;
}

// The file line of an entry, or nothing when the entry would not read back
// as it is: a text GBK cannot encode, a line break or NUL inside the text, or
// a line longer than the reader accepts.
std::optional<QByteArray> FormatHistoryLine(const SearchHistoryEntry& entry) {
    if (entry.text.contains(u'\n') || entry.text.contains(u'\r') || entry.text.contains(QChar(0)))
        return std::nullopt;
    const std::optional<QByteArray> text = EncodeGbk(entry.text);
    if (!text)
        return std::nullopt;
    const std::uint32_t value = IsTextCommand(entry.command) ? 0 : entry.value;
    const QByteArray head = QByteArray::number(entry.command, 16).toUpper() + '\t' +
                            QByteArray::number(value, 16).toUpper() + '\t';
    if (head.size() + entry.text.size() > SearchHistory::kMaxLineCharacters)
        return std::nullopt;
    return head + *text + '\n';
}

} // namespace

void SearchHistory::AddToHistory(std::uint32_t command, std::uint32_t value, const QString& text) {
    if (value == SearchHistoryEntry::kNoValue)
        return;
    if (IsSamePage(entries_[0], command, value, text))
        return;
    const auto same = std::find_if(entries_.begin(), entries_.end(), [&](const SearchHistoryEntry& entry) {
        return IsSamePage(entry, command, value, text);
    });
    const auto last = same == entries_.end() ? entries_.end() - 1 : same;
    std::move_backward(entries_.begin(), last, last + 1);
    entries_[0] = SearchHistoryEntry{command, value, text};
}

std::vector<int> SearchHistory::usedEntries() const {
    std::vector<int> used;
    for (int i = 0; i < kSize; ++i) {
        if (!entries_[i].isEmpty())
            used.push_back(i);
    }
    return used;
}

void SearchHistory::clear() {
    entries_.fill(SearchHistoryEntry{});
}

bool SearchHistory::LoadHistory(const QString& path) {
    clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    int filled = 0;
    QByteArray line;
    for (LineRead read; filled < kSize && (read = ReadBoundedLine(file, line)) != LineRead::End;) {
        if (read == LineRead::TooLong)
            continue;
        if (std::optional<SearchHistoryEntry> entry = ParseHistoryLine(line))
            entries_[filled++] = std::move(*entry);
    }
    return true;
}

bool SearchHistory::SaveHistory(const QString& path) const {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const SearchHistoryEntry& entry : entries_) {
        if (entry.isEmpty())
            continue;
        if (const std::optional<QByteArray> line = FormatHistoryLine(entry))
            file.write(*line);
    }
    return file.commit();
}

bool CanReplaceFile(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.isWritable() && QFileInfo(file.absolutePath()).isWritable();
}

QString ChooseHistoryFile(const QString& dataFolder, const QString& userFolder,
                          const std::function<bool(const QString&)>& canReplace) {
    const QString name = QStringLiteral("search.txt");
    const QString inDataFolder = QDir(dataFolder).filePath(name);
    if (!dataFolder.isEmpty() && canReplace(inDataFolder))
        return inDataFolder;
    return QDir(userFolder).filePath(name);
}

QString HistoryFilePath(const QString& dataFolder) {
    return ChooseHistoryFile(dataFolder, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                             CanReplaceFile);
}

} // namespace quillory
