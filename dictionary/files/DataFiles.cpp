#include "dictionary/files/DataFiles.h"

namespace quillory {

namespace {

const QString kIndexFileName = QStringLiteral("oxa.dat");

// List files in the order they are opened (after the index) and their slots.
struct ListFileName {
    ListFile which;
    const char* name;
};
constexpr ListFileName kListFileNames[] = {
    {ListFile::StrokeCount, "ghi.dat"},
    {ListFile::Pinyin, "ijk.dat"},
    {ListFile::Jyutping, "jkl.dat"},
    {ListFile::Radical, "hij.dat"},
};

} // namespace

DataFiles::DataFiles(QString dataFolder, MessageReporter& reporter)
    : folder_(std::move(dataFolder)), reporter_(reporter) {}

DataFiles::~DataFiles() = default;

QString DataFiles::DataPath(const QString& name) const {
    if (folder_.isEmpty() || folder_.endsWith(QLatin1Char('/')))
        return folder_ + name;
    return folder_ + QLatin1Char('/') + name;
}

namespace {

std::unique_ptr<QFile> OpenForReading(const QString& path, MessageReporter& reporter) {
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        reporter.showMessage(QStringLiteral("Cannot open ") + path + QStringLiteral(" to read or write."));
        return nullptr;
    }
    // Chunks are read at their positions: a pipe or a device cannot seek.
    if (file->isSequential()) {
        reporter.showMessage(QStringLiteral("%1 is no regular file.").arg(path));
        return nullptr;
    }
    return file;
}

} // namespace

bool DataFiles::OpenDataFiles() {
    CloseDataFiles();
    index_ = OpenForReading(DataPath(kIndexFileName), reporter_);
    bool allOpen = index_ != nullptr;
    for (const ListFileName& list : kListFileNames) {
        auto& slot = lists_[static_cast<std::size_t>(list.which)];
        slot = OpenForReading(DataPath(QString::fromLatin1(list.name)), reporter_);
        allOpen = allOpen && slot != nullptr;
    }
    return allOpen;
}

void DataFiles::CloseDataFiles() {
    index_.reset();
    for (auto& list : lists_)
        list.reset();
}

QFile* DataFiles::indexFile() {
    return index_.get();
}

QFile* DataFiles::listFile(ListFile which) {
    const auto slot = static_cast<std::size_t>(which);
    return slot < lists_.size() ? lists_[slot].get() : nullptr;
}

} // namespace quillory
