#pragma once
// Where the instance socket may live, and who is at its other end. The
// socket must never land in a folder that other users can write, where one
// of them could listen first; and a socket whose peer is another user is
// never used.
#include <QString>

#include <optional>
#include <sys/types.h>

class QLocalSocket;

namespace quillory {

// A folder for the current user's socket inside parent (the shared temporary
// folder when the desktop gives no runtime folder): "quillory-UID", created
// with mode 0700. An existing one is used only when it is a real folder (no
// link) owned by the user; group and other rights are then taken away.
// Empty when no such folder can be had.
QString PrivateSocketFolder(const QString& parent);

// The user id of the process at the other end of a connected local socket
// (SO_PEERCRED); nullopt when the socket is not connected.
std::optional<uid_t> PeerUserId(const QLocalSocket& socket);

} // namespace quillory
