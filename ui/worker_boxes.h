// Message boxes that threads other than the GUI thread ask for. The asking thread waits until the
// GUI thread has shown its box and the learner has answered it, or until the program ends; the
// GUI thread shows the boxes asked for since it last looked. `Box` is a binding's handle of a
// shown box, touched on the GUI thread only.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace wt {

template <class Box>
class WorkerBoxes {
  public:
    struct Request {
        std::string textGbk, titleGbk;
        Box box{};  // GUI thread only

      private:
        friend class WorkerBoxes;
        std::mutex mutex;
        std::condition_variable cv;
        bool done = false;
        int button = 0;
    };
    using Ref = std::shared_ptr<Request>;

    // Any thread but the GUI thread: queues a box, calls `wake` so that the GUI thread comes to
    // take() it, and waits for the answer. After release() it returns `released` at once.
    int ask(std::string textGbk, std::string titleGbk, int released,
            const std::function<void()>& wake) {
        auto request = std::make_shared<Request>();
        request->textGbk = std::move(textGbk);
        request->titleGbk = std::move(titleGbk);
        {
            std::lock_guard lock(mutex_);
            if (released_) return released;
            new_.push_back(request);
            open_.push_back(request);
        }
        wake();
        std::unique_lock wait(request->mutex);
        request->cv.wait(wait, [&] { return request->done; });
        return request->button;
    }

    // GUI thread: the boxes asked for since the last call that still wait for an answer.
    std::vector<Ref> take() {
        std::vector<Ref> fresh;
        {
            std::lock_guard lock(mutex_);
            fresh.swap(new_);
        }
        std::erase_if(fresh, [](const Ref& r) {
            std::lock_guard lock(r->mutex);
            return r->done;  // released before it could be shown
        });
        return fresh;
    }

    // The learner answered, or the box went away: the asking thread goes on. A second answer
    // changes nothing.
    void answer(const Ref& request, int button) {
        {
            std::lock_guard lock(request->mutex);
            if (request->done) return;
            request->done = true;
            request->button = button;
        }
        request->cv.notify_all();
        std::lock_guard lock(mutex_);
        std::erase(open_, request);
    }

    // The boxes asked for and not yet answered.
    std::vector<Ref> open() const {
        std::lock_guard lock(mutex_);
        return open_;
    }

    // Program end: every asking thread goes on now with `button`, and later asks return at once.
    // Returns the boxes that were still open, for the GUI thread to close.
    std::vector<Ref> release(int button) {
        std::vector<Ref> pending;
        {
            std::lock_guard lock(mutex_);
            released_ = true;
            pending.swap(open_);
            new_.clear();
        }
        for (const Ref& r : pending) answer(r, button);
        return pending;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<Ref> new_, open_;
    bool released_ = false;
};

}  // namespace wt
