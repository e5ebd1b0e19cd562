#include "resources/embedded_forms.h"

// Bounds of the .incbin block in the generated embedded_forms.S.
extern "C" const std::uint8_t wt_forms_begin[];
extern "C" const std::uint8_t wt_forms_end[];

namespace wt::form {

std::span<const std::uint8_t> embeddedFormResource() {
    return {wt_forms_begin, static_cast<std::size_t>(wt_forms_end - wt_forms_begin)};
}

}  // namespace wt::form
