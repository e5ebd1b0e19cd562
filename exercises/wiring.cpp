#include "exercises/wiring.h"

#include <algorithm>
#include <stdexcept>

#include "resources/gbk.h"
#include "ui/properties.h"

namespace wt::wiring {

Wiring::Wiring(Table table) {
    terminals_.reserve(table.terminals.size());
    for (TerminalDef& def : table.terminals) {
        Terminal t;
        t.def = std::move(def);
        for (const ActionDef& a : t.def.actions)
            t.showsIfMarked = t.showsIfMarked || a.rule == Rule::ShowIfMarked;
        terminals_.push_back(std::move(t));
    }
    for (std::size_t i = 0; i < terminals_.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (terminals_[i].def.name == terminals_[j].def.name)
                throw std::logic_error("duplicate terminal " + std::string(terminals_[i].def.name));
    flags_ = std::make_unique<std::atomic<std::int32_t>[]>(terminals_.size());
    for (std::size_t i = 0; i < terminals_.size(); ++i) flags_[i].store(0);

    for (GroupDef& def : table.groups) {
        Group g;
        g.def = std::move(def);
        for (std::string_view label : g.def.labels) {
            std::string name = gbk(label);
            if (std::find(allLabels_.begin(), allLabels_.end(), name) == allLabels_.end())
                allLabels_.push_back(name);
            g.labels.push_back(std::move(name));
        }
        g.testLabel = gbk(g.def.testLabel);
        g.testLabelAtEnd2 =
            g.def.testLabelAtEnd2.empty() ? g.testLabel : gbk(g.def.testLabelAtEnd2);
        g.end1 = terminalIndex(g.def.end1);
        g.end2 = terminalIndex(g.def.end2);
        if (g.end1 < 0 || g.end2 < 0)
            throw std::logic_error("group end is not a terminal: " + std::string(g.def.end1) +
                                   " / " + std::string(g.def.end2));
        groups_.push_back(std::move(g));
    }
    const int groupCount = static_cast<int>(groups_.size());
    for (const Terminal& t : terminals_) {
        for (int g : t.def.removeList)
            if (g < 1 || g > groupCount)
                throw std::logic_error("bad remove group at " + std::string(t.def.name));
        for (const ActionDef& a : t.def.actions) {
            const bool needsGroup = a.rule == Rule::Mark || a.rule == Rule::Complete ||
                                    a.rule == Rule::ShowIfMarked || a.rule == Rule::Latch;
            if ((needsGroup || a.group != 0) && (a.group < 1 || a.group > groupCount))
                throw std::logic_error("bad action group at " + std::string(t.def.name));
            if (a.rule == Rule::Own && !a.own)
                throw std::logic_error("own rule without a step at " + std::string(t.def.name));
        }
    }
    for (Terminal& t : terminals_) {
        for (const ActionDef& a : t.def.actions) {
            if (a.group == 0 || a.rule == Rule::Own || a.rule == Rule::FlagOnly) continue;
            const Group& g = groups_[a.group - 1];
            const int self = static_cast<int>(&t - terminals_.data());
            if (g.end1 != self && g.end2 != self)
                throw std::logic_error("terminal " + std::string(t.def.name) +
                                       " is not an end of its action's group");
        }
    }
}

int Wiring::terminalIndex(std::string_view utf8Name) const {
    for (std::size_t i = 0; i < terminals_.size(); ++i)
        if (terminals_[i].def.name == utf8Name) return static_cast<int>(i);
    return -1;
}

std::int32_t Wiring::flag(int terminal) const {
    return flags_[terminal].load();
}

std::int32_t Wiring::flag(std::string_view utf8Name) const {
    const int i = terminalIndex(utf8Name);
    if (i < 0) throw std::logic_error("unknown terminal " + std::string(utf8Name));
    return flag(i);
}

void Wiring::setFlag(int terminal, std::int32_t value) {
    flags_[terminal].store(value);
}

void Wiring::setFlag(std::string_view utf8Name, std::int32_t value) {
    const int i = terminalIndex(utf8Name);
    if (i < 0) throw std::logic_error("unknown terminal " + std::string(utf8Name));
    setFlag(i, value);
}

const std::vector<std::string>& Wiring::groupLabels(int group) const {
    return groups_.at(group - 1).labels;
}

const std::string& Wiring::toggleName() {
    static const std::string name = gbk("选择框");
    return name;
}

bool Wiring::labelVisible(const HandlerCall& call, std::string_view gbkLabel) {
    return call.ui.getInt(call.window, gbkLabel, prop::Visible) == 1;
}

void Wiring::setGroupVisible(const HandlerCall& call, int group, bool visible) {
    for (const std::string& label : groups_.at(group - 1).labels)
        call.ui.setProperty(call.window, label, prop::Visible, visible ? 1 : 0);
}

bool Wiring::groupEndFlag(int group, bool end2) const {
    const Group& g = groups_.at(group - 1);
    return flag(end2 ? g.end2 : g.end1) == 1;
}

int Wiring::partnerOf(int group, int terminal) const {
    const Group& g = groups_[group - 1];
    return g.end1 == terminal ? g.end2 : g.end1;
}

void Wiring::click(const HandlerCall& call, int terminal, const std::atomic<std::int32_t>& power) {
    if (power.load() == 1) return;  // the wiring is locked while the power is on
    if (call.ui.getInt(call.window, toggleName(), prop::Checked) != 0) {
        removeGroups(call, terminal);
        return;
    }
    const Terminal& t = terminals_[terminal];
    if (t.showsIfMarked) setFlag(terminal, 1);
    for (const ActionDef& action : t.def.actions) runAction(call, terminal, action);
    if (t.def.extra) {
        Click click(call, *this, terminal);
        t.def.extra(click);
    }
}

void Wiring::removeGroups(const HandlerCall& call, int terminal) {
    for (int number : terminals_[terminal].def.removeList) {
        const Group& g = groups_[number - 1];
        const std::string& test = (terminal == g.end2) ? g.testLabelAtEnd2 : g.testLabel;
        const bool shown = labelVisible(call, test);
        setFlag(g.end1, 0);
        setFlag(g.end2, 0);
        if (shown) setGroupVisible(call, number, false);
    }
}

void Wiring::runAction(const HandlerCall& call, int terminal, const ActionDef& action) {
    switch (action.rule) {
        case Rule::Mark: {
            setFlag(terminal, 1);
            setGroupVisible(call, action.group, flag(partnerOf(action.group, terminal)) == 1);
            break;
        }
        case Rule::Complete:
            if (flag(partnerOf(action.group, terminal)) == 1) {
                setFlag(terminal, 1);
                setGroupVisible(call, action.group, true);
            }
            break;
        case Rule::FlagOnly:
            setFlag(terminal, 1);
            break;
        case Rule::ShowIfMarked:
            if (flag(partnerOf(action.group, terminal)) == 1)
                setGroupVisible(call, action.group, true);
            break;
        case Rule::Latch: {
            const Group& g = groups_[action.group - 1];
            if (flag(partnerOf(action.group, terminal)) == 0 || labelVisible(call, g.testLabel)) {
                setFlag(terminal, 1);
            } else {
                setGroupVisible(call, action.group, true);
                setFlag(terminal, 0);
            }
            break;
        }
        case Rule::Own: {
            Click click(call, *this, terminal);
            action.own(click);
            break;
        }
    }
}

void Wiring::reset(const HandlerCall& call) {
    for (std::size_t i = 0; i < terminals_.size(); ++i) flags_[i].store(0);
    for (const std::string& label : allLabels_)
        call.ui.setProperty(call.window, label, prop::Visible, 0);
}

void Wiring::registerHandlers(HandlerRegistry& registry, std::string_view window,
                              const std::atomic<std::int32_t>& power,
                              std::function<void(const HandlerCall&)> afterReset) {
    const std::string prefix(window);
    registry.add(prefix + ".created", [this, afterReset](const HandlerCall& call) {
        reset(call);
        if (afterReset) afterReset(call);
    });
    for (std::size_t i = 0; i < terminals_.size(); ++i) {
        const int index = static_cast<int>(i);
        registry.add(prefix + "." + std::string(terminals_[i].def.name) + ".clicked",
                     [this, index, &power](const HandlerCall& call) { click(call, index, power); });
    }
}

bool Click::visible(std::string_view utf8Label) const {
    return Wiring::labelVisible(call_, gbk(utf8Label));
}

std::string Click::text(std::string_view utf8Control, int prop) const {
    return call_.ui.getText(call_.window, gbk(utf8Control), prop);
}

void Click::setText(std::string_view utf8Control, int prop, std::string gbkValue) {
    call_.ui.setProperty(call_.window, gbk(utf8Control), prop, std::move(gbkValue));
}

}  // namespace wt::wiring
