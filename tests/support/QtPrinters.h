#pragma once
// GoogleTest printers for Qt texts, so failed EXPECT_EQ and matchers show
// the text itself rather than a list of QChar or byte values. They sit in
// Qt's namespace (the global one in a default Qt build), where
// argument-dependent look-up finds them.
#include <QByteArray>
#include <QString>

#include <cstdio>
#include <ostream>

QT_BEGIN_NAMESPACE

// UTF-8 text in double quotes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Bytes in double quotes; bytes outside printable ASCII as \xNN escapes.
inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"';
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\' && byte != '"') {
            *out << c;
        } else if (byte == '\n') {
            *out << "\\n";
        } else if (byte == '\\' || byte == '"') {
            *out << '\\' << c;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            *out << escaped;
        }
    }
    *out << '"';
}

QT_END_NAMESPACE
