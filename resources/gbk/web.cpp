// GBK conversion in the browser edition: the page's own text decoder reads GBK, and the page
// builds the reverse table from it once (page.js). ASCII passes through without a call.
#include <emscripten.h>

#include <cstdlib>

#include "resources/gbk.h"

// clang-format off
EM_JS(char*, wt_page_convert, (const char* data, int length, int toGbk, int* outLength), {
    return wtText.convert(data, length, toGbk, outLength);
});
// clang-format on

namespace wt {
namespace {

bool ascii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string convert(std::string_view in, bool toGbk) {
    if (ascii(in)) return std::string(in);
    int length = 0;
    char* out = wt_page_convert(in.data(), static_cast<int>(in.size()), toGbk ? 1 : 0, &length);
    if (out == nullptr) return {};
    std::string result(out, static_cast<std::size_t>(length < 0 ? 0 : length));
    std::free(out);
    return result;
}

}  // namespace

std::string gbk(std::string_view utf8Text) {
    return convert(utf8Text, true);
}
std::string utf8(std::string_view gbkText) {
    return convert(gbkText, false);
}
std::optional<std::string> gbkExact(std::string_view utf8Text) {
    // Exact when nothing was dropped on the way: the text comes back as it went in.
    std::string out = convert(utf8Text, true);
    if (convert(out, false) != utf8Text) return std::nullopt;
    return out;
}

}  // namespace wt
