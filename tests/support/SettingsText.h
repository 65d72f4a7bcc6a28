#pragma once
// Settings written and compared as one text, "name=value; name=value", so a test states them on one line.
#include "tests/support/TemporarySettings.h"

namespace quillory::testing {

// Every stored value as "name=value", sorted by name and joined with "; ".
inline QString StoredText(const TemporarySettings& settings) {
    QStringList values;
    for (const QString& name : settings.storedNames()) {
        values.append(name + u'=' + settings.value(qPrintable(name)));
    }
    return values.join(QStringLiteral("; "));
}

// Stores each "name=value" of such a text; false when one is malformed or cannot be stored.
inline bool StoreText(SettingsStore& store, const QString& text) {
    for (const QString& pair : text.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(u'=');
        if (equals < 1 || !store.WriteSetting(pair.left(equals), pair.mid(equals + 1))) {
            return false;
        }
    }
    return true;
}

} // namespace quillory::testing
