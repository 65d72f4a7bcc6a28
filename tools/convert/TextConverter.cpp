#include "tools/convert/TextConverter.h"

#include "tools/convert/HtmlReferences.h"
#include "tools/convert/ReadingWriter.h"

namespace quillory {

namespace {

ConversionResult Converted(QString text) {
    return {std::move(text), {}};
}

ConversionResult Failed(QString error) {
    return {{}, std::move(error)};
}

} // namespace

TextConverter::TextConverter(QString recordStorePath) : recordStorePath_(std::move(recordStorePath)) {}

bool TextConverter::LoadLexicon(QString* error) {
    std::call_once(lexiconOnce_, [this] {
        RecordStore store;
        if (!store.Open(recordStorePath_) || !lexicon_.Load(store)) {
            lexiconError_ =
                QStringLiteral("Cannot read the dictionary's words from %1.").arg(recordStorePath_);
        }
    });
    if (error) {
        *error = lexiconError_;
    }
    return lexiconError_.isEmpty();
}

ConversionResult TextConverter::ConvertText(QStringView text, TextKind from, TextKind to,
                                            ChineseVariant variant) {
    if (!IsOffered(from, to)) {
        return Failed(QStringLiteral("%1 text does not convert into %2.").arg(KindName(from), KindName(to)));
    }
    if (from == to || (from == TextKind::Jyutping && to == TextKind::Html)) {
        return Converted(text.toString());
    }
    switch (to) {
    case TextKind::Html:
        return Converted(from == TextKind::Pinyin ? PinyinToHtml(text) : EncodeHtml(text));
    case TextKind::GB:
    case TextKind::Big5:
        if (from == TextKind::Html) {
            return Converted(DecodeHtml(text));
        } else {
            const auto direction =
                to == TextKind::Big5 ? ScriptDirection::ToTraditional : ScriptDirection::ToSimplified;
            if (auto converted = script_.Convert(text, direction, variant)) {
                return Converted(std::move(*converted));
            }
            return Failed(script_.error());
        }
    case TextKind::Pinyin:
    case TextKind::Jyutping:
        return ToReadings(text, from, to, variant);
    }
    return Failed(QStringLiteral("Unknown text kind."));
}

ConversionResult TextConverter::ToReadings(QStringView text, TextKind from, TextKind to,
                                           ChineseVariant variant) {
    QString error;
    if (!LoadLexicon(&error)) {
        return Failed(error);
    }
    ReadingRequest request;
    request.scheme = to == TextKind::Pinyin ? Scheme::Pinyin : Scheme::Jyutping;
    request.traditional = from == TextKind::Big5;
    // Traditional text is also matched through its simplified form, where
    // that form lines up with it character for character.
    std::optional<QString> simplified;
    if (request.traditional) {
        simplified = script_.Convert(text, ScriptDirection::ToSimplified, variant);
        if (simplified && simplified->size() == text.size()) {
            request.simplified = *simplified;
        }
    }
    return Converted(WriteReadings(text, request, lexicon_));
}

} // namespace quillory
