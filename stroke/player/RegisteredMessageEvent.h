#pragma once
// A registered message posted between the program's windows: the message's
// registered id with its two values, delivered as a queued event.
#include <QEvent>
#include <cstdint>

namespace quillory {

class RegisteredMessageEvent final : public QEvent {
public:
    RegisteredMessageEvent(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
        : QEvent(eventType()), message_(message), wParam_(wParam), lParam_(lParam) {}

    static QEvent::Type eventType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    std::uint32_t message() const { return message_; }
    std::uintptr_t wParam() const { return wParam_; }
    std::intptr_t lParam() const { return lParam_; }

private:
    std::uint32_t message_;
    std::uintptr_t wParam_;
    std::intptr_t lParam_;
};

} // namespace quillory
