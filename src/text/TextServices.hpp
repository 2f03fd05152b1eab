#pragma once

#include "core/SerialExecutor.hpp"
#include "core/Store.hpp"
#include "platform/Journal.hpp"
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
};

}  // namespace quorvane::text
