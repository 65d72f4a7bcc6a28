#include "settings/LanguageData.h"

#include "dictionary/text/GbkCodec.h"
#include "dictionary/text/Romanisation.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace quillory {
namespace {

const QString kResourcePath = QStringLiteral(":/language/LANGUAGE.WAV");
const QString kFileName = QStringLiteral("language.txt");

// The first occurrence of needle in text at the start of a line, from position from.
qsizetype IndexAtLineStart(QStringView text, QStringView needle, qsizetype from = 0) {
    for (qsizetype at = text.indexOf(needle, from); at >= 0; at = text.indexOf(needle, at + 1)) {
        if (at == 0 || text.at(at - 1) == u'\n') {
            return at;
        }
    }
    return -1;
}

std::optional<QByteArray> ReadAtMost(const QString& path, qint64 maxBytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.read(maxBytes);
}

} // namespace

QString LanguageKey(int language) {
    switch (language) {
    case kPinyin:
        return QStringLiteral("py=");
    case kJianti:
        return QStringLiteral("jt=");
    case kFanti:
        return QStringLiteral("ft=");
    case kJyutping:
        return QStringLiteral("jp=");
    default:
        return QStringLiteral("en=");
    }
}

FontSlot FontSlotOfKind(const QString& kindMarker) {
    if (kindMarker == u"py") {
        return FontSlot::Pinyin;
    }
    if (kindMarker == u"gb") {
        return FontSlot::Jianti;
    }
    if (kindMarker == u"b5") {
        return FontSlot::Fanti;
    }
    if (kindMarker == u"jp") {
        return FontSlot::Jyutping;
    }
    return FontSlot::English;
}

LanguageData::LanguageData(MessageReporter& reporter) : reporter_(reporter) {}

bool LanguageData::Load(const QString& dataFolder) {
    auto bytes = ReadAtMost(kResourcePath, kMaxBytes);
    if (!bytes) {
        bytes = ReadAtMost(QDir(dataFolder).filePath(kFileName), kMaxBytes);
    }
    if (!bytes) {
        data_.clear();
        reporter_.showMessage(QStringLiteral("Cannot load language data."));
        return false;
    }
    LoadGbk(*bytes);
    return !isEmpty();
}

void LanguageData::LoadGbk(const QByteArray& bytes) {
    QByteArray text = bytes.left(kMaxBytes);
    const qsizetype zero = text.indexOf('\0');
    if (zero >= 0) {
        text.truncate(zero);
    }
    // Invalid sequences are replaced, so one bad byte loses one character only.
    data_ = DecodeGbkLenient(text);
    data_.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    data_.replace(u'\r', u'\n');
}

bool LanguageData::isEmpty() const {
    return data_.isEmpty();
}

bool LanguageData::RegisterTextId(std::uint32_t id, const QString& name) {
    // Id 0 marks a free pair, so it cannot be entered.
    if (id == 0 || name.isEmpty()) {
        return false;
    }
    for (auto& pair : ids_) {
        if (pair.first == id) {
            pair.second = name;
            return true;
        }
    }
    for (auto& pair : ids_) {
        if (pair.first == 0) {
            pair = {id, name};
            return true;
        }
    }
    return false;
}

std::optional<InterfaceText> LanguageData::GetText(std::uint32_t id, int language) const {
    if (id == 0) {
        return std::nullopt;
    }
    QString name;
    for (const auto& pair : ids_) {
        if (pair.first == id) {
            name = pair.second;
            break;
        }
    }
    if (name.isEmpty()) {
        return std::nullopt;
    }

    const QStringView data(data_);
    const QString header = u'[' + name + QStringLiteral("]\n");
    const qsizetype headerAt = IndexAtLineStart(data, header);
    if (headerAt < 0) {
        return std::nullopt;
    }
    const qsizetype sectionStart = headerAt + header.size();
    // The header's own line feed counts, so an empty section ends right there
    // instead of running into the next one.
    qsizetype sectionEnd = data.indexOf(QStringLiteral("\n["), sectionStart - 1);
    if (sectionEnd < 0) {
        sectionEnd = data.size();
    }
    const QStringView section = data.sliced(sectionStart, std::max(sectionEnd, sectionStart) - sectionStart);

    // Keys count only at the start of a line, so a text holding "en=" is never
    // taken for a key.
    QString key = LanguageKey(language);
    qsizetype keyAt = IndexAtLineStart(section, key);
    if (keyAt < 0) {
        key = QStringLiteral("dt=");
        keyAt = IndexAtLineStart(section, key);
        if (keyAt < 0) {
            return std::nullopt;
        }
    }
    const qsizetype valueStart = keyAt + key.size();
    const qsizetype lineEnd = section.indexOf(u'\n', valueStart);
    const QStringView value =
        section.sliced(valueStart, (lineEnd < 0 ? section.size() : lineEnd) - valueStart);

    const qsizetype bar = value.indexOf(u'|');
    if (bar < 0) {
        return std::nullopt;
    }
    InterfaceText result;
    result.kind = value.left(bar).toString();
    result.text = value.mid(bar + 1).toString();
    result.text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    if (result.kind == u"py") {
        result.text = MarkPinyinFont(result.text);
    }
    return result;
}

std::optional<std::pair<InterfaceText, FontSlot>> LanguageData::GetTextAndFont(std::uint32_t id,
                                                                               int language) const {
    std::optional<InterfaceText> text = GetText(id, language);
    if (!text) {
        return std::nullopt;
    }
    const FontSlot slot = FontSlotOfKind(text->kind);
    return std::make_pair(std::move(*text), slot);
}

} // namespace quillory
