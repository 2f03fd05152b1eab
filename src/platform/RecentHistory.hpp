#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace quorvane::platform {

// Appends `item` to a record of events that a long-running program keeps,
// dropping the oldest so that at most `kept` remain: a record of everything
// grows for as long as the program runs.
template <class T>
void keepRecent(std::vector<T>& history, T item, std::size_t kept) {
    if (kept == 0)
        return;
    if (history.size() >= kept)
        history.erase(history.begin(),
                      history.begin() + std::ptrdiff_t(history.size() - kept + 1));
    history.push_back(std::move(item));
}

}  // namespace quorvane::platform
