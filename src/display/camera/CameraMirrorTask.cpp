#include "display/camera/CameraMirrorTask.hpp"

#include <algorithm>
#include <chrono>

namespace quorvane::display {

using platform::CameraAuthorization;
using platform::Overlays;

namespace {

using namespace std::chrono_literals;

}  // namespace

CameraMirrorTask::CameraMirrorTask(core::TweakInfo info, bool core::MState::*field,
                                   DisplayServices& services)
    : BuiltinTweak(std::move(info)),
      CanMToggle(services.store, field),
      services_(services),
      applyLater_(services.mainQueue, 200ms),
      followUps_(services.mainQueue, 500ms, [this](const bool&) { followUp(); }) {}

CameraMirrorTask::~CameraMirrorTask() {
    *alive_ = false;
    // Quitting turns the camera, and its light, off.
    if (session_)
        session_->stop();
    if (overlay_)
        services_.overlays.close(*overlay_);
}

std::optional<std::string> CameraMirrorTask::ownUnavailableReason() const {
    if (!services_.cameras)
        return std::string(core::notSupportedOnThisDesktop);
    return std::nullopt;
}

core::RunOutcome CameraMirrorTask::run() {
    if (unavailableReason())
        return unavailableHere();
    if (!isOn()) {
        closeMirror();
        return core::RunOutcome::done();
    }
    switch (services_.cameras->authorization()) {
        case CameraAuthorization::restricted:
        case CameraAuthorization::denied:
            services_.alerts.show({.style = platform::Alert::Style::warning,
                                   .message = name(),
                                   .informativeText = permissionNeeded});
            // Not shown, so not on.
            setOn(false);
            closeMirror();
            return core::RunOutcome::refused(permissionNeeded, /*alertShown=*/true);
        case CameraAuthorization::notDetermined:
            askThenShow();
            return core::RunOutcome::done();
        case CameraAuthorization::authorized:
            showMirror();
            return core::RunOutcome::done();
    }
    return core::RunOutcome::done();
}

void CameraMirrorTask::askThenShow() {
    services_.cameras->requestAccess([this, alive = std::weak_ptr<bool>(alive_),
                                      &queue = services_.mainQueue](bool granted) {
        queue.post([this, alive, granted] {
            if (!alive.lock())
                return;
            if (!granted) {
                setOn(false);
                closeMirror();
            } else if (isOn()) {
                showMirror();
            }
        });
    });
}

void CameraMirrorTask::showMirror() {
    if (!session_ || !session_->device())
        setUpSession();
    if (!placed_) {
        const auto screens = services_.displays.screens();
        if (!screens.empty()) {
            const auto& visible = screens.front().visibleFrame.size.width > 0 ? screens.front().visibleFrame
                                                                               : screens.front().frame;
            origin_ = {visible.maxX() - screenInset - configuration_.side(), visible.minY() + screenInset};
        }
        placed_ = true;
    }
    if (!overlay_) {
        overlay_ = services_.overlays.show(overlayDescription());
        services_.overlays.onPointer(*overlay_, [this](Overlays::Pointer what, platform::Point at) {
            pointed(what, at);
        });
    }
    followUps_.send(true);
}

void CameraMirrorTask::closeMirror() {
    if (!overlay_ && !(session_ && session_->isRunning()))
        return;
    if (auto shown = std::exchange(overlay_, std::nullopt))
        services_.overlays.close(*shown);
    dragFrom_.reset();
    picture_.hovered = false;
    if (session_)
        session_->stop();
    followUps_.send(false);
}

void CameraMirrorTask::followUp() {
    if (!session_)
        return;
    if (overlay_) {
        session_->start();
        supportsMirroring_ = session_->supportsMirroring();
        supportsOrientation_ = session_->supportsOrientation();
        refresh();
    } else {
        session_->stop();
    }
}

void CameraMirrorTask::setUpSession() {
    auto& cameras = *services_.cameras;
    if (!session_) {
        auto alive = std::weak_ptr<bool>(alive_);
        auto& queue = services_.mainQueue;
        session_ = cameras.makeSession(
            [this, alive, slot = frames_, &queue](platform::VideoFrame frame) {
                {
                    std::lock_guard lock(slot->mutex);
                    slot->latest = std::move(frame);
                    if (slot->posted)
                        return;
                    slot->posted = true;
                }
                queue.post([this, alive, slot] {
                    platform::VideoFrame newest;
                    {
                        std::lock_guard lock(slot->mutex);
                        newest = std::move(slot->latest);
                        slot->posted = false;
                    }
                    if (alive.lock())
                        present(std::move(newest));
                });
            },
            [this, alive, &queue](std::string reason) {
                queue.post([this, alive, reason = std::move(reason)] {
                    if (alive.lock())
                        problem(reason);
                });
            });
        if (!session_) {
            problem("Cameras cannot be used on this computer");
            return;
        }
        session_->setPreset(configuration_.preset);
    }
    const auto device = configuration_.device ? configuration_.device : cameras.defaultDevice();
    if (!device) {
        problem("No camera is connected");
        return;
    }
    if (auto set = session_->setDevice(device->id); !set) {
        problem(set.error().message);
        return;
    }
    // A preset the new camera refused stays as the session has it.
    configuration_.preset = edited_.preset = session_->preset();
    picture_.message.clear();
    picture_.reason.clear();
}

void CameraMirrorTask::present(platform::VideoFrame frame) {
    if (!overlay_ || !session_ || !session_->isRunning() || frame.isEmpty())
        return;
    picture_.frame = std::move(frame);
    picture_.message.clear();
    picture_.reason.clear();
    services_.overlays.update(*overlay_, overlayDescription());
}

void CameraMirrorTask::problem(std::string reason) {
    services_.log.warning(id(), reason);
    picture_.frame = {};
    picture_.message = noCamera;
    picture_.reason = std::move(reason);
    refresh();
}

platform::OverlayDescription CameraMirrorTask::overlayDescription() const {
    const double side = configuration_.side();
    auto picture = picture_;
    picture.shape = configuration_.shape;
    picture.fills = configuration_.gravity == MirrorConfiguration::Gravity::fill;
    picture.mirrored = configuration_.mirrored && supportsMirroring_;
    picture.quarterTurns = supportsOrientation_ ? quarterTurns(configuration_.orientation) : 0;
    picture.bordered = configuration_.showsBorder;
    return {.owner = id(),
            .frame = {origin_, {side, side}},
            .level = platform::overlayLevel::effects,
            .passesInput = false,
            .content = platform::OverlayDescription::Content::cameraMirror,
            .mirror = std::move(picture)};
}

void CameraMirrorTask::refresh() {
    if (overlay_)
        services_.overlays.update(*overlay_, overlayDescription());
}

void CameraMirrorTask::pointed(Overlays::Pointer what, platform::Point at) {
    if (!overlay_)
        return;
    const double side = configuration_.side();
    switch (what) {
        case Overlays::Pointer::moved:
            if (!picture_.hovered) {
                picture_.hovered = true;
                refresh();
            }
            return;
        case Overlays::Pointer::exited:
            if (picture_.hovered && !dragFrom_) {
                picture_.hovered = false;
                refresh();
            }
            return;
        case Overlays::Pointer::pressed:
            if (picture_.hovered && platform::mirrorCloseButton(side).contains(at)) {
                setOn(false);
                closeMirror();
                return;
            }
            if (picture_.hovered && platform::mirrorFlipButton(side).contains(at)) {
                edited_.mirrored = configuration_.mirrored = !configuration_.mirrored;
                refresh();
                return;
            }
            dragFrom_ = at;
            return;
        case Overlays::Pointer::dragged:
            if (!dragFrom_)
                return;
            // The point taken stays under the pointer; Cocoa's y goes up.
            origin_.x += at.x - dragFrom_->x;
            origin_.y -= at.y - dragFrom_->y;
            refresh();
            return;
        case Overlays::Pointer::released:
            dragFrom_.reset();
            return;
    }
}

void CameraMirrorTask::edit(const std::function<void(MirrorConfiguration&)>& change) {
    change(edited_);
    edited_.size = std::clamp(edited_.size, MirrorConfiguration::minimumSize, MirrorConfiguration::maximumSize);
    applyLater_.call([this] { apply(edited_); });
}

void CameraMirrorTask::apply(MirrorConfiguration next) {
    const auto previous = configuration_;
    configuration_ = next;
    if (session_) {
        if (next.device != previous.device) {
            // The input is replaced only by one that can be added.
            const auto device = next.device ? next.device : services_.cameras->defaultDevice();
            if (!device || !session_->setDevice(device->id)) {
                configuration_.device = edited_.device = previous.device;
            } else {
                picture_.message.clear();
                picture_.reason.clear();
            }
        }
        if (configuration_.preset != previous.preset && !session_->setPreset(configuration_.preset))
            configuration_.preset = edited_.preset = previous.preset;
    }
    if (next.size != previous.size) {
        // Grows and shrinks about its top-left corner, and stays on its screen.
        origin_.y += previous.side() - configuration_.side();
        keepOnScreen(previous.side());
    }
    refresh();
}

void CameraMirrorTask::keepOnScreen(double previousSide) {
    const auto screens = services_.displays.screens();
    if (screens.empty())
        return;
    // The screen that held its middle before, else the main one.
    const double side = configuration_.side();
    const platform::Point middle{origin_.x + previousSide / 2, origin_.y + side - previousSide / 2};
    auto chosen = screens.front();
    for (const auto& screen : screens)
        if (screen.frame.contains(middle))
            chosen = screen;
    const auto& area = chosen.visibleFrame.size.width > 0 ? chosen.visibleFrame : chosen.frame;
    origin_.x = std::max(area.minX(), std::min(origin_.x, area.maxX() - side));
    origin_.y = std::max(area.minY(), std::min(origin_.y, area.maxY() - side));
}

void CameraMirrorTask::scanDevices() {
    if (!services_.cameras)
        return;
    devices_ = services_.cameras->devices();
    devicesChanged_.emit();
}

}  // namespace quorvane::display
