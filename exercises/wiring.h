// The wiring engine shared by all six exercises. An exercise's wiring is data: its wire groups
// (labels switched together, a test label, two ends) and, per terminal, a remove list and a list
// of connect actions, each naming a rule. The engine interprets that table on every terminal
// click; rules that only one exercise needs are own steps written next to its table.
//
// State is one flag (0 or 1) per terminal. Flags are atomics: start threads of the jog exercises
// read them while the GUI thread writes them.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/ui.h"

namespace wt::wiring {

// Connect rules.
enum class Rule {
    // Own flag 1, then the group shows exactly when the partner flag is 1.
    Mark,
    // When the partner flag is 1, own flag 1 and the group shown; else nothing.
    Complete,
    // Own flag 1.
    FlagOnly,
    // Own flag set to 1 once before the terminal's first action; the group is shown when its
    // partner flag is 1, never hidden.
    ShowIfMarked,
    // Partner 0 -> own 1; partner 1 and test label shown -> own 1; partner 1 and test label
    // hidden -> group shown and own flag 0.
    Latch,
    // An own step of the exercise (see OwnStep).
    Own,
};

struct GroupDef {
    std::vector<std::string_view> labels;  // UTF-8 names in switching order
    std::string_view testLabel;            // read by remove-mode clicks
    std::string_view end1, end2;           // terminal names
    // A different test label for remove-mode clicks made at end2 (empty: the same).
    std::string_view testLabelAtEnd2 = {};
};

class Click;
using OwnStep = std::function<void(Click&)>;

struct ActionDef {
    Rule rule;
    int group = 0;  // group number, 1-based as in the tables; 0 for FlagOnly/Own without one
    OwnStep own = {};
};

struct TerminalDef {
    std::string_view name;
    std::vector<int> removeList;  // group numbers, in order
    std::vector<ActionDef> actions;
    OwnStep extra = {};  // extra step after the connect actions
};

struct Table {
    std::vector<GroupDef> groups;  // group n is groups[n - 1]
    std::vector<TerminalDef> terminals;
};

class Wiring {
  public:
    // Resolves every name of the table; a table that names an unknown terminal or group
    // throws std::logic_error (a programming error, caught by the exercise tests).
    explicit Wiring(Table table);

    // --- State --------------------------------------------------------------------------
    int terminalCount() const { return static_cast<int>(terminals_.size()); }
    int groupCount() const { return static_cast<int>(groups_.size()); }
    int terminalIndex(std::string_view utf8Name) const;  // -1 if unknown
    std::string_view terminalName(int index) const { return terminals_[index].def.name; }
    std::int32_t flag(int terminal) const;
    std::int32_t flag(std::string_view utf8Name) const;
    void setFlag(int terminal, std::int32_t value);
    void setFlag(std::string_view utf8Name, std::int32_t value);
    // Every wire label of the table once, in first-seen order (GBK).
    const std::vector<std::string>& allLabels() const { return allLabels_; }
    const std::vector<std::string>& groupLabels(int group) const;  // GBK

    // --- Handlers -----------------------------------------------------------------------
    // The terminal-click algorithm: nothing while `power` is 1; remove mode while `toggle`
    // (the edit-wire check box) is ticked; connect actions otherwise.
    void click(const HandlerCall& call, int terminal, const std::atomic<std::int32_t>& power);
    // Window created: every terminal flag 0, every wire label hidden.
    void reset(const HandlerCall& call);
    // Registers "<window>.<terminal>.clicked" for every terminal and "<window>.created".
    void registerHandlers(HandlerRegistry& registry, std::string_view window,
                          const std::atomic<std::int32_t>& power,
                          std::function<void(const HandlerCall&)> afterReset = {});

    // --- Helpers for own steps and operations ---------------------------------------------
    void setGroupVisible(const HandlerCall& call, int group, bool visible);
    bool groupEndFlag(int group, bool end2) const;
    // 1 when the label reads visible.
    static bool labelVisible(const HandlerCall& call, std::string_view gbkLabel);
    // The edit-wire check box, `选择框` in every exercise window.
    static const std::string& toggleName();

  private:
    struct Group {
        GroupDef def;
        std::vector<std::string> labels;  // GBK
        std::string testLabel, testLabelAtEnd2;
        int end1 = -1, end2 = -1;
    };
    struct Terminal {
        TerminalDef def;
        bool showsIfMarked = false;  // has a ShowIfMarked action
    };
    friend class Click;

    void runAction(const HandlerCall& call, int terminal, const ActionDef& action);
    void removeGroups(const HandlerCall& call, int terminal);
    int partnerOf(int group, int terminal) const;

    std::vector<Group> groups_;
    std::vector<Terminal> terminals_;
    std::vector<std::string> allLabels_;
    std::unique_ptr<std::atomic<std::int32_t>[]> flags_;
};

// What an own step sees: the click, the engine, and helpers by UTF-8 name.
class Click {
  public:
    Click(const HandlerCall& call, Wiring& wiring, int terminal)
        : call_(call), wiring_(wiring), terminal_(terminal) {}

    const HandlerCall& call() const { return call_; }
    Wiring& wiring() { return wiring_; }
    int terminal() const { return terminal_; }

    std::int32_t flag(std::string_view terminal) const { return wiring_.flag(terminal); }
    void setFlag(std::string_view terminal, std::int32_t v) { wiring_.setFlag(terminal, v); }
    std::int32_t ownFlag() const { return wiring_.flag(terminal_); }
    void setOwnFlag(std::int32_t v) { wiring_.setFlag(terminal_, v); }
    // Visibility of a wire label by UTF-8 name.
    bool visible(std::string_view utf8Label) const;
    void showGroup(int group) { wiring_.setGroupVisible(call_, group, true); }
    void setGroupVisible(int group, bool v) { wiring_.setGroupVisible(call_, group, v); }
    // Text properties of a control (GBK values), e.g. a button's tag.
    std::string text(std::string_view utf8Control, int prop) const;
    void setText(std::string_view utf8Control, int prop, std::string gbkValue);

  private:
    const HandlerCall& call_;
    Wiring& wiring_;
    int terminal_;
};

}  // namespace wt::wiring
