#pragma once

// What every fuzz target shares: the libFuzzer entry point's declaration,
// a check that stops the run with the input's finding, and the ways the
// targets cut raw bytes into the shapes their readers take.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace quorvane::fuzz {

// A property that must hold for every input. Unlike assert(), it stays in
// release builds: the corpus replay runs in the default build too.
[[noreturn]] inline void failed(const char* condition, const char* file, int line,
                                const std::string& detail) {
    std::fprintf(stderr, "%s:%d: fuzz check failed: %s%s%s\n", file, line, condition,
                 detail.empty() ? "" : "\n  ", detail.c_str());
    std::abort();
}

inline std::string bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Words cut at NUL bytes, as argv or a request's list of words arrive;
// at most `limit` of them.
inline std::vector<std::string> words(std::string_view text, std::size_t limit = 64) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size() && out.size() < limit) {
        const auto end = text.find('\0', start);
        out.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos
                                                                          : end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return out;
}

// A folder of this process's own for the files a target writes, removed
// when the process ends.
inline const std::filesystem::path& folder() {
    static const char* made = [] {
        static std::string name =
            (std::filesystem::temp_directory_path() / "quorvane-fuzz-XXXXXX").string();
        if (!::mkdtemp(name.data()))
            std::abort();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(name, ignored);
        });
        return name.c_str();
    }();
    static const std::filesystem::path path = made;
    return path;
}

inline std::string contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace quorvane::fuzz

#define FUZZ_CHECK(condition, detail)                                                    \
    do {                                                                                 \
        if (!(condition))                                                                \
            ::quorvane::fuzz::failed(#condition, __FILE__, __LINE__, (detail));          \
    } while (false)
