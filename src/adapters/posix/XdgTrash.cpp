#include "adapters/posix/XdgTrash.hpp"

#include <sys/stat.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <system_error>

namespace quorvane::platform::posix {

namespace {

// A real folder (not a link to one), and whose owner and mode are what a
// trash of `user` must have.
bool isOwnFolder(const std::filesystem::path& path, uid_t user) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == user;
}

bool isStickyFolder(const std::filesystem::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           (status.st_mode & S_ISVTX) != 0;
}

// A mount point as mountinfo escapes it (a blank is \040).
std::string unescaped(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (digits.size() == 3 && digits.find_first_not_of("01234567") == std::string::npos) {
                out.push_back(static_cast<char>(std::stoi(digits, nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

}  // namespace

XdgTrash::XdgTrash(std::filesystem::path dataHome, VolumeTops volumeTops, uid_t user)
    : dataHome_(std::move(dataHome)), volumeTops_(std::move(volumeTops)), user_(user) {}

std::vector<std::filesystem::path> XdgTrash::mountedVolumeTops() {
    static const std::set<std::string> pseudo = {
        "proc",   "sysfs",   "devtmpfs", "devpts",   "tmpfs",     "cgroup", "cgroup2",
        "pstore", "bpf",     "debugfs",  "tracefs",  "securityfs", "mqueue", "hugetlbfs",
        "autofs", "configfs", "fusectl", "binfmt_misc", "efivarfs", "nsfs",  "overlay",
        "ramfs",  "rpc_pipefs", "selinuxfs"};
    std::vector<std::filesystem::path> tops;
    std::ifstream info("/proc/self/mountinfo");
    std::string line;
    while (std::getline(info, line)) {
        // id parent major:minor root mountpoint options [tags] - type source
        std::istringstream fields(line);
        std::string id, parent, device, root, mountPoint;
        fields >> id >> parent >> device >> root >> mountPoint;
        const auto separator = line.find(" - ");
        if (separator == std::string::npos)
            continue;
        std::istringstream rest(line.substr(separator + 3));
        std::string type;
        rest >> type;
        const std::string top = unescaped(mountPoint);
        if (pseudo.contains(type) || top == "/" || top.starts_with("/proc") ||
            top.starts_with("/sys") || top.starts_with("/dev") || top.starts_with("/run/user") ||
            top == "/boot" || top.starts_with("/boot/"))
            continue;
        tops.emplace_back(top);
    }
    return tops;
}

std::vector<std::filesystem::path> XdgTrash::trashFolders() const {
    std::vector<std::filesystem::path> folders;
    if (isOwnFolder(dataHome_ / "Trash", user_))
        folders.push_back(dataHome_ / "Trash");
    const std::string uid = std::to_string(user_);
    for (const auto& top : volumeTops_()) {
        if (isStickyFolder(top / ".Trash") && isOwnFolder(top / ".Trash" / uid, user_))
            folders.push_back(top / ".Trash" / uid);
        if (isOwnFolder(top / (".Trash-" + uid), user_))
            folders.push_back(top / (".Trash-" + uid));
    }
    return folders;
}

Result<std::size_t> XdgTrash::empty() {
    std::size_t items = 0;
    std::string failures;
    for (const auto& trash : trashFolders()) {
        for (const char* part : {"files", "info"}) {
            const auto folder = trash / part;
            if (!isOwnFolder(folder, user_))
                continue;
            std::error_code error;
            for (std::filesystem::directory_iterator entry(folder, error), end;
                 !error && entry != end; entry.increment(error)) {
                std::error_code removed;
                // remove_all never follows a link: the link goes, not its target.
                std::filesystem::remove_all(entry->path(), removed);
                if (removed)
                    failures += (failures.empty() ? "" : "; ") + entry->path().string() + ": " +
                                removed.message();
                else if (std::string_view(part) == "files")
                    ++items;
            }
            if (error)
                failures += (failures.empty() ? "" : "; ") + folder.string() + ": " + error.message();
        }
        std::error_code ignored;
        std::filesystem::remove(trash / "directorysizes", ignored);
    }
    if (!failures.empty())
        return Error{"some of the trash could not be deleted: " + failures};
    return items;
}

}  // namespace quorvane::platform::posix
