// GBK through the system's code page 936. The conversions match resources/gbk/iconv.cpp: a
// character without a GBK form, or a byte that starts no valid sequence, is dropped by itself and
// the conversion goes on after it. Code page 936 also maps its user-defined areas (and 0xFF) to
// the private use area, which GBK leaves unassigned: those count as having no GBK form.
#include <windows.h>

#include <climits>

#include "resources/gbk.h"

namespace wt {
namespace {

constexpr UINT kGbk = 936;

bool privateUse(wchar_t c) {
    return c >= 0xe000 && c <= 0xf8ff;
}

std::wstring wide(std::string_view utf8Text, DWORD flags, bool& ok) {
    ok = true;
    if (utf8Text.empty()) return {};
    if (utf8Text.size() > INT_MAX) return ok = false, std::wstring();
    const int n =
        MultiByteToWideChar(CP_UTF8, flags, utf8Text.data(), int(utf8Text.size()), nullptr, 0);
    if (n <= 0) return ok = false, std::wstring();
    std::wstring out(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, flags, utf8Text.data(), int(utf8Text.size()), out.data(), n);
    return out;
}

// One character (one or two UTF-16 units) in GBK; false when it has no GBK form.
bool gbkOf(const wchar_t* unit, int units, std::string& out) {
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, unit, units, bytes,
                                      int(sizeof bytes), nullptr, &usedDefault);
    if (n <= 0 || usedDefault || privateUse(unit[0])) return false;
    out.append(bytes, std::size_t(n));
    return true;
}

// UTF-8 (possibly holding U+FFFD for sequences the system could not read) to GBK.
std::optional<std::string> toGbk(const std::wstring& text, bool strict) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        const bool pair =
            i + 1 < text.size() && IS_HIGH_SURROGATE(text[i]) && IS_LOW_SURROGATE(text[i + 1]);
        const int units = pair ? 2 : 1;
        if (!gbkOf(text.data() + i, units, out) && strict) return std::nullopt;
        i += std::size_t(units);
    }
    return out;
}

}  // namespace

std::string gbk(std::string_view utf8Text) {
    bool ok = false;
    // Without MB_ERR_INVALID_CHARS each unreadable sequence becomes U+FFFD, which has no GBK
    // form and is dropped.
    const std::wstring text = wide(utf8Text, 0, ok);
    return ok ? *toGbk(text, false) : std::string();
}

std::optional<std::string> gbkExact(std::string_view utf8Text) {
    bool ok = false;
    const std::wstring text = wide(utf8Text, MB_ERR_INVALID_CHARS, ok);
    if (!ok) return std::nullopt;
    return toGbk(text, true);
}

std::string utf8(std::string_view gbkText) {
    std::wstring text;
    text.reserve(gbkText.size());
    for (std::size_t i = 0; i < gbkText.size();) {
        const auto lead = static_cast<unsigned char>(gbkText[i]);
        if (lead < 0x80) {
            text.push_back(wchar_t(lead));
            ++i;
            continue;
        }
        // A lead byte takes the next byte with it; 0x80 (the euro sign) stands alone.
        const int bytes = IsDBCSLeadByteEx(kGbk, BYTE(lead)) ? 2 : 1;
        wchar_t unit[2];
        const int n = i + std::size_t(bytes) > gbkText.size()
                          ? 0
                          : MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, gbkText.data() + i,
                                                bytes, unit, 2);
        if (n == 1 && !privateUse(unit[0])) {
            text.push_back(unit[0]);
            i += std::size_t(bytes);
        } else {
            ++i;  // not the start of a GBK character: drop this byte, read on from the next
        }
    }
    std::string out;
    if (text.empty()) return out;
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (n <= 0) return out;
    out.resize(std::size_t(n));
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace wt
