#include "wiring/InstallLayout.hpp"

namespace quorvane::app {

namespace {

std::filesystem::path firstExisting(const std::filesystem::path& program, std::string_view name,
                                    const char* installedFolder, bool folder = false) {
    if (program.empty())
        return {};
    const auto beside = program.parent_path();
    for (const auto& candidate :
         {beside / name, (beside / ".." / installedFolder / "quorvane" / name).lexically_normal()}) {
        std::error_code error;
        if (folder ? std::filesystem::is_directory(candidate, error)
                   : std::filesystem::is_regular_file(candidate, error))
            return candidate;
    }
    return {};
}

}  // namespace

std::filesystem::path helperFile(const std::filesystem::path& program, std::string_view name) {
    return firstExisting(program, name, "libexec");
}

std::filesystem::path dataFile(const std::filesystem::path& program, std::string_view name) {
    return firstExisting(program, name, "share");
}

std::filesystem::path dataFolder(const std::filesystem::path& program, std::string_view name) {
    return firstExisting(program, name, "share", true);
}

std::filesystem::path thisProgram() {
    std::error_code error;
    auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program;
}

}  // namespace quorvane::app
