// The interface texts (language.txt, GBK): loaded from the bytes, then the
// text of every section the bytes name read in every language with its font.
// The section names are registered as the label keys are, under ids 1 up.
#include "settings/LanguageData.h"
#include "tests/fuzz/FuzzInput.h"

using namespace quillory;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzz::InputBytes(data, size);
    RecordingReporter reporter;
    LanguageData language(reporter);
    language.LoadGbk(bytes);
    std::uint32_t id = 0;
    for (const QByteArray& line : bytes.split('\n')) {
        const qsizetype end = line.indexOf(']');
        if (line.startsWith('[') && end > 1 &&
            !language.RegisterTextId(++id, QString::fromLatin1(line.mid(1, end - 1))))
            break;
    }
    for (std::uint32_t each = 1; each <= id; ++each)
        for (const InterfaceLanguage lang : kInterfaceLanguages)
            language.GetTextAndFont(each, lang);
    return 0;
}
