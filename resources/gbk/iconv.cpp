#include <iconv.h>

#include <cerrno>

#include "resources/gbk.h"

namespace wt {
namespace {

// One converter per direction and thread, opened on first use: opening one loads and sets up
// the GBK tables, which cost more than converting a window's worth of names and captions.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    // In its initial shift state, as a fresh one would be.
    iconv_t reset() {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return cd_;
    }

  private:
    iconv_t cd_;
};

iconv_t converter(bool toGbk) {
    thread_local Converter toGbkCd("GBK", "UTF-8");
    thread_local Converter toUtf8Cd("UTF-8", "GBK");
    Converter& c = toGbk ? toGbkCd : toUtf8Cd;
    return c.ok() ? c.reset() : reinterpret_cast<iconv_t>(-1);
}

// With `strict`, nothing when a byte cannot be converted; otherwise such bytes are dropped.
std::optional<std::string> convert(std::string_view in, bool toGbk, bool strict) {
    iconv_t cd = converter(toGbk);
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
            return std::nullopt;
        } else {
            // EILSEQ or EINVAL: skip the byte that cannot be converted.
            ++src;
            --srcLeft;
        }
    }
    out.resize(used);
    return out;
}

}  // namespace

std::string gbk(std::string_view utf8Text) {
    return convert(utf8Text, true, false).value_or(std::string());
}
std::optional<std::string> gbkExact(std::string_view utf8Text) {
    return convert(utf8Text, true, true);
}
std::string utf8(std::string_view gbkText) {
    return convert(gbkText, false, false).value_or(std::string());
}

}  // namespace wt
