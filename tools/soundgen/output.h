// Writes a generated file only when its content changed, so that an unchanged output does not
// make the build re-assemble or recompile what depends on it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <system_error>
#include <vector>

namespace soundgen {

inline bool writeIfChanged(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            std::vector<char> old((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
            if (old.size() == bytes.size() &&
                std::equal(old.begin(), old.end(), bytes.begin(),
                           [](char a, std::uint8_t b) { return std::uint8_t(a) == b; }))
                return true;
        }
    }
    std::filesystem::path tmp = path;
    tmp += ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) return false;
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    return !ec;
}

}  // namespace soundgen
