#include "wiring/TextWiring.hpp"

#include <cstdlib>

#include "wiring/AppPaths.hpp"
#include "wiring/InstallLayout.hpp"
#include "adapters/posix/FileOps.hpp"
#include "adapters/posix/FreeHeap.hpp"
#include "adapters/qt/QtRegionCapture.hpp"
#include "simmac/SimScreenCapture.hpp"
#include "simmac/SimWindowServer.hpp"
#include "text/PublicIpTask.hpp"
#include "text/TextTweaks.hpp"

namespace quorvane::app {

namespace {

std::string publicIpService() {
    const char* chosen = std::getenv("QUORVANE_PUBLIC_IP_URL");
    return chosen != nullptr && *chosen != '\0' ? chosen : text::PublicIpTask::defaultService;
}

// The capture of the desktop in use, and how a command run without an
// instance waits for it.
std::pair<std::unique_ptr<platform::ScreenCapture>, BackgroundDrain::Worker> screenCapture(
    SharedServices& shared) {
    if (!shared.desktop.simulated()) {
        auto capture = std::make_unique<platform::qt::QtRegionCapture>(
            [&x11 = shared.x11, &queue = shared.mainQueue] { return x11.windowHolds(queue); });
        auto* qt = capture.get();
        return {std::unique_ptr<platform::ScreenCapture>(std::move(capture)),
                BackgroundDrain::Worker{"Capture", [qt] { qt->waitUntilClosed(); },
                                        [qt] { return !qt->isOpen(); }}};
    }
    // The capture file lives beside the control socket, in a folder only
    // this user can enter.
    auto socket = controlSocketFor(shared.directories);
    auto capture = std::make_unique<platform::sim::SimScreenCapture>(
        shared.shell, shared.simHome.binDirectory() / "screencapture",
        socket ? socket.value().parent_path() : shared.paths.cache, shared.mainQueue);
    auto* sim = capture.get();
    return {std::unique_ptr<platform::ScreenCapture>(std::move(capture)),
            BackgroundDrain::Worker{"Capture", [sim] { sim->waitUntilIdle(); },
                                    [sim] { return sim->isIdle(); }}};
}

}  // namespace

TextWiring::TextWiring(SharedServices& shared, DesktopSession& desktop, InputWiring& input)
    : html_(shared.log,
            QString::fromStdString(helperFile(shared.program, "libquorvane_html.so").string())),
      http_(shared.log,
            QString::fromStdString(helperFile(shared.program, "libquorvane_network.so").string())),
      capture_(screenCapture(shared)),
      recognition_(shared.log,
                   helperFile(shared.program, "quorvane-recognize")),
      emojiTable_(text::EmojiLoader(dataFile(shared.program, "emoji.json"), shared.log,
                                    platform::posix::readFile),
                  emojiWorker_, shared.mainQueue),
      simulatedMenuBar_(desktop.simulated()),
      plainText_(shared.pasteboard, richText_, conversions_, shared.mainQueue, shared.journal),
      clipboard_(shared.pasteboard, plainText_, shared.mainQueue),
      services_{.store = shared.store,
                .pasteboard = shared.pasteboard,
                .journal = shared.journal,
                .log = shared.log,
                .mainQueue = shared.mainQueue,
                .plainText = plainText_,
                .clipboard = clipboard_,
                .defaults = shared.userDefaults,
                .alerts = shared.alerts,
                .http = http_,
                .network = network_,
                .publicIpService = publicIpService(),
                .permissions = shared.simHome,
                .permissionAsker = shared.permissionAsker,
                .capture = *capture_.first,
                .textRecognizer = recognition_,
                .barcodeReader = recognition_,
                .vision = vision_,
                .input = input.services(),
                .keyCapture = desktop.keyCapture(),
                .emojiTable = emojiTable_,
                .emojiSearch = emojiWorker_,
                .statusBar = desktop.simulated()} {
    emojiTable_.released = [] { platform::posix::giveBackFreeHeap(); };
}

void TextWiring::addTweaks(core::TweakFactory& factory) {
    text::addTextTweaks(factory, services_);
}

void TextWiring::setPickerFrontEnd(platform::StatusBar* statusBar,
                                   std::function<std::unique_ptr<text::EmojiPickerView>()> make,
                                   std::function<bool()> shown) {
    services_.statusBar = statusBar ? statusBar : simulatedMenuBar_;
    services_.makePickerPopover = std::move(make);
    services_.statusAreaShown = statusBar ? std::move(shown) : std::function<bool()>();
}

void TextWiring::addWorkers(BackgroundDrain& drain) {
    drain.add(conversions_);
    drain.add(network_);
    drain.add(capture_.second);
    drain.add(vision_);
    drain.add(emojiWorker_);
}

void TextWiring::stop() {
    clipboard_.stop();
    http_.abortAll();
    network_.waitUntilIdle();
    conversions_.waitUntilIdle();
    vision_.waitUntilIdle();
    emojiWorker_.waitUntilIdle();
}

}  // namespace quorvane::app
