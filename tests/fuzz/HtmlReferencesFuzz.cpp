// The Converter's HTML box: references decoded, as the Converter does with
// pasted or loaded text (UTF-8), and the result encoded back.
#include "tests/fuzz/FuzzInput.h"
#include "tools/convert/HtmlReferences.h"

using namespace quillory;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString decoded = DecodeHtml(QString::fromUtf8(fuzz::InputBytes(data, size)));
    EncodeHtml(decoded);
    PinyinToHtml(decoded);
    return 0;
}
