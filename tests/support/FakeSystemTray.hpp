#pragma once

#include <xcb/xcb.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace quorvane::testing {

// The smallest system-tray host for a test's X display: it owns the tray
// selection, takes in every icon that asks to dock, and clicks icons as a
// person would (through the XTest extension). Its own connection and thread.
class FakeSystemTray {
  public:
    FakeSystemTray();
    ~FakeSystemTray();
    FakeSystemTray(const FakeSystemTray&) = delete;
    FakeSystemTray& operator=(const FakeSystemTray&) = delete;

    // The docked icon windows still alive, oldest first.
    std::vector<xcb_window_t> icons() const;
    // Presses and releases a mouse button (1 left, 3 right) over the newest icon.
    void click(int button);
    // Puts the tray's first icon at the top-right corner of the screen, where
    // a panel's status area often is.
    void moveToTopRight();

  private:
    void serve();
    xcb_atom_t atom(const char* name);

    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
    xcb_window_t tray_ = 0;
    xcb_atom_t opcode_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<xcb_window_t> icons_;
};

}  // namespace quorvane::testing
