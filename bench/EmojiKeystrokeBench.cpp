// Emoji Alias on the keystroke path: the handler every key typed anywhere
// reaches while the tweak is on, with nothing collected (time per key and
// heap allocations, which should be none), and the shortcode panel taking
// the matches of ":s" (about 860 rows) and painting them.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "CountingAllocator.hpp"
#include "core/Persistor.hpp"
#include "core/Store.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryAlerts.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/posix/FileOps.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "adapters/qt/NetworkModule.hpp"
#include "adapters/qt/QtLocalMonitor.hpp"
#include "adapters/qt/QtRegionCapture.hpp"
#include "adapters/qt/QtRichTextReader.hpp"
#include "adapters/posix/RecognitionHelper.hpp"
#include "simmac/SimDesktop.hpp"
#include "simmac/SimPasteboard.hpp"
#include "simmac/SimWindowServer.hpp"
#include "text/emoji/EmojiAliasManager.hpp"
#include "ui/text/EmojiAliasPanel.hpp"

namespace {

using namespace quorvane;
using namespace quorvane::platform;

struct Grants final : PermissionChecker {
    bool isGranted(Permission) const override { return true; }
};

// The text folder over the simulated Mac, as the program builds it.
struct Folder {
    memory::MemoryLog log;
    memory::ManualMainQueue queue;
    memory::MemoryBlobStore blobs;
    memory::MemoryUserDefaults defaults;
    core::Persistor persistor{&blobs, queue, log};
    core::Store store{defaults, persistor};
    memory::MemoryJournal journal;
    memory::MemoryAlerts alerts;
    sim::SimPasteboard pasteboard;
    qt::QtRichTextReader reader;
    qt::NetworkModule http{log, QString()};
    posix::RecognitionHelper recognition{log, {}};
    qt::QtRegionCapture capture;
    core::SerialExecutor conversions{"Plain Text"};
    core::SerialExecutor network{"Network"};
    core::SerialExecutor vision{"Vision"};
    core::SerialExecutor emojiWorker{"Emoji"};
    text::PlainTextService plainText{pasteboard, reader, conversions, queue, journal};
    text::ClipboardManager clipboard{pasteboard, plainText, queue};
    Grants grants;
    sim::SimPermissionAsker asker{journal};
    sim::SimDisplays displays{journal};
    sim::SimWindowServer desktop{4242, journal, pasteboard, {}, &displays};
    windows::OwnedWindowsServices owned{{.store = store, .mainQueue = queue, .journal = journal,
                                 .log = log, .screens = desktop, .accessibility = desktop,
                                 .windowList = desktop, .applications = desktop,
                                 .permissions = grants, .permissionAsker = asker}};
    windows::WindowsServices& windows = owned.services;
    qt::QtLocalMonitor localMonitors;
    input::InputPoster poster{desktop, queue, journal};
    input::InputServices input{.monitors = desktop,
                               .localMonitors = localMonitors,
                               .taps = desktop,
                               .poster = poster,
                               .journal = journal,
                               .log = log,
                               .windows = windows,
                               .store = windows.store,
                               .mainQueue = windows.mainQueue};
    text::EmojiTable table{text::EmojiLoader(QUORVANE_EMOJI_TABLE, log, quorvane::platform::posix::readFile), emojiWorker, queue};
    text::TextServices services{
        .store = store, .pasteboard = pasteboard, .journal = journal, .log = log,
        .mainQueue = queue, .plainText = plainText, .clipboard = clipboard, .defaults = defaults,
        .alerts = alerts, .http = http, .network = network, .publicIpService = {},
        .permissions = grants, .permissionAsker = asker, .capture = capture,
        .textRecognizer = recognition, .barcodeReader = recognition, .vision = vision,
        .input = input, .keyCapture = desktop, .emojiTable = table, .emojiSearch = emojiWorker};
};

QApplication& application() {
    static int argc = 1;
    static char name[] = "emoji-bench";
    static char* argv[] = {name};
    static QApplication app(argc, argv);
    return app;
}

void BM_IdleKeystroke(benchmark::State& state) {
    Folder folder;
    text::EmojiAliasManager manager(folder.services, "EmojiAliasTask");
    manager.start();
    // The table loads on its worker: done before counting.
    folder.emojiWorker.waitUntilIdle();
    folder.queue.drain();
    const InputEvent key{.type = EventType::keyDown, .keyCode = 0, .characters = "a",
                         .charactersIgnoringModifiers = "a"};
    const long before = bench::allocations();
    for (auto _ : state)
        manager.handleGlobalKeyDown(key);
    state.counters["allocations"] = static_cast<double>(bench::allocations() - before);
    manager.stop();
}
BENCHMARK(BM_IdleKeystroke)->Unit(benchmark::kNanosecond)->Repetitions(9)->ReportAggregatesOnly();

void BM_PanelUpdateForS(benchmark::State& state) {
    application();
    memory::MemoryLog log;
    auto index = std::make_shared<const text::EmojiIndex>(
        text::EmojiLoader(QUORVANE_EMOJI_TABLE, log, quorvane::platform::posix::readFile).load());
    const auto s = index->aliasMatches(":s");
    const auto sm = index->aliasMatches(":sm");
    ui::EmojiAliasPanel panel;
    panel.show();
    bool flip = false;
    for (auto _ : state) {
        // Alternating, so every round is a new list.
        panel.setMatches(index, flip ? sm : s, 0);
        panel.repaint();
        flip = !flip;
    }
    state.counters["rows"] = static_cast<double>(s.size());
}
BENCHMARK(BM_PanelUpdateForS)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace
