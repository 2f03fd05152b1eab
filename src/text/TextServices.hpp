#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "core/SerialExecutor.hpp"
#include "core/Store.hpp"
#include "platform/Alerts.hpp"
#include "platform/HttpClient.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/Pasteboard.hpp"
#include "platform/PermissionAsker.hpp"
#include "platform/ScreenCapture.hpp"
#include "platform/UserDefaults.hpp"
#include "text/ClipboardManager.hpp"
#include "text/PlainTextService.hpp"

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
    // Minimises our windows and closes the popover; set by the front end.
    std::function<void()> clearScreen{};
};

}  // namespace quorvane::text
