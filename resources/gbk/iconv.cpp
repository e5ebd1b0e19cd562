#include <iconv.h>

#include <cerrno>

#include "resources/gbk.h"

namespace wt {
namespace {

// With `strict`, nothing when a byte cannot be converted; otherwise such bytes are dropped.
std::optional<std::string> convert(std::string_view in, const char* to, const char* from,
                                   bool strict) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    out.resize(in.size() * 2 + 4);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    std::size_t used = 0;
    while (srcLeft > 0) {
        char* dst = out.data() + used;
        std::size_t dstLeft = out.size() - used;
        std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        used = out.size() - dstLeft;
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
        } else if (strict) {
            iconv_close(cd);
            return std::nullopt;
        } else {
            // EILSEQ or EINVAL: skip the byte that cannot be converted.
            ++src;
            --srcLeft;
        }
    }
    iconv_close(cd);
    out.resize(used);
    return out;
}

}  // namespace

std::string gbk(std::string_view utf8Text) {
    return convert(utf8Text, "GBK", "UTF-8", false).value_or(std::string());
}
std::optional<std::string> gbkExact(std::string_view utf8Text) {
    return convert(utf8Text, "GBK", "UTF-8", true);
}
std::string utf8(std::string_view gbkText) {
    return convert(gbkText, "UTF-8", "GBK", false).value_or(std::string());
}

}  // namespace wt
