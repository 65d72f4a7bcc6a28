// The search history search.txt: loaded from a file, listed, and saved back.
#include "dictionary/search/SearchHistory.h"
#include "tests/fuzz/FuzzInput.h"

using namespace quillory;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SearchHistory history;
    history.LoadHistory(fuzz::WriteScratchFile(QStringLiteral("search.txt"), fuzz::InputBytes(data, size)));
    for (const int used : history.usedEntries())
        history.entry(used).text.size();
    history.SaveHistory(fuzz::ScratchFolder().filePath(QStringLiteral("saved.txt")));
    return 0;
}
