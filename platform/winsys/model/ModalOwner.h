#pragma once

#include "winsys/WindowApi.h"
#include "winsys/model/WindowStore.h"

namespace win::model {

// While a modal window is up its owner (the top-level window) takes no input; an owner that was already
// disabled (by an outer modal window) stays disabled afterwards.
class ModalOwner {
  public:
    explicit ModalOwner(HWND owner) : owner_(rootOf(owner)), reenable_(IsWindowEnabled(owner_)) {
        if (reenable_)
            EnableWindow(owner_, false);
    }
    ~ModalOwner() {
        if (reenable_)
            EnableWindow(owner_, true);
    }
    ModalOwner(const ModalOwner&) = delete;
    ModalOwner& operator=(const ModalOwner&) = delete;

  private:
    HWND owner_;
    bool reenable_;
};

} // namespace win::model
