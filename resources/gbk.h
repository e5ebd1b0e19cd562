// Conversions between the UTF-8 of the source files and the GBK (code page 936) that the model,
// the form resource and the constant area hold. One implementation per platform under gbk/:
// iconv on Linux (the program and the build-time tools), the page's text decoder in the browser,
// the system's code page 936 on Windows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wt {

// Characters that have no GBK form are dropped.
std::string gbk(std::string_view utf8);
// Nothing when the text is not valid UTF-8 or has a character without a GBK form.
std::optional<std::string> gbkExact(std::string_view utf8);
// Invalid GBK sequences are dropped.
std::string utf8(std::string_view gbk);

}  // namespace wt
