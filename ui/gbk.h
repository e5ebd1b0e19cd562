// Conversions between the UTF-8 of the source files and the GBK (code page 936) that the model,
// the form resource and the constant area hold.
#pragma once

#include <string>
#include <string_view>

namespace wt {

// Characters that have no GBK form are dropped.
std::string gbk(std::string_view utf8);
// Invalid GBK sequences are dropped.
std::string utf8(std::string_view gbk);

}  // namespace wt
