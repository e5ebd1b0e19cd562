#include "ui/focus.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <tuple>

#include "form_access.h"
#include "resources/gbk.h"

namespace wt::focus {
namespace {

const forms::ControlAccess* entryFor(std::uint32_t window, const std::string& nameUtf8) {
    for (std::size_t i = 0; i < forms::kControlAccessCount; ++i) {
        const forms::ControlAccess& e = forms::kControlAccess[i];
        if (e.window == window && nameUtf8 == e.control) return &e;
    }
    return nullptr;
}

// A control's rectangle in window coordinates: its own plus those of the picture boxes that
// hold it (the step bound guards against a parent cycle).
form::Geometry inWindow(const form::WindowBlock& block, int index) {
    form::Geometry at = block.records[index].geometry;
    int parent = block.indexOfId(block.records[index].parent);
    for (std::size_t steps = 0; parent > 0 && steps < block.records.size(); ++steps) {
        const form::ControlRecord& holder = block.records[parent];
        at.left += holder.geometry.left;
        at.top += holder.geometry.top;
        parent = block.indexOfId(holder.parent);
    }
    return at;
}

}  // namespace

bool acts(const form::ControlRecord& record) {
    return record.kind == form::Kind::Button || record.kind == form::Kind::CheckBox ||
           record.kind == form::Kind::TransparentLabel;
}

std::vector<Stop> stops(const form::WindowBlock& block) {
    struct Ordered {
        int order;
        Stop stop;
    };
    std::vector<Ordered> all;
    for (std::size_t i = 1; i < block.records.size(); ++i) {
        const form::ControlRecord& record = block.records[i];
        if (!acts(record)) continue;
        const std::string name = utf8(record.nameGbk);
        const forms::ControlAccess* entry = entryFor(block.windowId, name);
        Stop stop;
        stop.index = static_cast<int>(i);
        stop.spoken = entry != nullptr ? entry->spoken : "";
        if (stop.spoken.empty()) {
            const std::string caption = utf8(record.captionGbk);
            // A picture button shows no caption of its own, whatever the record stores.
            const bool shown = record.kind == form::Kind::CheckBox ||
                               (record.kind == form::Kind::Button && record.picture.empty());
            stop.spoken = shown && !caption.empty() ? caption : name;
        }
        if (entry != nullptr) stop.description = entry->description;
        stop.at = inWindow(block, static_cast<int>(i));
        all.push_back({entry != nullptr ? entry->order : 1 << 20, std::move(stop)});
    }
    std::stable_sort(all.begin(), all.end(), [](const Ordered& a, const Ordered& b) {
        return std::tie(a.order, a.stop.at.top, a.stop.at.left) <
               std::tie(b.order, b.stop.at.top, b.stop.at.left);
    });
    std::vector<Stop> out;
    out.reserve(all.size());
    for (Ordered& o : all) out.push_back(std::move(o.stop));
    return out;
}

int stopOf(const std::vector<Stop>& stops, int controlIndex) {
    for (std::size_t k = 0; k < stops.size(); ++k)
        if (stops[k].index == controlIndex) return static_cast<int>(k);
    return -1;
}

int nearest(const std::vector<Stop>& stops, int from, Direction direction) {
    if (from < 0 || static_cast<std::size_t>(from) >= stops.size()) return from;
    const form::Geometry& a = stops[from].at;
    // Centres doubled, so that they stay whole numbers.
    const int ax = 2 * a.left + a.width, ay = 2 * a.top + a.height;
    int best = from;
    long bestCost = std::numeric_limits<long>::max();
    for (std::size_t k = 0; k < stops.size(); ++k) {
        if (static_cast<int>(k) == from) continue;
        const form::Geometry& b = stops[k].at;
        const int dx = 2 * b.left + b.width - ax, dy = 2 * b.top + b.height - ay;
        const bool across = direction == Direction::Left || direction == Direction::Right;
        const bool back = direction == Direction::Left || direction == Direction::Up;
        const int ahead = (across ? dx : dy) * (back ? -1 : 1);
        const int aside = std::abs(across ? dy : dx);
        if (ahead <= 0) continue;
        // A control off to the side counts twice its sideways distance.
        const long cost = ahead + 2L * aside;
        if (cost < bestCost) {
            bestCost = cost;
            best = static_cast<int>(k);
        }
    }
    return best;
}

}  // namespace wt::focus
