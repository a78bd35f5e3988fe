// Shows the busy mouse pointer for as long as it lives; the normal pointer
// comes back when it is destroyed or released, whatever way the work ends.
#pragma once

#include "platform/Platform.h"

namespace capzel {

class BusyPointer {
public:
    explicit BusyPointer(Platform& ui) : ui_(&ui) { ui_->setBusy(true); }
    ~BusyPointer() { release(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

    // Restores the normal pointer now (before a message box, say).
    void release() {
        if (ui_) ui_->setBusy(false);
        ui_ = nullptr;
    }

private:
    Platform* ui_;
};

}  // namespace capzel
