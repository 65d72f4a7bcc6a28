#include "app/instance/InstanceServerThread.h"

#include "app/instance/SingleInstance.h"

namespace quillory {

InstanceServerThread::InstanceServerThread(SingleInstanceServer& server) : server_(server) {
    thread_.setObjectName(QStringLiteral("instance server"));
    thread_.start();
    // The listening socket's notifier moves with its server and is enabled
    // again in the new thread.
    server_.moveToThread(&thread_);
    running_ = true;
}

InstanceServerThread::~InstanceServerThread() {
    Stop();
}

void InstanceServerThread::Stop() {
    if (!running_) {
        return;
    }
    running_ = false;
    QThread* const caller = QThread::currentThread();
    QMetaObject::invokeMethod(
        &server_,
        [this, caller] {
            server_.close();
            server_.moveToThread(caller);
        },
        Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

} // namespace quillory
