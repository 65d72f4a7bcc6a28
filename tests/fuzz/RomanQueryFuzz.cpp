// The romanised-query reader: a typed text read as Pinyin and as Jyutping,
// whole or as a prefix, then fitted against a reading. The input is the typed
// text, a NUL, and the reading (the store's form, but any bytes here).
#include "dictionary/search/QueryClassifier.h"
#include "dictionary/search/RomanQuery.h"
#include "tests/fuzz/FuzzInput.h"

using namespace quillory;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzz::InputBytes(data, size);
    const qsizetype split = bytes.indexOf('\0');
    const QString typed = QString::fromUtf8(split < 0 ? bytes : bytes.first(split));
    const QString reading = split < 0 ? QString() : QString::fromUtf8(bytes.sliced(split + 1));
    ClassifyQuery(typed);
    for (const Scheme scheme : {Scheme::Pinyin, Scheme::Jyutping}) {
        for (const bool prefix : {false, true}) {
            if (const std::optional<RomanQuery> query = RomanQuery::Parse(typed, scheme, prefix)) {
                query->fit(reading);
                query->fit(query->letters());
            }
        }
    }
    return 0;
}
