#pragma once
// Shared by the fuzz harnesses: the input as Qt bytes, a temporary file for
// readers that take a path, and small pieces cut from the front of the input.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <utility>

// libFuzzer's entry point; the replay driver calls it too.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace quillory::fuzz {

// The input without a copy; valid only during the call.
inline QByteArray InputBytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}

// One temporary folder for the whole run, emptied of nothing between inputs:
// each input overwrites the files it names.
inline const QDir& ScratchFolder() {
    static QTemporaryDir folder;
    static const QDir dir(folder.path());
    return dir;
}

// Writes the bytes to name in the scratch folder (a path inside it, folders
// made as needed) and returns the file's path.
inline QString WriteScratchFile(const QString& name, const QByteArray& bytes) {
    const QString path = ScratchFolder().filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fuzz input to %s", qPrintable(path));
    return path;
}

// Takes the next piece of the input off its front.
class InputCursor {
public:
    explicit InputCursor(QByteArray bytes) : bytes_(std::move(bytes)) {}

    std::uint8_t TakeByte() {
        if (bytes_.isEmpty())
            return 0;
        const auto value = std::uint8_t(bytes_[0]);
        bytes_.remove(0, 1);
        return value;
    }
    std::uint16_t TakeU16() { return std::uint16_t(TakeByte() | TakeByte() << 8); }
    // The bytes up to the next zero byte, which is dropped.
    QByteArray TakeText() {
        const qsizetype end = bytes_.indexOf('\0');
        const QByteArray text = end < 0 ? bytes_ : bytes_.left(end);
        bytes_.remove(0, end < 0 ? bytes_.size() : end + 1);
        return text;
    }
    const QByteArray& rest() const { return bytes_; }

private:
    QByteArray bytes_;
};

} // namespace quillory::fuzz
