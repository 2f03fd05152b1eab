#pragma once

#include "core/SerialExecutor.hpp"
#include "core/Store.hpp"
#include <chrono>
#include <string>

#include "platform/Alerts.hpp"
#include "platform/HttpClient.hpp"
#include "platform/Journal.hpp"
#include "platform/UserDefaults.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/Pasteboard.hpp"
#include "platform/RichTextReader.hpp"
#include "text/ClipboardManager.hpp"
#include "text/PlainTextService.hpp"

namespace quorvane::text {

// What the text tweaks act through.
struct TextServices {
    core::Store& store;
    platform::Pasteboard& pasteboard;
    platform::RichTextReader& richText;
    core::SerialExecutor& conversions;  // rich text is parsed here
    platform::Journal& journal;
    platform::Log& log;
    platform::MainQueue& mainQueue;
    PlainTextService& plainText;
    ClipboardManager& clipboard;  // Auto Plain text's watcher
    platform::UserDefaults& defaults;
    platform::Alerts& alerts;
    platform::HttpClient& http;
    core::SerialExecutor& network;  // requests wait here
    std::string publicIpService;    // the echo service's address
    std::chrono::milliseconds requestTimeout = std::chrono::seconds(60);
};

}  // namespace quorvane::text
