#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>

#include "input/shortcuts/MenuShortcuts.hpp"
#include "platform/Accessibility.hpp"

namespace quorvane::input {

// How much of another program's menu tree one read may walk: its menus can
// be cyclic, deep or slow to answer.
struct MenuReadLimits {
    int depth = 8;
    std::size_t items = 5000;
    std::chrono::milliseconds time{3000};
};

// Reads an application's menu bar and extras menu bar into menus with the
// items that carry a shortcut. The system menu (the first, "Apple") is the
// same in every application and is skipped. Stops at a limit, or when
// `cancelled` turns true, keeping what was read; a call that times out is
// an absent value. Any thread the port may be called from.
ShortcutInfo readMenus(platform::Accessibility& accessibility, int pid,
                       const MenuReadLimits& limits = {},
                       const std::atomic<bool>* cancelled = nullptr);

}  // namespace quorvane::input
