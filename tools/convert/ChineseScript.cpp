#include "tools/convert/ChineseScript.h"

#include <opencc/SimpleConverter.hpp>

#include <exception>
#include <string>

namespace quillory {

namespace {

int SlotOf(ScriptDirection direction, ChineseVariant variant) {
    return (direction == ScriptDirection::ToTraditional ? 0 : 3) + static_cast<int>(variant);
}

} // namespace

QString OpenCcConfig(ScriptDirection direction, ChineseVariant variant) {
    static const char* const kConfigs[] = {"s2t.json", "s2tw.json", "s2hk.json",
                                           "t2s.json", "tw2s.json", "hk2s.json"};
    return QString::fromLatin1(kConfigs[SlotOf(direction, variant)]);
}

ChineseScript::ChineseScript() = default;
ChineseScript::~ChineseScript() = default;

const opencc::SimpleConverter* ChineseScript::converter(ScriptDirection direction, ChineseVariant variant) {
    const std::lock_guard lock(mutex_);
    std::unique_ptr<opencc::SimpleConverter>& slot = converters_[std::size_t(SlotOf(direction, variant))];
    if (!slot) {
        const QString config = OpenCcConfig(direction, variant);
        try {
            slot = std::make_unique<opencc::SimpleConverter>(config.toStdString());
        } catch (const std::exception& failure) {
            error_ = QStringLiteral("Cannot load the conversion tables %1: %2")
                         .arg(config, QString::fromUtf8(failure.what()));
        } catch (...) {
            error_ = QStringLiteral("Cannot load the conversion tables %1.").arg(config);
        }
    }
    return slot.get();
}

std::optional<QString> ChineseScript::Convert(QStringView text, ScriptDirection direction,
                                              ChineseVariant variant) {
    const opencc::SimpleConverter* tables = converter(direction, variant);
    if (!tables) {
        return std::nullopt;
    }
    // OpenCC reads its input up to a zero byte: convert the pieces between
    // zero characters, so that none of the text after one is lost.
    QString result;
    result.reserve(text.size());
    qsizetype start = 0;
    for (;;) {
        const qsizetype zero = text.indexOf(QChar(0), start);
        const QStringView piece = text.mid(start, (zero < 0 ? text.size() : zero) - start);
        const QByteArray utf8 = piece.toUtf8();
        try {
            result += QString::fromStdString(tables->Convert(utf8.constData(), std::size_t(utf8.size())));
        } catch (const std::exception& failure) {
            const std::lock_guard lock(mutex_);
            error_ =
                QStringLiteral("The text cannot be converted: %1").arg(QString::fromUtf8(failure.what()));
            return std::nullopt;
        }
        if (zero < 0) {
            return result;
        }
        result += QChar(0);
        start = zero + 1;
    }
}

QString ChineseScript::error() const {
    const std::lock_guard lock(mutex_);
    return error_;
}

} // namespace quillory
