// libFuzzer entry: the form resource reader must refuse or accept any input without a crash.
#include <cstddef>
#include <cstdint>
#include <span>

#include "resources/form_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wt::form::FormResource::parse(std::span<const std::uint8_t>(data, size), 4096);
    return 0;
}
