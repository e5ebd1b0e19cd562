// The outcome of a decoder: a value, or the reason the input was refused.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace wt::decode {

template <class T>
struct Decoded {
    std::optional<T> value;
    std::string error;  // empty when `value` is set

    static Decoded fail(std::string why) { return Decoded{std::nullopt, std::move(why)}; }
    static Decoded ok(T v) { return Decoded{std::move(v), {}}; }

    explicit operator bool() const { return value.has_value(); }
    const T& operator*() const { return *value; }
    const T* operator->() const { return &*value; }
};

}  // namespace wt::decode
