// The program's own form resource as the benchmarks see it: window blocks by name, control
// geometry in window coordinates (picture-box parents added), and the menu's button-to-window
// pairs.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "form_ids.h"
#include "resources/embedded_forms.h"
#include "resources/form_reader.h"
#include "resources/gbk.h"

namespace wt::bench {

inline const form::FormResource& forms() {
    static const form::FormResource resource = [] {
        auto parsed = form::FormResource::parse(form::embeddedFormResource(), forms::kHandlerCount);
        return parsed ? std::move(*parsed) : form::FormResource();
    }();
    return resource;
}

inline const form::WindowBlock* windowNamed(std::string_view name) {
    for (std::size_t i = 0; i < forms::kWindowCount; ++i)
        if (name == forms::kWindowNames[i]) return forms().find(forms::kWindowIds[i]);
    return nullptr;
}

inline std::string_view windowName(std::uint32_t id) {
    for (std::size_t i = 0; i < forms::kWindowCount; ++i)
        if (forms::kWindowIds[i] == id) return forms::kWindowNames[i];
    return {};
}

// Record index of the control with this UTF-8 name, or -1.
inline int controlIndex(const form::WindowBlock& block, std::string_view nameUtf8) {
    const std::string name = gbk(nameUtf8);
    for (std::size_t i = 1; i < block.records.size(); ++i)
        if (block.records[i].nameGbk == name) return static_cast<int>(i);
    return -1;
}

// The control's rectangle relative to the window's client area.
inline form::Geometry windowGeometry(const form::WindowBlock& block, int index) {
    form::Geometry g = block.records[index].geometry;
    std::uint32_t parent = block.records[index].parent;
    while (parent != 0) {
        const int p = block.indexOfId(parent);
        if (p <= 0) break;
        g.left += block.records[p].geometry.left;
        g.top += block.records[p].geometry.top;
        parent = block.records[p].parent;
    }
    return g;
}

inline std::optional<form::Geometry> windowGeometry(const form::WindowBlock& block,
                                                    std::string_view nameUtf8) {
    const int index = controlIndex(block, nameUtf8);
    if (index < 0) return std::nullopt;
    return windowGeometry(block, index);
}

// The menu buttons and the exercise each one opens.
struct MenuEntry {
    const char* button;  // UTF-8
    std::uint32_t window;
};
inline constexpr MenuEntry kMenu[] = {
    {"长动", forms::ContinuousRunExercise},        {"点动", forms::JogExercise},
    {"长动加点动", forms::ContinuousJogExercise},  {"按钮1", forms::MultiLocationExercise},
    {"正反转电路", forms::ForwardReverseExercise}, {"三重互锁", forms::DoubleInterlockExercise},
};

}  // namespace wt::bench
