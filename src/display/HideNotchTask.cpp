#include "display/HideNotchTask.hpp"

#include <algorithm>
#include <cmath>

namespace quorvane::display {

HideNotchTask::Crop HideNotchTask::cropFor(platform::Size picture, platform::Size screen) {
    if (picture.width <= 0 || picture.height <= 0)
        return {{0, 0}, {}};
    const double factor = std::max(screen.width / picture.width, screen.height / picture.height);
    const platform::Size scaled{std::floor(picture.width * factor),
                                std::floor(picture.height * factor)};
    const platform::Point origin{std::floor((scaled.width - screen.width) / 2),
                                 std::floor((scaled.height - screen.height) / 2)};
    return {scaled, {{std::max(0.0, origin.x), std::max(0.0, origin.y)}, screen}};
}

std::string HideNotchTask::newImagePath() const {
    return services_.hideNotchStore->location() + "/" + newImageKey;
}

core::RunOutcome HideNotchTask::run() {
    services_.mainQueue.post([this] {
        if (!services_.hideNotchStore) {
            services_.log.warning(id(), "there is no folder to keep the desktop picture in");
            return;
        }
        if (isOn())
            hide();
        else
            restore();
    });
    return core::RunOutcome::done();
}

void HideNotchTask::refresh() {
    if (!services_.hideNotchStore)
        return;
    auto stored = services_.hideNotchStore->load(originalKey);
    const bool kept = stored && stored.value().has_value();
    if (kept != isOn())
        setOn(kept);
}

void HideNotchTask::hide() {
    auto& store = *services_.hideNotchStore;
    const auto screens = services_.displays.screens();
    if (screens.empty())
        return;
    const auto& main = screens.front();
    auto current = services_.desktopPicture.pictureOf(main.id);
    if (!current) {
        services_.log.warning(id(), current.error().message);
        return;
    }
    // Ours already: build from the user's picture, and keep it as the one
    // to put back.
    const bool alreadyOurs = current.value() == newImagePath();
    std::string source = current.value();
    auto stored = store.load(originalKey);
    if (alreadyOurs) {
        if (!stored || !stored.value()) {
            services_.log.warning(id(), "the desktop shows our picture but the original is lost");
            return;
        }
        source = *stored.value();
    }
    auto size = services_.composer.sizeOf(source);
    if (!size) {
        services_.log.warning(id(), size.error().message);
        return;
    }
    const auto crop = cropFor(size.value(), main.frame.size);
    auto picture = services_.composer.compose(source, crop.scaled, crop.rect, band);
    if (!picture) {
        services_.log.warning(id(), picture.error().message);
        return;
    }
    const bool hadOriginal = stored && stored.value().has_value();
    if (!alreadyOurs)
        if (auto kept = store.save(originalKey, source); !kept) {
            services_.log.warning(id(), kept.error().message);
            return;
        }
    if (auto kept = store.save(newImageKey, picture.value()); !kept) {
        services_.log.warning(id(), kept.error().message);
        // Nothing changes: the original goes back to what it was.
        if (!alreadyOurs) {
            if (hadOriginal)
                (void)store.save(originalKey, *stored.value());
            else
                (void)store.remove(originalKey);
        }
        return;
    }
    platform::Status set = platform::success();
    services_.settings.change(id(), "desktop picture " + main.id, [&] {
        set = services_.desktopPicture.setPicture(main.id, newImagePath());
    });
    if (!set)
        services_.log.warning(id(), set.error().message);
}

void HideNotchTask::restore() {
    auto& store = *services_.hideNotchStore;
    auto original = store.load(originalKey);
    if (!original || !original.value())
        return;
    const auto screens = services_.displays.screens();
    if (screens.empty())
        return;
    platform::Status set = platform::success();
    services_.settings.change(id(), "desktop picture " + screens.front().id, [&] {
        set = services_.desktopPicture.setPicture(screens.front().id, *original.value());
    });
    if (!set) {
        services_.log.warning(id(), set.error().message);
        return;
    }
    (void)store.remove(originalKey);
    (void)store.remove(newImageKey);
}

}  // namespace quorvane::display
