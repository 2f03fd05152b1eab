#include "windows/dock/PreviewDockWindowTask.hpp"

#include <algorithm>
#include <chrono>

namespace quorvane::windows {

using namespace platform;

const core::DoubleSetting PreviewDockWindowTask::delay{"PreviewDockWindowTask.Manager.delay2", 0.1,
                                                       0, 2, 0.1};
const core::BoolSetting PreviewDockWindowTask::peak{"PreviewDockWindowTask.Manager.peak", false};
const core::BoolSetting PreviewDockWindowTask::borderPeakWindow{
    "PreviewDockWindowTask.Manager.borderPeakWindow", true};

namespace {

constexpr double padding = 12;
constexpr double titleHeight = 20;

}  // namespace

PreviewDockWindowTask::PreviewDockWindowTask(core::TweakInfo info, core::PKeyPath field,
                                             WindowTweakServices& services)
    : BuiltinTweak(std::move(info)),
      CanPToggle(services.windows.store, field),
      services_(services),
      monitor_(services.monitors, services.windows.journal, services.windows.log, id(),
               eventMask::dockPreview, [this](const InputEvent& event) { handle(event); }) {}

PreviewDockWindowTask::~PreviewDockWindowTask() {
    stop();
}

std::optional<std::string> PreviewDockWindowTask::ownUnavailableReason() const {
    if (!services_.dockReadable)
        return core::notSupportedOnThisDesktop;
    return std::nullopt;
}

core::RunOutcome PreviewDockWindowTask::run() {
    if (!services_.dockReadable)
        return unavailableHere();
    // The thumbnails are pictures of other applications' windows.
    return services_.windows.gate.applyToggle(
        *this, [this] { stop(); }, [this] { monitor_.start(); }, Permission::screenRecording);
}

void PreviewDockWindowTask::stop() {
    monitor_.stop();
    if (hover_)
        hover_->cancel();
    hide();
}

void PreviewDockWindowTask::handle(const InputEvent& event) {
    if (event.type == EventType::leftMouseDown || event.type == EventType::rightMouseUp) {
        if (shown_) {
            if (hover_)
                hover_->cancel();
            hide();
        }
        return;
    }
    if (event.type != EventType::mouseMoved)
        return;
    if (!hover_) {
        const double seconds = delay.clamped(delay.read(services_.defaults));
        hover_ = std::make_unique<core::Debouncer>(
            services_.windows.mainQueue,
            std::chrono::duration_cast<Duration>(std::chrono::duration<double>(seconds)));
    }
    hover_->call([this] { check(); });
}

bool PreviewDockWindowTask::inDockZone(Point point, std::span<const Screen> screens) {
    for (const auto& screen : screens) {
        Rect area = screen.visibleFrame;
        const Rect& frame = screen.frame;
        if (frame.minX() == area.minX() && frame.maxX() == area.maxX() &&
            frame.minY() == area.minY())
            area = {{area.minX() + 100, area.minY() + 100},
                    {std::max(0.0, area.size.width - 200), std::max(0.0, area.size.height - 200)}};
        if (area.contains(point))
            return false;
    }
    return true;
}

PreviewDockWindowTask::PanelLayout PreviewDockWindowTask::layOut(std::size_t count, Size room) {
    if (count == 0)
        return {};
    // The largest thumbnails (never above full size) over every number of
    // columns; the most columns among equals, so fewest rows.
    const bool bounded = room.width > 0 && room.height > 0;
    std::size_t columns = count;
    double scale = 1;
    if (bounded) {
        double best = 0;
        for (std::size_t c = count; c >= 1; --c) {
            const std::size_t r = (count + c - 1) / c;
            const double across =
                (room.width - 2 * padding - double(c - 1) * spacing) / (double(c) * thumbnailWidth);
            const double down =
                (room.height - 2 * padding - double(r - 1) * spacing) / (double(r) * thumbnailHeight);
            const double fits = std::min({1.0, across, down});
            if (fits > best) {
                best = fits;
                columns = c;
            }
        }
        if (best > 0)
            scale = best;
    }
    const std::size_t rows = (count + columns - 1) / columns;
    const Size thumbnail{thumbnailWidth * scale, thumbnailHeight * scale};
    PanelLayout layout{
        .size = {double(columns) * thumbnail.width + double(columns - 1) * spacing + 2 * padding,
                 double(rows) * thumbnail.height + double(rows - 1) * spacing + 2 * padding}};
    for (std::size_t i = 0; i < count; ++i)
        layout.thumbnails.push_back(
            {{padding + double(i % columns) * (thumbnail.width + spacing),
              padding + double(i / columns) * (thumbnail.height + spacing)},
             thumbnail});
    return layout;
}

void PreviewDockWindowTask::check() {
    const Point mouse = services_.monitors.mouseLocation();
    if (shown_ && shown_->frame.contains(mouse))
        return;
    const auto screens = services_.windows.screens.screens();
    if (!inDockZone(mouse, screens)) {
        hide();
        return;
    }
    if (auto item = itemAt(mouse))
        show(*item);
    else
        hide();
}

std::optional<PreviewDockWindowTask::DockItem> PreviewDockWindowTask::itemAt(Point point) {
    auto& accessibility = services_.windows.accessibility;
    const auto element = accessibility.elementAt(flipped(point, services_.windows.screens.screens()));
    if (!element)
        return std::nullopt;
    const auto position = platform::position(accessibility, *element);
    const auto size = platform::size(accessibility, *element);
    const auto title = attributeAs<std::string>(accessibility, *element, ax::title);
    const auto url = attributeAs<Url>(accessibility, *element, ax::url);
    if (!position || !size || !title || !url)
        return std::nullopt;
    return DockItem{{*position, *size}, *title, url->address};
}

void PreviewDockWindowTask::show(const DockItem& item) {
    if (shown_ && shown_->item == item)
        return;
    auto& windows = services_.windows;
    const auto owner = applicationAt(windows.applications, item.url);
    if (!owner) {
        hide();
        return;
    }
    Shown next{.item = item, .pid = owner->pid};
    // Every window of the application, minimized ones too.
    for (auto& record : windows.windowList.list(0))
        if (record.ownerPID == owner->pid && record.layer == windowLayer::normal) {
            if (auto picture = windows.windowList.image(record.number))
                record.image = std::make_shared<const Image>(std::move(*picture));
            next.entries.push_back({.record = std::move(record)});
        }
    if (next.entries.empty()) {
        hide();
        return;
    }
    // Above the icon, centred on it, inside the visible frame of its
    // screen, in as many rows as that takes.
    const auto screens = windows.screens.screens();
    const Rect icon = flipped(item.frame, screens);
    const Point centre{icon.minX() + icon.size.width / 2, icon.minY() + icon.size.height / 2};
    const auto* screen = screenAt(centre, screens);
    const Rect visible = screen ? screen->visibleFrame : Rect{};
    const auto layout = layOut(next.entries.size(), visible.size);
    for (std::size_t i = 0; i < next.entries.size(); ++i)
        next.entries[i].thumbnail = layout.thumbnails[i];
    const Size size = layout.size;
    double x = centre.x - size.width / 2;
    x = std::max(visible.minX(), std::min(x, visible.maxX() - size.width));
    double y = std::max(visible.minY(), icon.maxY() + 8);
    y = std::min(y, visible.maxY() - size.height);
    next.frame = {{x, y}, size};
    hide();
    shown_ = std::move(next);
    shown_->id = services_.overlays.show(panelDescription());
    services_.overlays.onPointer(shown_->id,
                                 [this](Overlays::Pointer what, Point at) { pointed(what, at); });
}

OverlayDescription PreviewDockWindowTask::panelDescription() const {
    OverlayDescription description{.owner = id(),
                     .frame = shown_->frame,
                     .level = overlayLevel::effects,
                     .passesInput = false,
                     .content = OverlayDescription::Content::thumbnails};
    for (std::size_t i = 0; i < shown_->entries.size(); ++i) {
        const auto& entry = shown_->entries[i];
        description.thumbnails.push_back({.frame = entry.thumbnail,
                                   .title = entry.record.name,
                                   .image = entry.record.image,
                                   .highlighted = int(i) == shown_->highlighted});
    }
    return description;
}

void PreviewDockWindowTask::hide() {
    if (peak_)
        services_.overlays.close(*std::exchange(peak_, std::nullopt));
    if (shown_) {
        const auto overlay = shown_->id;
        shown_.reset();
        services_.overlays.close(overlay);
    }
}

void PreviewDockWindowTask::highlight(int index) {
    if (!shown_ || shown_->highlighted == index)
        return;
    shown_->highlighted = index;
    services_.overlays.update(shown_->id, panelDescription());
    if (peak_)
        services_.overlays.close(*std::exchange(peak_, std::nullopt));
    if (index < 0 || !peak.read(services_.defaults))
        return;
    // The window's picture where the window is, to see it whole.
    const auto& record = shown_->entries[std::size_t(index)].record;
    const bool ringed = borderPeakWindow.read(services_.defaults);
    peak_ = services_.overlays.show(
        {.owner = id(),
         .frame = flipped(record.frame, services_.windows.screens.screens()),
         .level = overlayLevel::effects,
         .passesInput = true,
         .background = ringed ? accentColour : Rgba{},
         .content = OverlayDescription::Content::picture,
         .cornerRadius = ringed ? 1.0 : 0.0,
         .image = record.image});
}

std::optional<Element> PreviewDockWindowTask::windowOf(const CGWindow& record) {
    auto& accessibility = services_.windows.accessibility;
    for (Element window :
         accessibility.attributeValues(accessibility.application(shown_->pid), ax::windows)) {
        const auto position = platform::position(accessibility, window);
        const auto size = platform::size(accessibility, window);
        if (position && size && Rect{*position, *size} == record.frame &&
            attributeAs<std::string>(accessibility, window, ax::title) == record.name)
            return window;
    }
    return std::nullopt;
}

void PreviewDockWindowTask::pointed(Overlays::Pointer what, Point at) {
    if (!shown_)
        return;
    int index = -1;
    for (std::size_t i = 0; i < shown_->entries.size(); ++i)
        if (shown_->entries[i].thumbnail.contains(at))
            index = int(i);
    if (what == Overlays::Pointer::moved) {
        highlight(index);
        return;
    }
    if (index < 0)
        return;
    auto& windows = services_.windows;
    const auto entry = shown_->entries[std::size_t(index)];
    const Point inside{at.x - entry.thumbnail.minX(), at.y - entry.thumbnail.minY()};
    const auto window = windowOf(entry.record);
    const int pid = shown_->pid;
    hide();
    if (!window)
        return;
    if (thumbnailCloseButton.contains(inside)) {
        if (auto button = attributeAs<Element>(windows.accessibility, *window, ax::closeButton))
            windows.actions.press(id(), *button);
        return;
    }
    if (thumbnailMinimizeButton.contains(inside)) {
        windows.actions.minimize(id(), *window);
        return;
    }
    for (const auto& application : windows.applications.list())
        if (application.pid == pid)
            windows.actions.activate(id(), application);
    windows.actions.raise(id(), *window);
}

core::ConfigureForm PreviewDockWindowTask::configureView() const {
    return {{{.controls = {core::FormControl::stepper("Delay", delay),
                           core::FormControl::toggle("Show full window preview", peak),
                           core::FormControl::toggle("Full preview indicator", borderPeakWindow)},
              .footer = "The delay is in seconds: how long the pointer rests on an icon before "
                        "its windows show."}}};
}

}  // namespace quorvane::windows
