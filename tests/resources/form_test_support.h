// Helpers for the form tests: GBK conversion, temporary directories, running formc.
#pragma once

#include <iconv.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace formtest {

inline std::string convert(std::string_view in, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
    std::string src(in), out(in.size() * 2 + 8, '\0');
    char* inPtr = src.data();
    char* outPtr = out.data();
    std::size_t inLeft = src.size(), outLeft = out.size();
    std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1)) throw std::runtime_error("iconv");
    out.resize(out.size() - outLeft);
    return out;
}
inline std::string gbk(std::string_view utf8) {
    return convert(utf8, "GBK", "UTF-8");
}
inline std::string utf8(std::string_view gbk) {
    return convert(gbk, "UTF-8", "GBK");
}

inline std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + p.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& p, std::string_view content) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

inline std::vector<std::uint8_t> bytesOf(std::string_view s) {
    return {s.begin(), s.end()};
}

// A directory that is removed again with everything in it.
class TempDir {
  public:
    TempDir() {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("wt_forms_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

struct FormcRun {
    int exitCode = -1;
    std::string output;  // stdout and stderr
};

#ifdef WT_FORMC_PATH
// Runs formc over `forms` (paths) with `assets` as the asset directory; the outputs go to
// <outDir>/forms.bin and <outDir>/form_ids.h.
inline FormcRun runFormc(const std::filesystem::path& assets, const std::filesystem::path& outDir,
                         const std::vector<std::filesystem::path>& forms,
                         const std::string& options = "") {
    auto quote = [](const std::string& s) { return "'" + s + "'"; };
    std::string cmd = quote(WT_FORMC_PATH) + " --assets " + quote(assets.string()) +
                      " --resource " + quote((outDir / "forms.bin").string()) + " --header " +
                      quote((outDir / "form_ids.h").string()) + options;
    // Appended piece by piece: `" " + std::string&&` inserts at the front, which GCC 12 at -O3
    // takes for an overlapping copy (-Wrestrict).
    for (const auto& f : forms) {
        cmd += ' ';
        cmd += quote(f.string());
    }
    cmd += " 2>&1";
    FormcRun run;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    if (!pipe) return run;
    char buf[512];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) run.output.append(buf, n);
    int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
#endif

}  // namespace formtest
