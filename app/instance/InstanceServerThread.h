#pragma once
// Runs the instance server on a thread of its own, so that another start is
// answered at once even while the window is still being set up (loading the
// data, building the tree, the first page). Its requests still reach the
// window through queued connections.
#include <QThread>

namespace quillory {

class SingleInstanceServer;

class InstanceServerThread {
public:
    explicit InstanceServerThread(SingleInstanceServer& server);
    // Stops answering and hands the server back to the calling thread.
    ~InstanceServerThread();
    InstanceServerThread(const InstanceServerThread&) = delete;
    InstanceServerThread& operator=(const InstanceServerThread&) = delete;

    // Closes the socket on the server's thread and waits for it.
    void Stop();

private:
    SingleInstanceServer& server_;
    QThread thread_;
    bool running_ = false;
};

} // namespace quillory
