#pragma once

#include <stdexcept>

#include "core/Persistor.hpp"
#include "core/Store.hpp"
#include "adapters/curl/CurlHttpClient.hpp"
#include "adapters/libxml/LibxmlHtmlText.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryAlerts.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "adapters/posix/FileOps.hpp"
#include "adapters/posix/PosixShellRunner.hpp"
#include "adapters/qt/QtLocalMonitor.hpp"
#include "adapters/qt/QtRichTextReader.hpp"
#include "adapters/recognition/TesseractRecognizer.hpp"
#include "adapters/recognition/ZxingBarcodeReader.hpp"
#include "simmac/SimDesktop.hpp"
#include "simmac/SimHome.hpp"
#include "simmac/SimPasteboard.hpp"
#include "simmac/SimScreenCapture.hpp"
#include "simmac/SimWindowServer.hpp"
#include "support/TemporaryDirectory.hpp"
#include "text/TextServices.hpp"

namespace quorvane::text {

// The simulated desktop's posted input, with typing refused on demand, as
// a session that cannot type some text refuses it.
struct RefusableTyping final : platform::SyntheticEvents {
    explicit RefusableTyping(platform::SyntheticEvents& wrapped) : events(wrapped) {}
    platform::Status post(const platform::InputEvent& event) override { return events.post(event); }
    platform::Status postToPid(int pid, const platform::InputEvent& event) override {
        return events.postToPid(pid, event);
    }
    platform::Status warpCursor(platform::Point to) override { return events.warpCursor(to); }
    platform::Status typeText(std::string_view text) override {
        if (refuses)
            return platform::Error{"refused"};
        ++typed;
        return events.typeText(text);
    }
    platform::Status canTypeText(std::string_view text) override {
        return refuses ? platform::Status(platform::Error{"refused"}) : events.canTypeText(text);
    }

    platform::SyntheticEvents& events;
    bool refuses = false;
    int typed = 0;  // texts typed
};

// The text folder over the simulated pasteboard, desktop and screenshot
// tool (in a temporary simulated Mac), memory stores, a virtual main queue,
// the real HTTP client and the real recognisers. The tests and the fuzz
// targets build on it; it needs a Qt application made first.
struct TextWorld {
    // Runs the folder's work to its end: jobs on the executors, what they
    // post back to the main queue, and so on.
    void settle() {
        for (int round = 0; round < 4; ++round) {
            conversions.waitUntilIdle();
            network.waitUntilIdle();
            vision.waitUntilIdle();
            emojiWorker.waitUntilIdle();
            queue.drain();
        }
    }

    platform::memory::MemoryLog log;
    platform::memory::ManualMainQueue queue;
    platform::memory::MemoryBlobStore blobs;
    platform::memory::MemoryUserDefaults defaults;
    core::Persistor persistor{&blobs, queue, log};
    core::Store store{defaults, persistor};
    platform::memory::MemoryJournal journal;
    platform::memory::MemoryAlerts alerts;
    platform::sim::SimPasteboard pasteboard;
    platform::libxml::LibxmlHtmlText htmlText;
    platform::qt::QtRichTextReader reader{&htmlText};
    platform::curl::CurlHttpClient http;
    core::SerialExecutor conversions{"Plain Text"};
    core::SerialExecutor network{"Network"};
    core::SerialExecutor vision{"Vision"};
    testing::TemporaryDirectory folder;
    platform::sim::SimHome simHome{[this] {
        platform::sim::SimHome home(folder.path() / "sim");
        if (auto prepared = home.prepare(); !prepared)
            throw std::runtime_error("the simulated Mac cannot be made: " + prepared.error().message);
        return home;
    }()};
    platform::posix::PosixShellRunner shell{simHome.commandEnvironment()};
    platform::sim::SimScreenCapture capture{shell, simHome.binDirectory() / "screencapture",
                                            folder.path() / "run", queue};
    platform::sim::SimPermissionAsker permissionAsker{journal};
    platform::recognition::TesseractRecognizer textRecognizer{log};
    platform::recognition::ZxingBarcodeReader barcodeReader;
    static constexpr int ownPid = 4242;
    platform::sim::SimDisplays displays{journal};
    platform::sim::SimWindowServer desktop{ownPid, journal, pasteboard, {}, &displays};
    windows::OwnedWindowsServices owned{{.store = store, .mainQueue = queue, .journal = journal,
                                 .log = log, .screens = desktop, .accessibility = desktop,
                                 .windowList = desktop, .applications = desktop,
                                 .permissions = simHome, .permissionAsker = permissionAsker}};
    windows::WindowsServices& windows = owned.services;
    platform::qt::QtLocalMonitor localMonitors;
    RefusableTyping typing{desktop};
    input::InputPoster poster{typing, queue, journal};
    input::InputServices input{.monitors = desktop, .localMonitors = localMonitors,
                               .taps = desktop, .poster = poster, .journal = journal,
                               .log = log, .windows = windows, .store = windows.store,
                               .mainQueue = windows.mainQueue};
    core::SerialExecutor emojiWorker{"Emoji"};
    EmojiTable emojiTable{EmojiLoader(QUORVANE_EMOJI_TABLE, log, platform::posix::readFile),
                          emojiWorker, queue};
    PlainTextService plainText{pasteboard, reader, conversions, queue, journal};
    ClipboardManager clipboard{pasteboard, plainText, queue};
    TextServices services{.store = store,
                          .pasteboard = pasteboard,
                          .journal = journal,
                          .log = log,
                          .mainQueue = queue,
                          .plainText = plainText,
                          .clipboard = clipboard,
                          .defaults = defaults,
                          .alerts = alerts,
                          .http = http,
                          .network = network,
                          .publicIpService = {},
                          .requestTimeout = std::chrono::seconds(10),
                          .permissions = simHome,
                          .permissionAsker = permissionAsker,
                          .capture = capture,
                          .textRecognizer = textRecognizer,
                          .barcodeReader = barcodeReader,
                          .vision = vision,
                          .input = input,
                          .keyCapture = desktop,
                          .emojiTable = emojiTable,
                          .emojiSearch = emojiWorker,
                          .clearScreen = [this] { ++screenClears; }};
    int screenClears = 0;
};

}  // namespace quorvane::text
