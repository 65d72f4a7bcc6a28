// The link parser: an address the browser is about to open, as UTF-8.
#include "pages/protocol/LinkProtocol.h"
#include "tests/fuzz/FuzzInput.h"

using namespace quillory;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString address = QString::fromUtf8(fuzz::InputBytes(data, size));
    DecideNavigation(address);
    ParseLink(address);
    return 0;
}
