// Runs the same seeded random clicks on every exercise window and prints, after each click, the
// window's terminal flags, its wire labels' visibility and a digest of every control's state.
// Built twice, natively and to WebAssembly (ui/web/CMakeLists.txt, run with node): the two
// transcripts must be equal. Both runs use a single-threaded platform, as the page does, so the
// start sequences of the jog presses run at once and the order of effects is fixed.
//   diff_driver SEED CLICKS      the transcript
//   diff_driver --describe       every window's page description (JSON), one per line
//   diff_driver --gbk            every name and caption of the form resource and some edge
//                                cases through the GBK conversions, one per line
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "exercises/registry.h"
#include "form_ids.h"
#include "resources/embedded_forms.h"
#include "resources/form_reader.h"
#include "resources/gbk.h"
#include "resources/media.h"
#include "ui/properties.h"
#include "ui/web/describe.h"

namespace {

using namespace wt;

class QuietPlatform : public Platform {
  public:
    void createWindow(const WindowRef&) override {}
    void showWindow(const WindowRef&) override {}
    void runModal(const WindowRef&) override {}
    void activateWindow(const WindowRef&) override {}
    void propertyChanged(const WindowRef&, int, int) override { ++changes; }
    int messageBox(const std::string& text, const std::string&, int, bool) override {
        lastMessage = utf8(text);
        ++messages;
        return 1;
    }
    void playSound(MediaRef wave) override { sounds += static_cast<int>(media::roleOf(wave)) + 1; }
    void applyVisualStyle(int) override {}
    bool onGuiThread() const override { return true; }
    bool threadsAvailable() const override { return false; }

