// Reads the Windows edition's windows from outside, as Windows UI tests and screen readers do:
// window titles, control texts and states through the Win32 API, names, roles and states through
// MSAA (IAccessible). Runs under wine beside the program, in the same prefix. A small server like
// tests/e2e/atspi_probe.py, with the same commands and answers, so the walks use either:
// one JSON command per line on stdin, one JSON answer per line on stdout.
//   {"cmd": "windows"}             the visible top-level windows of other processes
//   {"cmd": "controls"}            every control of those: role, name, description, text, states
//   {"cmd": "focus"}               the control that has the keyboard focus (or null)
//   {"cmd": "press", "name": N}    the default action of the showing control named N
//   {"cmd": "memory"}              peak working set of the process that owns those windows
#include <windows.h>
// clang-format off
#include <oleacc.h>
#include <psapi.h>
// clang-format on

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

std::string utf8(const wchar_t* text, int length = -1) {
    if (!text) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
    if (length < 0 && !out.empty()) out.pop_back();  // the terminating zero
    return out;
}

std::wstring wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n);
    return out;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

// One JSON object, field by field.
struct Object {
    std::string text;
    Object& add(const char* key, const std::string& value) {
        text += text.empty() ? "{" : ",";
        text += quoted(key);
        text += ':';
        text += value;
        return *this;
    }
    std::string done() const { return text.empty() ? "{}" : text + "}"; }
};
std::string boolean(bool b) {
    return b ? "true" : "false";
}

std::string windowText(HWND hwnd) {
    wchar_t buf[512];
    const int n = GetWindowTextW(hwnd, buf, 512);
    return utf8(buf, n);
}

std::string className(HWND hwnd) {
    wchar_t buf[256];
    const int n = GetClassNameW(hwnd, buf, 256);
    return utf8(buf, n);
}

std::string taken(BSTR text) {
    std::string out = text ? utf8(text, int(SysStringLen(text))) : std::string();
    SysFreeString(text);
    return out;
}

// MSAA roles by the names the AT-SPI probe gives them, so that both answer alike.
std::string roleName(long role) {
    switch (role) {
        case ROLE_SYSTEM_PUSHBUTTON:
            return "push button";
        case ROLE_SYSTEM_CHECKBUTTON:
            return "check box";
        case ROLE_SYSTEM_STATICTEXT:
            return "label";
        case ROLE_SYSTEM_GRAPHIC:
            return "image";
        case ROLE_SYSTEM_CLIENT:
            return "client";
        case ROLE_SYSTEM_WINDOW:
            return "window";
        case ROLE_SYSTEM_DIALOG:
            return "dialog";
        default:
            return "role " + std::to_string(role);
    }
}

struct Control {
    HWND hwnd = nullptr, top = nullptr;
    IAccessible* acc = nullptr;  // owned
    std::string json, name;
    bool showing = false, focused = false;
    HRESULT error = S_OK;  // of AccessibleObjectFromWindow
};

std::string describe(Control& c, HWND focus) {
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr, description = nullptr, action = nullptr;
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    if (c.acc) {
        c.acc->get_accName(self, &name);
        c.acc->get_accDescription(self, &description);
        c.acc->get_accDefaultAction(self, &action);
        c.acc->get_accRole(self, &role);
        c.acc->get_accState(self, &state);
    }
    c.name = taken(name);
    const long states = state.vt == VT_I4 ? state.lVal : 0;
    const std::string defaultAction = taken(action);
    const LRESULT check = SendMessageW(c.hwnd, BM_GETCHECK, 0, 0);
    std::string roleText = role.vt == VT_I4 ? roleName(role.lVal) : "";
    // Windows' own proxy for a system BUTTON gives it the role of its style, for a STATIC the
    // static text role; Wine's gives every window the generic client role. Where it does, the
    // class and style tell what Windows would say.
    const LONG_PTR style = GetWindowLongPtrW(c.hwnd, GWL_STYLE);
    if (roleText == "client" && className(c.hwnd) == "Button") {
        const LONG_PTR type = style & BS_TYPEMASK;
        roleText = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX ? "check box" : "push button";
    } else if (roleText == "client" && className(c.hwnd) == "Static") {
        roleText = "label";
    }
    c.showing = IsWindowVisible(c.hwnd) && !(states & STATE_SYSTEM_INVISIBLE);
    c.focused = c.hwnd == focus;
    const bool enabled = IsWindowEnabled(c.hwnd);
    c.json = Object()
                 .add("role", quoted(roleText))
                 .add("name", quoted(c.name))
                 .add("description", quoted(taken(description)))
                 .add("text", quoted(windowText(c.hwnd)))
                 .add("class", quoted(className(c.hwnd)))
                 .add("window", quoted(windowText(c.top)))
                 .add("showing", boolean(c.showing))
                 .add("focused", boolean(c.focused))
                 .add("enabled", boolean(enabled))
                 .add("acc_unavailable", boolean(states & STATE_SYSTEM_UNAVAILABLE))
                 .add("checked", boolean(check == BST_CHECKED || (states & STATE_SYSTEM_CHECKED)))
                 .add("acc_checked", boolean(states & STATE_SYSTEM_CHECKED))
                 .add("actions", defaultAction.empty() ? "[]" : "[\"Press\"]")
                 .add("default_action", quoted(defaultAction))
                 .add("msaa", std::to_string(long(c.error)))
                 .done();
    return c.json;
}

