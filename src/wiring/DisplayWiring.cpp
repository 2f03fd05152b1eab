#include "wiring/DisplayWiring.hpp"

#include "display/DisplayStates.hpp"

#include "simmac/SimWindowServer.hpp"

#include <QFile>
#include <cstdlib>

#include "adapters/posix/FileOps.hpp"
#include "wiring/InstallLayout.hpp"
#include "display/DisplayTweaks.hpp"

namespace quorvane::app {

std::string defaultDesktopPicture() {
    QFile picture(QStringLiteral(":/desktop/default-picture.png"));
    if (!picture.open(QIODevice::ReadOnly))
        return {};
    return picture.readAll().toStdString();
}

namespace {

// Translucency needs a compositing manager on X11; other platforms
// composite (or, offscreen, show nothing anyway).
std::function<bool()> translucencyWorks(platform::qt::X11Module& x11) {
    return [&x11] {
        return !platform::qt::X11Module::inX11Session() || x11.compositingManagerRunning();
    };
}

// "Quorvane/HideNotch" in the data folder: the picture replaced and the one made.
std::unique_ptr<platform::BlobStore> hideNotchStore(SharedServices& shared) {
    if (shared.accessMode == SharedServices::Access::readOnly)
        return nullptr;
    auto opened = platform::posix::FileBlobStore::open(
        shared.directories.dataHome / "Quorvane" / "HideNotch", "");
    if (!opened) {
        shared.log.warning("HideNotchTask", opened.error().message);
        return nullptr;
    }
    return std::move(opened.value());
}

// QUORVANE_EFFECT_SEED fixes the screen effects' particles (pictures
// for the manual, checks that compare frames).
std::optional<std::uint64_t> fixedEffectSeed() {
    const char* value = std::getenv("QUORVANE_EFFECT_SEED");
    if (!value || !*value)
        return std::nullopt;
    char* end = nullptr;
    const auto seed = std::strtoull(value, &end, 10);
    if (*end != '\0')
        return std::nullopt;
    return seed;
}

}  // namespace

DisplayWiring::DisplayWiring(SharedServices& shared, DesktopSession& desktop,
                             WindowsWiring& windows,
                             std::function<bool(const std::string&)> shortcutIsActive)
    : overlays_(shared.journal, translucencyWorks(shared.x11),
                [&x11 = shared.x11, &queue = shared.mainQueue] { return x11.windowHolds(queue); }),
      kept_(shared.openStateStore("TransferTables")),
      desktopPicture_(shared.journal, shared.paths.simulatedMac, defaultDesktopPicture),
      hideNotchStore_(hideNotchStore(shared)),
      simulatedCameras_(desktop.simulated() ? std::make_unique<platform::sim::SimCameras>(shared.mainQueue, shared.journal)
                                            : nullptr),
      cameraHelper_(desktop.simulated() ? nullptr
                                        : std::make_unique<platform::posix::CameraHelper>(
                                              shared.log, helperFile(shared.program, "quorvane-camera"))),
      displays_(desktop.screens(), desktop.displays(), shared.log),
      tables_(desktop.displays(), kept_.get(), shared.journal, shared.log),
      events_(desktop.displays(), shared.systemEvents),
      services_{.store = shared.store,
                .mainQueue = shared.mainQueue,
                .journal = shared.journal,
                .log = shared.log,
                .defaults = shared.userDefaults,
                .alerts = shared.alerts,
                .overlays = overlays_,
                .displays = displays_,
                .tables = tables_,
                .events = events_,
                .gate = windows.services().gate,
                .desktopPicture = desktopPicture_,
                .composer = composer_,
                .hideNotchStore = hideNotchStore_.get(),
                .shortcutIsActive = std::move(shortcutIsActive),
                .effects = dataFolder(shared.program, "effects"),
                .readFile = platform::posix::readFile,
                .effectSeed = fixedEffectSeed(),
                // The simulated Mac's menu bar; an X11 tray places icons itself.
                .statusBar = desktop.simulated(),
                .monitors = &desktop.monitors(),
                .cameras = simulatedCameras_ ? static_cast<platform::Cameras*>(simulatedCameras_.get())
                                             : cameraHelper_.get(),
                .settings = {&shared.changes, &states_}} {
    display::addDisplayStates(states_, displays_, desktopPicture_);
    // Displays that come and go are followed from the first tweak on, in a
    // command run without an instance too.
    events_.start();
    // The simulated window server lists our overlays where they were put.
    if (auto* simulated = desktop.simulated())
        simulated->setOwnWindowCheck(
            [this](std::uint64_t native) { return overlays_.showsNative(native); });
}

void DisplayWiring::addTweaks(core::TweakFactory& factory) {
    display::addDisplayTweaks(factory, services_);
}

void DisplayWiring::start() {
    tables_.restoreLeftovers();
}

void DisplayWiring::stop() {
    events_.stop();
    tables_.restoreAll();
}

}  // namespace quorvane::app