    int changes = 0, messages = 0, sounds = 0;
    std::string lastMessage;
};

// splitmix64: the same numbers from every compiler and standard library.
struct Random {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
};

std::uint64_t fnv(std::uint64_t h, const std::string& bytes) {
    for (const unsigned char c : bytes) h = (h ^ c) * 0x100000001B3ull;
    return (h ^ 0xFF) * 0x100000001B3ull;
}

struct Target {
    std::uint32_t window;
    wiring::Wiring* wiring;
};

// Controls the learner can act on, by how often a learner uses them: terminals most, the
// push-buttons and the check box less, the power switch least (while it is on, terminal clicks
// do nothing).
struct Choices {
    std::vector<int> terminals, others, power;
    int pick(Random& rnd) const {
        const std::size_t roll = rnd.below(20);
        if (roll == 0 && !power.empty()) return power[rnd.below(power.size())];
        if (roll <= 4 && !others.empty()) return others[rnd.below(others.size())];
        if (!terminals.empty()) return terminals[rnd.below(terminals.size())];
        return others.empty() ? -1 : others[rnd.below(others.size())];
    }
};

Choices actionable(const ModelWindow& w, const wiring::Wiring& wiring) {
    Choices out;
    for (std::size_t i = 1; i < w.size(); ++i) {
        const form::ControlRecord& rec = w.block().records[i];
        const int index = static_cast<int>(i);
        if (rec.kind == form::Kind::TransparentLabel)
            out.power.push_back(index);
        else if (wiring.terminalIndex(utf8(rec.nameGbk)) >= 0)
            out.terminals.push_back(index);
        else if (!rec.events.empty() || rec.kind == form::Kind::CheckBox)
            out.others.push_back(index);
    }
    return out;
}

void act(Ui& ui, const WindowRef& w, int index, Random& rnd) {
    const form::ControlRecord& rec = w->block().records[index];
    if (rec.kind == form::Kind::CheckBox) {
        w->userSetChecked(index, !w->state(index).checked);
        return;
    }
    bool down = false, up = false, clicked = false;
    for (const form::EventBinding& b : rec.events) {
        down |= b.event == form::kEventMouseDown;
        up |= b.event == form::kEventMouseUp;
        clicked |= b.event == form::kEventClicked;
    }
    const int x = static_cast<int>(rnd.below(8)), y = static_cast<int>(rnd.below(8));
    if (down) ui.fire(w, index, form::kEventMouseDown, x, y, 0);
    if (up) ui.fire(w, index, form::kEventMouseUp, x, y, 0);
    if (clicked) ui.fire(w, index, form::kEventClicked);
}

std::string stateLine(const ModelWindow& w, const wiring::Wiring& wiring,
                      const QuietPlatform& platform) {
    std::string flags, wires;
    for (int t = 0; t < wiring.terminalCount(); ++t) flags += wiring.flag(t) ? '1' : '0';
    for (const std::string& label : wiring.allLabels())
        wires += w.shown(w.indexOf(label)) ? '1' : '0';
    std::uint64_t digest = 0xCBF29CE484222325ull;
    for (std::size_t i = 1; i < w.size(); ++i) {
        const ControlState s = w.state(static_cast<int>(i));
        const MediaRef pic = s.picture;
        digest = fnv(digest, std::to_string(w.shown(static_cast<int>(i))) + s.caption + "|" +
                                 std::to_string(s.textColor) + "|" +
                                 std::to_string(static_cast<int>(media::roleOf(pic))) + "|" +
                                 (s.checked ? "1" : "0") + s.tag);
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(digest));
    return "flags " + flags + " wires " + wires + " state " + buf + " boxes " +
           std::to_string(platform.messages) + " " + platform.lastMessage + " sounds " +
           std::to_string(platform.sounds);
}

std::string hex(const std::string& bytes) {
    std::string out;
    char buf[4];
    for (const unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02x", c);
        out += buf;
    }
    return out;
}

// The conversions both ways: UTF-8 of the GBK text, GBK of that, and the strict conversion.
void printGbk(const std::string& gbkText) {
    const std::string text = utf8(gbkText);
    const std::optional<std::string> exact = gbkExact(text);
    if (gbkText.empty()) return;
    std::printf("%s %s %s %s\n", hex(gbkText).c_str(), hex(text).c_str(), hex(gbk(text)).c_str(),
                exact ? hex(*exact).c_str() : "-");
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    auto forms =
        form::FormResource::parse(form::embeddedFormResource(), forms::kHandlerCount, &error);
    if (!forms) {
        std::printf("form resource: %s\n", error.c_str());
        return 1;
    }
    ex::Exercises exercises;
    HandlerRegistry registry;
    exercises.registerHandlers(registry);
    auto handlers = registry.resolve(
        std::span<const char* const>(forms::kHandlerNames, forms::kHandlerCount), nullptr);
    QuietPlatform platform;
    Ui ui(*forms, platform, std::move(handlers));

    if (argc == 2 && std::string(argv[1]) == "--describe") {
        for (const form::WindowBlock& block : forms->blocks()) {
            ModelWindow w(block, 1);
            std::printf("%s\n", web::describeWindow(w, "标题").c_str());
        }
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "--gbk") {
        for (const form::WindowBlock& block : forms->blocks())
            for (const form::ControlRecord& rec : block.records) {
                printGbk(rec.nameGbk);
                printGbk(rec.captionGbk);
            }
        // A lone lead byte, bytes outside GBK, the euro sign, a character GBK lacks.
        for (const char* edge : {"\x81", "\xff\xfe",
                                 "a\x80"
                                 "b",
                                 "\xa1\xa1\xa1"})
            printGbk(edge);
        for (const char* text : {"€", "😀", "电机\xe2\x82", "ÀÉ"})
            std::printf("%s %s\n", hex(gbk(text)).c_str(), gbkExact(text) ? "exact" : "-");
        return 0;
    }
    if (argc != 3) {
        std::printf("usage: diff_driver SEED CLICKS | --describe\n");
        return 2;
    }
    Random rnd{std::strtoull(argv[1], nullptr, 10)};
    const long clicks = std::strtol(argv[2], nullptr, 10);
    const Target targets[] = {
        {forms::ContinuousRunExercise, &exercises.continuousRun.wiring},
        {forms::JogExercise, &exercises.jog.wiring},
        {forms::ContinuousJogExercise, &exercises.continuousJog.wiring},
        {forms::ForwardReverseExercise, &exercises.forwardReverse.wiring},
        {forms::DoubleInterlockExercise, &exercises.doubleInterlock.wiring},
        {forms::MultiLocationExercise, &exercises.multiLocation.wiring},
    };
    for (const Target& t : targets) {
        // Two openings: the second starts from the flags the first one left.
        for (int round = 0; round < 2; ++round) {
            if (!ui.openWindow(t.window, nullptr, true)) return 1;
            WindowRef w = ui.openInstance(t.window);
            std::printf("%08x open %d %s\n", t.window, round,
                        stateLine(*w, *t.wiring, platform).c_str());
            const Choices choices = actionable(*w, *t.wiring);
            for (long i = 0; i < clicks; ++i) {
                const int index = choices.pick(rnd);
                if (index < 0) break;
                act(ui, w, index, rnd);
                std::printf("%08x %ld %s %s\n", t.window, i,
                            utf8(w->block().records[index].nameGbk).c_str(),
                            stateLine(*w, *t.wiring, platform).c_str());
            }
            ui.windowClosed(w);
        }
    }
    return 0;
}
