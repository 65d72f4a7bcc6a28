#pragma once
#include "pages/protocol/ProtocolRequest.h"

#include <QString>

namespace quillory {

// What the window's search box offers the search: its text, its list (the
// history, each item carrying its entry index) and a way to post a request.
class SearchBox {
public:
    virtual ~SearchBox() = default;
    virtual QString text() const = 0;
    virtual int itemCount() const = 0;
    virtual QString itemText(int item) const = 0;
    virtual int itemData(int item) const = 0;
    virtual int selectedItem() const = 0; // -1 when none
    virtual void Post(const ProtocolRequest& request) = 0;
};

} // namespace quillory
