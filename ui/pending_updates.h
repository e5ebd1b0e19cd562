// Property changes made on threads other than the GUI thread, queued for the GUI thread to show.
// One wake-up carries every change queued before the GUI thread takes them: `add` says whether
// this change must wake it (none is on its way yet), `take` hands over what is queued.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "ui/ui.h"

namespace wt {

class PendingUpdates {
  public:
    struct Update {
        std::weak_ptr<ModelWindow> window;
        int index;
        int prop;
    };

    // Any thread.
    bool add(const WindowRef& window, int index, int prop) {
        std::lock_guard lock(mutex_);
        updates_.push_back(Update{window, index, prop});
        const bool wake = !posted_;
        posted_ = true;
        return wake;
    }
    // GUI thread, once woken.
    std::vector<Update> take() {
        std::vector<Update> taken;
        std::lock_guard lock(mutex_);
        taken.swap(updates_);
        posted_ = false;
        return taken;
    }

  private:
    std::mutex mutex_;
    std::vector<Update> updates_;
    bool posted_ = false;
};

}  // namespace wt
