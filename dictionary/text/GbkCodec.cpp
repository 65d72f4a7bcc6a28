#include "dictionary/text/GbkCodec.h"

#include <cerrno>
#include <iconv.h>

namespace quillory {
namespace {

// One conversion through iconv; stopAtInvalid decides between failing and
// replacing an invalid input sequence (one byte is skipped per replacement).
std::optional<QByteArray> Convert(const char* to, const char* from, const QByteArray& input, bool stopAtInvalid,
                                  const QByteArray& replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    QByteArray output;
    output.reserve(input.size() * 2 + 16);
    char buffer[4096];
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = static_cast<size_t>(input.size());
    bool ok = true;
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<qsizetype>(out - buffer));
        if (result != static_cast<size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            continue;
        }
        // EILSEQ or EINVAL (a sequence cut off at the end).
        if (stopAtInvalid) {
            ok = false;
            break;
        }
        output.append(replacement);
        ++in;
        --inLeft;
    }
    iconv_close(cd);
    if (!ok) {
        return std::nullopt;
    }
    return output;
}

} // namespace

std::optional<QString> DecodeGbk(const QByteArray& bytes) {
    const auto utf8 = Convert("UTF-8", "GBK", bytes, true, {});
    if (!utf8) {
        return std::nullopt;
    }
    return QString::fromUtf8(*utf8);
}

QString DecodeGbkLenient(const QByteArray& bytes) {
    const auto utf8 = Convert("UTF-8", "GBK", bytes, false, QByteArray("\xEF\xBF\xBD"));
    return utf8 ? QString::fromUtf8(*utf8) : QString();
}

std::optional<QByteArray> EncodeGbk(const QString& text) {
    return Convert("GBK", "UTF-8", text.toUtf8(), true, {});
}

QString DecodeGb18030Lenient(const QByteArray& bytes) {
    const auto utf8 = Convert("UTF-8", "GB18030", bytes, false, QByteArray("\xEF\xBF\xBD"));
    return utf8 ? QString::fromUtf8(*utf8) : QString();
}

QByteArray EncodeGb18030(const QString& text) {
    return Convert("GB18030", "UTF-8", text.toUtf8(), false, QByteArray("?")).value_or(QByteArray());
}

} // namespace quillory
