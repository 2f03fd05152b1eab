#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "core/SerialExecutor.hpp"
#include "core/Store.hpp"
#include "input/InputServices.hpp"
#include "platform/Alerts.hpp"
#include "platform/HttpClient.hpp"
#include "platform/KeyCapture.hpp"
#include "platform/StatusBar.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/Pasteboard.hpp"
#include "platform/PermissionAsker.hpp"
#include "platform/ScreenCapture.hpp"
#include "platform/UserDefaults.hpp"
#include "text/ClipboardManager.hpp"
#include "text/PlainTextService.hpp"
#include "text/emoji/EmojiAliasView.hpp"
#include "text/emoji/EmojiPickerView.hpp"
#include "text/emoji/EmojiTable.hpp"

namespace quorvane::text {

// What the text tweaks act through.
struct TextServices {
    core::Store& store;
    platform::Pasteboard& pasteboard;
    platform::Journal& journal;
    platform::Log& log;
    platform::MainQueue& mainQueue;
    PlainTextService& plainText;  // parses on an executor of its own
    ClipboardManager& clipboard;  // Auto Plain text's watcher
    platform::UserDefaults& defaults;
    platform::Alerts& alerts;
    platform::HttpClient& http;
    core::SerialExecutor& network;  // requests wait here
    std::string publicIpService;    // the echo service's address
    std::chrono::milliseconds requestTimeout = std::chrono::seconds(60);
    const platform::PermissionChecker& permissions;
    platform::PermissionAsker& permissionAsker;
    platform::ScreenCapture& capture;
    platform::TextRecognizer& textRecognizer;
    platform::BarcodeReader& barcodeReader;
    core::SerialExecutor& vision;  // pictures are read here, one at a time
    // The keyboard, the applications and the screens of the desktop in use.
    input::InputServices& input;
    platform::KeyCapture& keyCapture;
    EmojiTable& emojiTable;
    core::SerialExecutor& emojiSearch;  // shortcodes are searched here
    // Minimises our windows and closes the popover; set by the front end.
    std::function<void()> clearScreen{};
    // Makes the shortcode panel; set by the front end (none: no panel, so
    // shortcodes are never collected).
    std::function<std::unique_ptr<EmojiAliasView>()> makeAliasPanel{};
    // Our extra menu-bar items, and the emoji picker's popover; set by the
    // front end (no status bar: the picker shows nothing).
    platform::StatusBar* statusBar = nullptr;
    std::function<std::unique_ptr<EmojiPickerView>()> makePickerPopover{};
    // Whether the status bar shows its items now (a desktop without a
    // system tray shows none); unset: it always does.
    std::function<bool()> statusAreaShown{};
};

}  // namespace quorvane::text