std::vector<HWND> topLevels() {
    std::vector<HWND> out;
    EnumWindows(
        [](HWND hwnd, LPARAM list) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid != GetCurrentProcessId() && IsWindowVisible(hwnd))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    return out;
}

// The window that has the keyboard focus in the thread that owns the foreground window.
HWND focusWindow() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND fg = GetForegroundWindow();
    if (!fg || !GetGUIThreadInfo(GetWindowThreadProcessId(fg, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

std::vector<Control> controls() {
    std::vector<Control> out;
    const HWND focus = focusWindow();
    for (HWND top : topLevels()) {
        std::vector<HWND> children;
        EnumChildWindows(
            top,
            [](HWND hwnd, LPARAM list) -> BOOL {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&children));
        children.insert(children.begin(), top);
        for (HWND hwnd : children) {
            Control c;
            c.hwnd = hwnd;
            c.top = top;
            void* acc = nullptr;
            // __uuidof, not IID_IAccessible: MinGW's liboleacc.a resolves that name to oleacc.dll's
            // export thunk, whose bytes are no interface id (E_NOINTERFACE everywhere).
            c.error =
                AccessibleObjectFromWindow(hwnd, DWORD(OBJID_CLIENT), __uuidof(IAccessible), &acc);
            if (SUCCEEDED(c.error)) c.acc = static_cast<IAccessible*>(acc);
            describe(c, focus);
            out.push_back(c);
        }
    }
    return out;
}

void release(std::vector<Control>& list) {
    for (Control& c : list)
        if (c.acc) c.acc->Release();
}

// The string value of `key` in a one-line JSON object (\uXXXX escapes decoded).
std::string value(const std::string& line, const std::string& key) {
    const std::size_t at = line.find("\"" + key + "\"");
    if (at == std::string::npos) return {};
    std::size_t i = line.find('"', line.find(':', at + key.size() + 2) + 1);
    std::wstring out;
    while (i != std::string::npos && ++i < line.size() && line[i] != '"') {
        if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == 'u' && i + 5 < line.size()) {
            out += wchar_t(std::stoi(line.substr(i + 2, 4), nullptr, 16));
            i += 5;
        } else if (line[i] == '\\' && i + 1 < line.size()) {
            out += wchar_t(line[++i]);
        } else {
            const std::size_t start = i;
            while (i + 1 < line.size() && line[i + 1] != '"' && line[i + 1] != '\\') ++i;
            out += wide(line.substr(start, i - start + 1));
        }
    }
    return utf8(out.c_str(), int(out.size()));
}

std::string answer(const std::string& line) {
    const std::string cmd = value(line, "cmd");
    if (cmd == "windows") {
        std::string list;
        for (HWND top : topLevels()) {
            RECT r{};
            GetClientRect(top, &r);
            if (!list.empty()) list += ',';
            list += Object()
                        .add("title", quoted(windowText(top)))
                        .add("class", quoted(className(top)))
                        .add("enabled", boolean(IsWindowEnabled(top)))
                        .add("width", std::to_string(r.right))
                        .add("height", std::to_string(r.bottom))
                        .done();
        }
        return "{\"windows\":[" + list + "]}";
    }
    if (cmd == "controls" || cmd == "focus" || cmd == "press") {
        std::vector<Control> list = controls();
        std::string reply;
        if (cmd == "controls") {
            for (const Control& c : list) reply += (reply.empty() ? "" : ",") + c.json;
            reply = "{\"controls\":[" + reply + "]}";
        } else if (cmd == "focus") {
            reply = "{\"focus\":null}";
            for (const Control& c : list)
                if (c.focused && c.showing) reply = Object().add("focus", c.json).done();
        } else {
            const std::string name = value(line, "name");
            reply = "{\"error\":" + quoted("no showing control named " + name) + "}";
            for (const Control& c : list) {
                if (c.name != name || !c.showing) continue;
                VARIANT self;
                self.vt = VT_I4;
                self.lVal = CHILDID_SELF;
                if (!c.acc || FAILED(c.acc->accDoDefaultAction(self)))
                    PostMessageW(c.hwnd, BM_CLICK, 0, 0);
                reply = Object().add("pressed", c.json).done();
                break;
            }
        }
        release(list);
        return reply;
    }
    if (cmd == "memory") {
        const std::vector<HWND> tops = topLevels();
        DWORD pid = 0;
        if (!tops.empty()) GetWindowThreadProcessId(tops.front(), &pid);
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        const bool ok = process && GetProcessMemoryInfo(process, &counters, sizeof counters);
        if (process) CloseHandle(process);
        if (!ok) return "{\"error\":\"no memory counters\"}";
        return Object()
            .add("peak_working_set", std::to_string(counters.PeakWorkingSetSize))
            .add("working_set", std::to_string(counters.WorkingSetSize))
            .done();
    }
    return "{\"error\":\"unknown command\"}";
}

}  // namespace

int wmain() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::string line;
    while (std::getline(std::cin, line)) {
        std::fputs((answer(line) + "\n").c_str(), stdout);
        std::fflush(stdout);
    }
    CoUninitialize();
    return 0;
}
