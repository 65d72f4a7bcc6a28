// The update server's reply, headers and body as received, read for the
// request body that was sent (the first line of the input, then the reply).
#include "app/update/UpdateReply.h"
#include "tests/fuzz/FuzzInput.h"

using namespace quillory;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzz::InputBytes(data, size);
    const qsizetype lineEnd = bytes.indexOf('\n');
    const QByteArray body = lineEnd < 0 ? QByteArray() : bytes.left(lineEnd);
    const QByteArray received = bytes.mid(lineEnd + 1).left(kUpdateReplyLimit);
    ReadUpdateReply(received, body.isEmpty() ? QByteArray("x") : body);
    return 0;
}
