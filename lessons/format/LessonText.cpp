#include "lessons/format/LessonText.h"

#include "dictionary/text/GbkCodec.h"

#include <QStringDecoder>

namespace quillory {
namespace {

const QString kEscapedBreak = QStringLiteral("\\n");

QString DecodeUtf8OrBytes(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    return QString::fromLatin1(bytes.data(), bytes.size());
}

} // namespace

bool IsChineseKey(QByteArrayView key) {
    return key == QByteArrayView(kJiantiKey) || key == QByteArrayView(kFantiKey);
}

QByteArray EncodeLessonValue(const QString& value, QByteArrayView key) {
    QString oneLine = value;
    oneLine.replace(QStringLiteral("\r\n"), kEscapedBreak);
    oneLine.replace(u'\r', kEscapedBreak);
    oneLine.replace(u'\n', kEscapedBreak);
    return IsChineseKey(key) ? EncodeGb18030(oneLine) : oneLine.toUtf8();
}

QString DecodeLessonValue(QByteArrayView bytes, QByteArrayView key) {
    QString text = IsChineseKey(key) ? DecodeGb18030Lenient(bytes.toByteArray()) : DecodeUtf8OrBytes(bytes);
    text.replace(kEscapedBreak, QStringLiteral("\n"));
    return text;
}

FileLines SplitFileLines(const QByteArray& bytes) {
    FileLines result;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', start);
        const bool broken = end >= 0;
        QByteArray line = bytes.mid(start, (broken ? end : bytes.size()) - start);
        if (broken && line.endsWith('\r')) {
            line.chop(1);
        }
        result.lines.append(line);
        result.broken.append(broken);
        start = broken ? end + 1 : bytes.size();
    }
    return result;
}

QString CannotOpenMessage(const QString& path) {
    return QStringLiteral("Cannot open ") + path + QStringLiteral(" to read or write.");
}

} // namespace quillory
