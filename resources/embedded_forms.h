// The compiled form resource that is linked into the program.
#pragma once

#include <cstdint>
#include <span>

namespace wt::form {

std::span<const std::uint8_t> embeddedFormResource();

}  // namespace wt::form
