// Readings of a window's wiring state by UTF-8 name, shared by the exercise scenarios.
#pragma once

#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "exercises/wiring.h"
#include "resources/gbk.h"
#include "tests/support/test_host.h"

namespace wt::test {

using Names = std::set<std::string>;

// The words of a space-separated list, in order.
inline std::vector<std::string> words(std::string_view spaceSeparated) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < spaceSeparated.size()) {
        std::size_t end = spaceSeparated.find(' ', pos);
        if (end == std::string_view::npos) end = spaceSeparated.size();
        if (end > pos) out.emplace_back(spaceSeparated.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

// The words of a space-separated list, as a set.
inline Names names(std::string_view spaceSeparated) {
    const std::vector<std::string> list = words(spaceSeparated);
    return Names(list.begin(), list.end());
}

// Effects as readable lines, so that a mismatch prints the whole sequence.
inline std::vector<std::string> lines(const std::vector<Effect>& effects) {
    std::vector<std::string> out;
    for (const Effect& e : effects) out.push_back(e.describe());
    return out;
}

// Polls until `done` holds; false after five seconds.
inline bool eventually(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// The wire labels of the table that read visible in the window.
inline Names shownLabels(TestHost& host, const WindowRef& win, const wiring::Wiring& wiring) {
    auto v = host.visibleOf(win, wiring.allLabels());
    return Names(v.begin(), v.end());
}

// The terminals whose flag is 1.
inline Names markedTerminals(const wiring::Wiring& wiring) {
    Names out;
    for (int i = 0; i < wiring.terminalCount(); ++i)
        if (wiring.flag(i) == 1) out.emplace(wiring.terminalName(i));
    return out;
}

inline Names labelNames(const wiring::Wiring& wiring) {
    Names out;
    for (const std::string& l : wiring.allLabels()) out.insert(utf8(l));
    return out;
}

inline Names terminalNames(const wiring::Wiring& wiring) {
    Names out;
    for (int i = 0; i < wiring.terminalCount(); ++i) out.emplace(wiring.terminalName(i));
    return out;
}

}  // namespace wt::test
