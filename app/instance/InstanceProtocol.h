#pragma once
// The single-instance protocol: a starting process asks the running instance
// to show itself or to quit, and the running instance replies.
//
// Wire format, over a local stream socket, one exchange per connection:
//   request (client -> server): 8 bytes, wParam then lParam, each an
//                               unsigned 32-bit big-endian number;
//   reply   (server -> client): 4 bytes, one unsigned 32-bit big-endian
//                               number, after which the server closes.
// A show request carries the id of WM_SHOW_YOURSELF twice and is answered
// with the id of ARE-YOU-THERE plus 1; a quit request carries the id of
// WM_QUIT_YOURSELF twice and is answered with the id of ARE-YOU-THERE plus
// 11. Any other pair changes nothing and is answered with 0. Both sides take
// the ids from their own NameRegistry.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>

namespace quillory {

class NameRegistry;

// The name of the protocol's request message; the instance's socket is named
// from it as well.
inline constexpr char kAreYouThereName[] =
    "ARE-YOU-THERE?{<Tessaravin>{5B0E2C71-94AD-4F3E-8A6C-2D7F19E04B38}</Tessaravin>}";
inline constexpr char kShowYourselfName[] = "WM_SHOW_YOURSELF";
inline constexpr char kQuitYourselfName[] = "WM_QUIT_YOURSELF";

enum class InstanceRequest { Show, Quit };

// What a starting process learns when it asks: no instance holds the name;
// the instance answered a show or a quit request; an instance holds the name
// but gave no reply in time (hung, or the name cannot be opened); it replied
// with a value that answers neither request.
enum class InstanceReply { NoInstance, AnsweredShow, AnsweredQuit, NoAnswer, Unrecognised };

// What the running instance does with a request.
enum class InstanceAction { None, Show, Quit };

struct InstanceProtocolIds {
    std::uint32_t areYouThere = 0;
    std::uint32_t showYourself = 0;
    std::uint32_t quitYourself = 0;

    static InstanceProtocolIds From(NameRegistry& names);

    std::uint32_t showReply() const { return areYouThere + 1; }
    std::uint32_t quitReply() const { return areYouThere + 11; }
    // The wParam (and lParam) of a request.
    std::uint32_t requestParameter(InstanceRequest request) const;
};

struct InstanceAnswer {
    InstanceAction action = InstanceAction::None;
    std::uint32_t reply = 0;
};

// The running instance's rule: what to do with a wParam/lParam pair and what
// to reply.
InstanceAnswer AnswerInstanceRequest(const InstanceProtocolIds& ids, std::uint32_t wParam,
                                     std::uint32_t lParam);

namespace instance_wire {

inline constexpr int kRequestSize = 8;
inline constexpr int kReplySize = 4;

struct Request {
    std::uint32_t wParam = 0;
    std::uint32_t lParam = 0;
};

QByteArray EncodeRequest(Request request);
// The request at the start of the bytes; nothing while fewer than
// kRequestSize bytes are there.
std::optional<Request> DecodeRequest(QByteArrayView bytes);
QByteArray EncodeReply(std::uint32_t reply);
std::optional<std::uint32_t> DecodeReply(QByteArrayView bytes);

} // namespace instance_wire

} // namespace quillory
