// Helpers for the widget tests: control records built in code, a model and a QtPlatform over
// them, handlers that log their calls, and waiting while the GUI thread serves its events.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <mutex>
#include <string>
#include <vector>

#include "resources/form_reader.h"
#include "resources/gbk.h"
#include "resources/media.h"
#include "ui/qt/controls.h"
#include "ui/qt/qt_platform.h"
#include "ui/ui.h"

namespace wt::test {

inline form::ControlRecord record(std::uint32_t id, form::Kind kind, const char* nameUtf8,
                                  form::Geometry geometry, std::uint32_t parent = 0) {
    form::ControlRecord r;
    r.id = id;
    r.kind = kind;
    r.nameGbk = gbk(nameUtf8);
    r.geometry = geometry;
    r.parent = parent;
    const bool focusable = kind == form::Kind::Button || kind == form::Kind::CheckBox;
    r.stateFlags = focusable ? 5 : 1;
    return r;
}

inline std::span<const std::uint8_t> fileOf(media::Role role) {
    auto file = mediaFile(media::blob(role));
    return file ? *file : std::span<const std::uint8_t>();
}

// What a handler was called with.
struct Call {
    std::string what;
    int x = 0, y = 0, keys = 0;
};

class CallLog {
  public:
    Handler handler(std::string what) {
        return [this, what](const HandlerCall& c) {
            std::lock_guard lock(mutex_);
            calls_.push_back({what, c.x, c.y, c.keys});
        };
    }
    std::vector<Call> take() {
        std::lock_guard lock(mutex_);
        return std::exchange(calls_, {});
    }
    std::vector<std::string> names() {
        std::vector<std::string> out;
        for (const Call& c : take()) out.push_back(c.what);
        return out;
    }

  private:
    std::mutex mutex_;
    std::vector<Call> calls_;
};

// Serves the GUI thread's events until `done()` holds or `ms` have passed.
template <class F>
bool waitFor(F done, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

// A model over hand-made window blocks, shown through a QtPlatform.
class Harness {
  public:
    Harness(std::vector<form::WindowBlock> blocks, std::vector<Handler> handlers)
        : forms_(form::FormResource::fromBlocks(std::move(blocks))),
          ui_(forms_, platform_, std::move(handlers)) {
        platform_.attach(ui_);
        platform_.setQuitOnLastWindow(false);
    }
    ~Harness() {
        ui_.shutdown();
        for (qt::FormWindow* w : platform_.windows()) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    Ui& ui() { return ui_; }
    qt::QtPlatform& platform() { return platform_; }
    WindowRef open(std::uint32_t id) {
        ui_.openWindow(id, nullptr, false);
        return ui_.openInstance(id);
    }
    qt::FormWindow* window(const WindowRef& w) { return platform_.windowOf(w); }
    template <class T = QWidget>
    T* widget(const WindowRef& w, const char* nameUtf8) {
        qt::FormWindow* fw = window(w);
        return fw ? dynamic_cast<T*>(fw->control(QString::fromUtf8(nameUtf8))) : nullptr;
    }

  private:
    form::FormResource forms_;
    qt::QtPlatform platform_;
    Ui ui_;
};

}  // namespace wt::test
