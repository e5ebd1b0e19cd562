// Stand-in for resources/gbk/win32.cpp until it lands: code page 936 through the system.
#include "resources/gbk.h"

#include <windows.h>

namespace wt {
namespace {

std::wstring wide(std::string_view text, UINT codePage, DWORD flags) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string narrow(const std::wstring& text, UINT codePage) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

}  // namespace

std::string gbk(std::string_view text) {
    return narrow(wide(text, CP_UTF8, 0), 936);
}

std::optional<std::string> gbkExact(std::string_view text) {
    if (text.empty()) return std::string();
    const std::wstring w = wide(text, CP_UTF8, MB_ERR_INVALID_CHARS);
    if (w.empty()) return std::nullopt;
    return narrow(w, 936);
}

std::string utf8(std::string_view text) {
    return narrow(wide(text, 936, 0), CP_UTF8);
}

}  // namespace wt
