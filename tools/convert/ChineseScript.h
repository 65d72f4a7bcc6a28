#pragma once
// Simplified and traditional Chinese characters converted at phrase level
// (头发 → 頭髮, 干燥 → 乾燥) by OpenCC, in the standard, Taiwan or Hong Kong
// traditional forms.
#include <QString>
#include <QStringView>
#include <array>
#include <memory>
#include <mutex>
#include <optional>

namespace opencc {
class SimpleConverter;
}

namespace quillory {

enum class ChineseVariant : int { Standard = 0, Taiwan = 1, HongKong = 2 };

enum class ScriptDirection { ToTraditional, ToSimplified };

// The OpenCC configuration of a conversion: s2t.json, s2tw.json, s2hk.json
// and t2s.json, tw2s.json, hk2s.json.
QString OpenCcConfig(ScriptDirection direction, ChineseVariant variant);

// Loads each configuration on first use and keeps it; safe to use from
// several threads at once.
class ChineseScript {
public:
    ChineseScript();
    ~ChineseScript();
    ChineseScript(const ChineseScript&) = delete;
    ChineseScript& operator=(const ChineseScript&) = delete;

    // nullopt when OpenCC cannot load the configuration; error() says why.
    std::optional<QString> Convert(QStringView text, ScriptDirection direction, ChineseVariant variant);
    QString error() const;

private:
    const opencc::SimpleConverter* converter(ScriptDirection direction, ChineseVariant variant);

    mutable std::mutex mutex_;
    std::array<std::unique_ptr<opencc::SimpleConverter>, 6> converters_;
    QString error_;
};

} // namespace quillory
