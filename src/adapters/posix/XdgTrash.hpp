#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include <sys/types.h>

#include "platform/Trash.hpp"

namespace quorvane::platform::posix {

// The freedesktop.org trash: the home trash ($XDG_DATA_HOME/Trash) and,
// on each mounted volume, the shared trash's folder of this user
// ($top/.Trash/$uid, used only when .Trash is a real sticky folder) and
// this user's own ($top/.Trash-$uid, used only when it is a real folder
// of this user). Emptying deletes what the files and info folders hold,
// never following a link out of them, and the size cache.
class XdgTrash final : public Trash {
  public:
    using VolumeTops = std::function<std::vector<std::filesystem::path>()>;
    // `volumeTops`: asked each time the trash is emptied.
    XdgTrash(std::filesystem::path dataHome, VolumeTops volumeTops, uid_t user);

    // The tops of the mounted volumes a person keeps files on, from
    // /proc/self/mountinfo: pseudo and system file systems left out.
    static std::vector<std::filesystem::path> mountedVolumeTops();

    Result<std::size_t> empty() override;

    // Every trash folder found now, the home one first.
    std::vector<std::filesystem::path> trashFolders() const;

  private:
    std::filesystem::path dataHome_;
    VolumeTops volumeTops_;
    uid_t user_;
};

}  // namespace quorvane::platform::posix
