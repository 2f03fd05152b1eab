#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Result.hpp"

namespace quorvane::platform::posix {

// Strings laid out as the NULL-terminated char* array that exec and
// posix_spawn take. Keeps its own copies, so the array stays valid as long
// as this object does.
class CStringArray {
  public:
    explicit CStringArray(std::vector<std::string> strings);
    CStringArray(const CStringArray&) = delete;
    CStringArray& operator=(const CStringArray&) = delete;

    char* const* data() { return pointers_.data(); }

  private:
    std::vector<std::string> strings_;
    std::vector<char*> pointers_;
};

// This process's environment with `overrides` replacing (or adding) those
// variables, as "NAME=value" strings.
std::vector<std::string> environmentWith(const std::map<std::string, std::string>& overrides);

// Starts the program `words[0]` (a path) with `words` as its arguments and
// `environment`, without waiting: a detached thread collects its exit so it
// leaves no zombie. `ownSession`: independent of us, as spawnIndependent
// starts it, as a program the user started would be. The error says why it
// could not start.
Status spawnDetached(std::vector<std::string> words, std::vector<std::string> environment,
                     bool ownSession = false);

// Starts the program `words[0]` (a path) so that it may outlive this process
// and holds nothing of ours: a session of its own (no signal from our
// terminal reaches it), standard input, output and error on /dev/null (a
// pipe we were given, which a caller may be reading to its end, stays ours
// alone), none of our other descriptors, every signal at its default and
// none blocked. `directory`: where it starts, if not here. Answers its pid;
// it is our child until we end, and the caller reaps it.
Result<int> spawnIndependent(std::vector<std::string> words, std::vector<std::string> environment,
                             const std::string& directory = {});

}  // namespace quorvane::platform::posix
