#include "datagen/sources/Bzip2.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <bzlib.h>
#include <limits>

namespace quillory::datagen {

namespace {

bool HasBzip2Signature(const QByteArray& data) {
    return data.size() >= 4 && data.startsWith("BZh") && data[3] >= '1' && data[3] <= '9';
}

} // namespace

bool DecompressBzip2(const QByteArray& compressed, QByteArray* out, QString* error) {
    out->clear();
    if (compressed.isEmpty()) {
        *error = QStringLiteral("empty bzip2 data");
        return false;
    }
    QByteArray result;
    result.resize(std::max<qsizetype>(compressed.size() * 6, 1 << 16));
    qsizetype produced = 0;
    qsizetype consumed = 0;
    // One iteration per concatenated stream.
    while (consumed < compressed.size()) {
        bz_stream stream{};
        if (BZ2_bzDecompressInit(&stream, 0, 0) != BZ_OK) {
            *error = QStringLiteral("cannot start bzip2 decompression");
            return false;
        }
        const qsizetype remaining = compressed.size() - consumed;
        const auto available =
            static_cast<unsigned>(std::min<qsizetype>(remaining, std::numeric_limits<unsigned>::max()));
        stream.next_in = const_cast<char*>(compressed.constData() + consumed);
        stream.avail_in = available;
        int rc = BZ_OK;
        while (rc == BZ_OK) {
            if (produced == result.size())
                result.resize(result.size() * 2);
            const qsizetype room = std::min<qsizetype>(result.size() - produced, 1 << 30);
            stream.next_out = result.data() + produced;
            stream.avail_out = static_cast<unsigned>(room);
            rc = BZ2_bzDecompress(&stream);
            produced += room - stream.avail_out;
            if (rc == BZ_OK && stream.avail_in == 0 && stream.avail_out != 0) {
                rc = BZ_UNEXPECTED_EOF;
                break;
            }
        }
        const qsizetype used = available - stream.avail_in;
        BZ2_bzDecompressEnd(&stream);
        if (rc != BZ_STREAM_END) {
            *error = rc == BZ_UNEXPECTED_EOF ? QStringLiteral("truncated bzip2 data")
                                             : QStringLiteral("corrupt bzip2 data (code %1)").arg(rc);
            return false;
        }
        consumed += used;
        // Trailing bytes that do not start another stream are ignored, as bzip2 does.
        if (!HasBzip2Signature(compressed.mid(consumed, 4)))
            break;
    }
    result.truncate(produced);
    *out = std::move(result);
    return true;
}

bool ReadSourceFile(const QString& path, QByteArray* content, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    QByteArray raw = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    if (!HasBzip2Signature(raw)) {
        *content = std::move(raw);
        return true;
    }
    QString why;
    if (!DecompressBzip2(raw, content, &why)) {
        *error = QStringLiteral("cannot decompress %1: %2").arg(path, why);
        return false;
    }
    return true;
}

QString FindSourceFile(const QString& dir, const QString& name) {
    const QDir folder(dir);
    for (const QString& candidate : {name + QStringLiteral(".bz2"), name}) {
        const QString path = folder.filePath(candidate);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

} // namespace quillory::datagen
