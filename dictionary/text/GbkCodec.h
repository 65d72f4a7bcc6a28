#pragma once
// GBK (code page 936), the encoding of Chinese text in the program's files.
#include <QByteArray>
#include <QString>
#include <optional>

namespace quillory {

// nullopt when the bytes are no valid GBK.
std::optional<QString> DecodeGbk(const QByteArray& bytes);
// Invalid sequences become U+FFFD; never fails.
QString DecodeGbkLenient(const QByteArray& bytes);
// nullopt when the text holds a character GBK cannot encode.
std::optional<QByteArray> EncodeGbk(const QString& text);

// GB18030, the superset of GBK that encodes every Unicode character: every
// GBK file reads the same through it, and text outside GBK survives a write.
// Invalid sequences become U+FFFD; never fails.
QString DecodeGb18030Lenient(const QByteArray& bytes);
// Never fails: GB18030 encodes every character (a lone surrogate is
// written as U+FFFD).
QByteArray EncodeGb18030(const QString& text);

} // namespace quillory
