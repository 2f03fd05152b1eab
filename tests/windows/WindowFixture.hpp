#pragma once

#include <gtest/gtest.h>

#include <chrono>

#include "core/CanToggle.hpp"
#include "core/Persistor.hpp"
#include "core/Store.hpp"
#include "core/catalogue/BuiltinCatalogue.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryAlerts.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "adapters/memory/RecordingOverlays.hpp"
#include "simmac/SimDesktop.hpp"
#include "simmac/SimDragPlayer.hpp"
#include "simmac/SimWindowServer.hpp"
#include "windows/WindowTweaks.hpp"
#include "windows/dock/PreviewDockWindowTask.hpp"
#include "windows/highlight/HighlightActiveWindowTask.hpp"

namespace quorvane::windows::testing {

using namespace platform;
using namespace std::chrono_literals;

constexpr int ownPid = 4242;
constexpr int textEdit = sim::SimWindowServer::textEditPid;

struct Grants final : PermissionChecker {
    bool isGranted(Permission permission) const override { return permission != denied; }
    std::optional<Permission> denied;
};

struct NoPictures final : DesktopPicture {
    Result<std::string> pictureOf(const std::string&) override { return Error{"none"}; }
    Status setPicture(const std::string&, const std::string&) override { return success(); }
};

// The window tweaks on the simulated Mac, on a virtual clock.
class WindowFixture : public ::testing::Test {
  protected:
    memory::MemoryJournal journal;
    memory::MemoryLog log;
    memory::ManualMainQueue queue;
    memory::MemoryUserDefaults defaults;
    memory::MemoryBlobStore records;
    memory::MemoryAlerts alerts;
    memory::RecordingOverlays overlays;
    core::Persistor persistor{&records, queue, log};
    core::Store store{defaults, persistor};
    sim::SimPasteboard pasteboard;
    sim::SimDisplays displays{journal};
    sim::SimWindowServer desktop{ownPid, journal, pasteboard, {}, &displays};
    Grants grants;
    sim::SimPermissionAsker asker{journal};
    OwnedWindowsServices owned{{.store = store, .mainQueue = queue, .journal = journal,
                                 .log = log, .screens = desktop, .accessibility = desktop,
                                 .windowList = desktop, .applications = desktop,
                                 .permissions = grants, .permissionAsker = asker}};
    WindowsServices& windows = owned.services;
    NoPictures pictures;
    int ownMinimized = 0;
    WindowTweakServices services{windows, desktop, overlays, defaults, alerts, pictures,
                                 [this] { ++ownMinimized; }};
    std::map<std::string, std::shared_ptr<core::Tweak>> tweaks = [this] {
        owned.apps.start();
        core::TweakFactory factory;
        addWindowTweaks(factory, services);
        std::map<std::string, std::shared_ptr<core::Tweak>> made;
        for (const auto& row : core::builtinCatalogue())
            if (const auto* maker = factory.find(row.info.id))
                made[row.info.id] = (*maker)(row);
        return made;
    }();
    bool dragging = false;

    void perform(std::vector<std::string> words) {
        ASSERT_TRUE(desktop.perform(sim::SimDesktopCommand::parse(words).value()));
    }
    void switchTo(const std::string& id, bool on) {
        core::switchAndApply(*tweaks.at(id), on, true);
        queue.drain();
    }
    bool isOn(const std::string& id) { return core::asToggle(*tweaks.at(id))->isOn(); }
    // Starts a drag played in time (accessibility space); run the clock to
    // see it go on.
    void startDrag(std::vector<std::string> words) {
        words.insert(words.begin(), "drag");
        dragging = true;
        sim::playDrag(desktop, queue, sim::SimDesktopCommand::parse(words).value(),
                      [this] { dragging = false; });
    }
    void finishDrag() {
        for (int i = 0; dragging && i < 10000; ++i)
            queue.advance(8ms);
        ASSERT_FALSE(dragging);
    }
    Element windowNamed(const std::string& title) {
        for (Element window : desktop.attributeValues(desktop.application(textEdit), ax::windows))
            if (attributeAs<std::string>(desktop, window, ax::title) == title)
                return window;
        ADD_FAILURE() << "no window " << title;
        return {};
    }
    Rect frameOf(const std::string& title) {
        for (const auto& record : desktop.list(windowListOption::onScreenWindows))
            if (record.name == title)
                return record.frame;
        return {};
    }
    std::size_t journaled(std::string_view cause, std::string_view start) {
        std::size_t count = 0;
        for (const auto& entry : journal.entries())
            count += entry.cause == cause && entry.detail.starts_with(start);
        return count;
    }
    std::vector<std::string> hidden() {
        std::vector<std::string> names;
        for (const auto& app : desktop.list())
            if (app.isHidden)
                names.push_back(app.name);
        return names;
    }
    std::size_t overlaysOf(std::string_view owner) {
        std::size_t count = 0;
        for (const auto& [id, description] : overlays.shown())
            count += description.owner == owner;
        return count;
    }
};

}  // namespace quorvane::windows::testing
