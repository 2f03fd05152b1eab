#include "adapters/x11/RandrDisplays.hpp"

#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace quorvane::platform::x11 {

namespace {

template <class Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <class Reply>
Owned<Reply> owned(Reply* reply) {
    return Owned<Reply>(reply, &std::free);
}

constexpr const char* cause = "RandR";

}  // namespace

struct RandrDisplays::Impl {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
    std::uint8_t firstEvent = 0;
    ~Impl() {
        if (connection)
            xcb_disconnect(connection);
    }
};

// Changes gathered until complete().
class RandrConfiguration final : public DisplayConfiguration {
  public:
    explicit RandrConfiguration(RandrDisplays& displays) : displays_(displays) {}
    void setOrigin(const std::string& display, int x, int y) override {
        changes_.push_back({.output = parse(display), .origin = Point{double(x), double(y)}});
    }
    void setMirror(const std::string& display, const std::optional<std::string>& master) override {
        RandrChange change{.output = parse(display), .mirrorChanged = true};
        if (master)
            change.master = parse(*master);
        changes_.push_back(change);
    }
    Status complete(bool permanently) override {
        if (done_)
            return Error{"the configuration was already completed or cancelled"};
        auto applied = displays_.apply(changes_, permanently);
        if (applied)
            done_ = true;
        return applied;
    }
    void cancel() override { done_ = true; }

  private:
    static std::uint32_t parse(const std::string& id) {
        return static_cast<std::uint32_t>(std::strtoul(id.c_str(), nullptr, 10));
    }
    RandrDisplays& displays_;
    std::vector<RandrChange> changes_;
    bool done_ = false;
};

std::unique_ptr<RandrDisplays> RandrDisplays::connect(
    Journal& journal, Log& log, std::function<std::optional<Rect>(const std::string&)> workArea) {
    auto impl = std::make_unique<Impl>();
    int screenNumber = 0;
    impl->connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(impl->connection))
        return nullptr;
    const auto* extension = xcb_get_extension_data(impl->connection, &xcb_randr_id);
    if (!extension || !extension->present)
        return nullptr;
    impl->firstEvent = extension->first_event;
    auto version = owned(xcb_randr_query_version_reply(
        impl->connection, xcb_randr_query_version(impl->connection, 1, 3), nullptr));
    if (!version || (version->major_version == 1 && version->minor_version < 3))
        return nullptr;
    auto iterator = xcb_setup_roots_iterator(xcb_get_setup(impl->connection));
    for (int i = 0; i < screenNumber && iterator.rem; ++i)
        xcb_screen_next(&iterator);
    if (!iterator.rem)
        return nullptr;
    impl->root = iterator.data->root;
    xcb_randr_select_input(impl->connection, impl->root,
                           XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE |
                               XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE);
    xcb_flush(impl->connection);
    return std::unique_ptr<RandrDisplays>(
        new RandrDisplays(journal, log, std::move(workArea), std::move(impl)));
}

RandrDisplays::RandrDisplays(Journal& journal, Log& log,
                             std::function<std::optional<Rect>(const std::string&)> workArea,
                             std::unique_ptr<Impl> impl)
    : journal_(journal), log_(log), workArea_(std::move(workArea)), impl_(std::move(impl)) {
    notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(impl_->connection),
                                                  QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { readEvents(); });
}

RandrDisplays::~RandrDisplays() {
    restoreColorSettings();
}

void RandrDisplays::readEvents() {
    bool changed = false;
    while (auto* event = xcb_poll_for_event(impl_->connection)) {
        const auto type = event->response_type & 0x7F;
        if (type == impl_->firstEvent + XCB_RANDR_SCREEN_CHANGE_NOTIFY ||
            type == impl_->firstEvent + XCB_RANDR_NOTIFY)
            changed = true;
        std::free(event);
    }
    if (!changed)
        return;
    cached_.reset();
    const auto observers = observers_;  // an observer may remove observers
    for (const auto& [token, observer] : observers)
        if (observers_.contains(token))
            observer();
}

const RandrSnapshot& RandrDisplays::snapshot() const {
    if (!cached_)
        cached_ = read();
    return *cached_;
}

RandrSnapshot RandrDisplays::read() const {
    auto* c = impl_->connection;
    RandrSnapshot snapshot;
    auto resources = owned(xcb_randr_get_screen_resources_current_reply(
        c, xcb_randr_get_screen_resources_current(c, impl_->root), nullptr));
    if (!resources)
        return snapshot;
    auto geometry = owned(xcb_get_geometry_reply(c, xcb_get_geometry(c, impl_->root), nullptr));
    if (geometry) {
        snapshot.screenWidth = geometry->width;
        snapshot.screenHeight = geometry->height;
    }
    if (auto primary = owned(xcb_randr_get_output_primary_reply(
            c, xcb_randr_get_output_primary(c, impl_->root), nullptr)))
        snapshot.primary = primary->output;
    const auto* modes = xcb_randr_get_screen_resources_current_modes(resources.get());
    for (int i = 0; i < xcb_randr_get_screen_resources_current_modes_length(resources.get()); ++i)
        snapshot.modes.push_back({modes[i].id, modes[i].width, modes[i].height});
    const auto* crtcs = xcb_randr_get_screen_resources_current_crtcs(resources.get());
    const int crtcCount = xcb_randr_get_screen_resources_current_crtcs_length(resources.get());
    std::vector<xcb_randr_get_crtc_info_cookie_t> crtcCookies;
    for (int i = 0; i < crtcCount; ++i)
        crtcCookies.push_back(xcb_randr_get_crtc_info(c, crtcs[i], resources->config_timestamp));
    for (int i = 0; i < crtcCount; ++i) {
        auto info = owned(xcb_randr_get_crtc_info_reply(c, crtcCookies[std::size_t(i)], nullptr));
        if (!info)
            continue;
        RandrCrtc crtc{crtcs[i], info->x, info->y, info->width, info->height, info->mode,
                       info->rotation, {}};
        const auto* outputs = xcb_randr_get_crtc_info_outputs(info.get());
        crtc.outputs.assign(outputs, outputs + xcb_randr_get_crtc_info_outputs_length(info.get()));
        snapshot.crtcs.push_back(std::move(crtc));
    }
    const auto* outputs = xcb_randr_get_screen_resources_current_outputs(resources.get());
    const int outputCount = xcb_randr_get_screen_resources_current_outputs_length(resources.get());
    auto edidAtom = owned(xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, 4, "EDID"), nullptr));
    for (int i = 0; i < outputCount; ++i) {
        auto info = owned(xcb_randr_get_output_info_reply(
            c, xcb_randr_get_output_info(c, outputs[i], resources->config_timestamp), nullptr));
        if (!info)
            continue;
        RandrOutput output;
        output.id = outputs[i];
        const auto* name = xcb_randr_get_output_info_name(info.get());
        output.name.assign(reinterpret_cast<const char*>(name),
                           std::size_t(xcb_randr_get_output_info_name_length(info.get())));
        output.crtc = info->crtc;
        output.connected = info->connection == XCB_RANDR_CONNECTION_CONNECTED;
        const auto* outputModes = xcb_randr_get_output_info_modes(info.get());
        const int modeCount = xcb_randr_get_output_info_modes_length(info.get());
        // The preferred modes come first in the list already.
        output.modes.assign(outputModes, outputModes + modeCount);
        if (edidAtom && edidAtom->atom != XCB_NONE) {
            auto edid = owned(xcb_randr_get_output_property_reply(
                c,
                xcb_randr_get_output_property(c, outputs[i], edidAtom->atom, XCB_ATOM_ANY, 0, 64,
                                              0, 0),
                nullptr));
            if (edid && edid->format == 8) {
                const auto* bytes = xcb_randr_get_output_property_data(edid.get());
                std::vector<std::uint8_t> block(
                    bytes, bytes + xcb_randr_get_output_property_data_length(edid.get()));
                output.monitorName = edidMonitorName(block);
            }
        }
        snapshot.outputs.push_back(std::move(output));
    }
    return snapshot;
}

std::vector<Screen> RandrDisplays::screens() const {
    const auto& now = snapshot();
    const auto shown = now.shown();
    if (shown.empty())
        return {};
    const auto* main = now.crtc(shown.front()->crtc);
    const double mainHeight = main->height;
    std::vector<Screen> list;
    for (const auto* output : shown) {
        const auto* crtc = now.crtc(output->crtc);
        const Rect root{{double(crtc->x), double(crtc->y)}, {double(crtc->width), double(crtc->height)}};
        Rect visible = root;
        if (workArea_)
            if (auto area = workArea_(output->name))
                visible = *area;
        // Relative to the main display's top-left, then one flip.
        auto cocoa = [&](const Rect& rect) {
            return Rect{{rect.origin.x - main->x,
                         mainHeight - (rect.origin.y - main->y) - rect.size.height},
                        rect.size};
        };
        list.push_back({std::to_string(output->id),
                        output->monitorName.empty() ? output->name : output->monitorName,
                        cocoa(root), cocoa(visible)});
    }
    return list;
}

std::vector<DisplayInfo> RandrDisplays::displays() const {
    const auto& now = snapshot();
    std::vector<DisplayInfo> list;
    bool first = true;
    for (const auto* output : now.shown()) {
        DisplayInfo info{.id = std::to_string(output->id), .isMain = first};
        if (auto master = mirroredBy(now, output->id))
            info.mirrorOf = std::to_string(*master);
        list.push_back(info);
        first = false;
    }
    return list;
}

Result<std::unique_ptr<DisplayConfiguration>> RandrDisplays::begin() {
    return std::unique_ptr<DisplayConfiguration>(std::make_unique<RandrConfiguration>(*this));
}

Status RandrDisplays::apply(const std::vector<RandrChange>& changes, bool permanently) {
    auto* c = impl_->connection;
    auto resources = owned(xcb_randr_get_screen_resources_current_reply(
        c, xcb_randr_get_screen_resources_current(c, impl_->root), nullptr));
    if (!resources)
        return Error{"RandR did not answer"};
    cached_.reset();
    const auto now = snapshot();
    auto planned = planRandr(now, changes, beforeMirroring_);
    if (!planned) {
        journal_.record(cause, "display configuration", "refused: " + planned.error().message);
        return planned.error();
    }
    auto range = owned(xcb_randr_get_screen_size_range_reply(
        c, xcb_randr_get_screen_size_range(c, impl_->root), nullptr));
    const auto& plan = planned.value();
    if (range && (plan.screenWidth > range->max_width || plan.screenHeight > range->max_height ||
                  plan.screenWidth < range->min_width || plan.screenHeight < range->min_height))
        return Error{"the arrangement needs a screen of " + std::to_string(plan.screenWidth) +
                     " × " + std::to_string(plan.screenHeight) + ", which this X server refuses"};
    // Remember where the mirroring CRTC was, to put it back later.
    for (const auto& change : changes)
        if (change.mirrorChanged && change.master)
            if (const auto* output = now.output(change.output))
                if (const auto* crtc = now.crtc(output->crtc))
                    beforeMirroring_ = RandrSaved{crtc->id, crtc->x, crtc->y, crtc->mode};
    auto* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    auto millimetres = [&](std::uint16_t pixels, bool width) {
        const double perPixel = width ? double(screen->width_in_millimeters) / screen->width_in_pixels
                                      : double(screen->height_in_millimeters) / screen->height_in_pixels;
        return static_cast<std::uint32_t>(pixels * perPixel);
    };
    // Large enough for the old layout and the new while CRTCs move, then
    // the new bounding box.
    const auto wideWidth = std::max(plan.screenWidth, now.screenWidth);
    const auto wideHeight = std::max(plan.screenHeight, now.screenHeight);
    xcb_grab_server(c);
    xcb_randr_set_screen_size(c, impl_->root, wideWidth, wideHeight, millimetres(wideWidth, true),
                              millimetres(wideHeight, false));
    bool failed = false;
    std::string detail;
    for (const auto& request : plan.crtcs) {
        auto reply = owned(xcb_randr_set_crtc_config_reply(
            c,
            xcb_randr_set_crtc_config(c, request.crtc, XCB_CURRENT_TIME, resources->config_timestamp,
                                      static_cast<std::int16_t>(request.x),
                                      static_cast<std::int16_t>(request.y), request.mode,
                                      request.rotation, std::uint32_t(request.outputs.size()),
                                      request.outputs.data()),
            nullptr));
        failed = failed || !reply || reply->status != XCB_RANDR_SET_CONFIG_SUCCESS;
        detail += (detail.empty() ? "" : "; ") + std::string("CRTC ") +
                  std::to_string(request.crtc) + " at " + std::to_string(request.x) + " " +
                  std::to_string(request.y);
    }
    xcb_randr_set_screen_size(c, impl_->root, plan.screenWidth, plan.screenHeight,
                              millimetres(plan.screenWidth, true),
                              millimetres(plan.screenHeight, false));
    xcb_ungrab_server(c);
    xcb_flush(c);
    cached_.reset();
    journal_.record(cause, "display configuration",
                    detail + (permanently ? " (for this session: X11 keeps no layout)" : ""));
    if (failed) {
        // Put back what was there.
        log_.warning(cause, "a CRTC refused its configuration; restoring the previous layout");
        for (const auto& crtc : now.crtcs)
            xcb_randr_set_crtc_config(c, crtc.id, XCB_CURRENT_TIME, resources->config_timestamp,
                                      static_cast<std::int16_t>(crtc.x),
                                      static_cast<std::int16_t>(crtc.y), crtc.mode, crtc.rotation,
                                      std::uint32_t(crtc.outputs.size()), crtc.outputs.data());
        xcb_flush(c);
        cached_.reset();
        return Error{"RandR refused the new layout"};
    }
    for (const auto& change : changes)
        if (change.mirrorChanged && !change.master)
            beforeMirroring_.reset();
    return success();
}

std::optional<std::uint32_t> RandrDisplays::crtcOf(const std::string& display) const {
    const auto& now = snapshot();
    for (const auto* output : now.shown())
        if (std::to_string(output->id) == display)
            return output->crtc;
    return std::nullopt;
}

Result<std::vector<std::uint16_t>> RandrDisplays::readRamp(std::uint32_t crtc, int channel) const {
    auto* c = impl_->connection;
    auto gamma = owned(xcb_randr_get_crtc_gamma_reply(c, xcb_randr_get_crtc_gamma(c, crtc), nullptr));
    if (!gamma || gamma->size == 0)
        return Error{"CRTC " + std::to_string(crtc) + " has no gamma ramp"};
    const std::uint16_t* values = channel == 0   ? xcb_randr_get_crtc_gamma_red(gamma.get())
                                  : channel == 1 ? xcb_randr_get_crtc_gamma_green(gamma.get())
                                                 : xcb_randr_get_crtc_gamma_blue(gamma.get());
    return std::vector<std::uint16_t>(values, values + gamma->size);
}

Result<TransferTable> RandrDisplays::transferTable(const std::string& display) {
    auto crtc = crtcOf(display);
    if (!crtc)
        return Error{"no display " + display};
    TransferTable table;
    for (int channel = 0; channel < 3; ++channel) {
        auto ramp = readRamp(*crtc, channel);
        if (!ramp)
            return ramp.error();
        (channel == 0 ? table.red : channel == 1 ? table.green : table.blue) = tableOf(ramp.value());
    }
    // A ramp that is zero throughout was never set (a virtual server starts
    // so): the screen shows its pixels as they are, which is a plain ramp.
    if (table == TransferTable{})
        return TransferTable::identity();
    return table;
}

Status RandrDisplays::setTransferTable(const std::string& display, const TransferTable& table) {
    auto crtc = crtcOf(display);
    if (!crtc)
        return Error{"no display " + display};
    if (!originalRamps_.contains(*crtc)) {
        std::array<std::vector<std::uint16_t>, 3> original;
        for (int channel = 0; channel < 3; ++channel) {
            auto ramp = readRamp(*crtc, channel);
            if (!ramp)
                return ramp.error();
            original[std::size_t(channel)] = std::move(ramp.value());
        }
        originalRamps_[*crtc] = std::move(original);
    }
    return writeRamps(display, *crtc, table);
}

Status RandrDisplays::restoreTransferTable(const std::string& display, const TransferTable& table) {
    auto crtc = crtcOf(display);
    if (!crtc)
        return Error{"no display " + display};
    auto written = writeRamps(display, *crtc, table);
    if (written)
        originalRamps_.erase(*crtc);
    return written;
}

Status RandrDisplays::writeRamps(const std::string& display, std::uint32_t crtc,
                                 const TransferTable& table) {
    auto* c = impl_->connection;
    auto size = owned(xcb_randr_get_crtc_gamma_size_reply(c, xcb_randr_get_crtc_gamma_size(c, crtc),
                                                          nullptr));
    if (!size || size->size == 0)
        return Error{"display " + display + " has no gamma ramp"};
    const auto red = rampOf(table.red, size->size);
    const auto green = rampOf(table.green, size->size);
    const auto blue = rampOf(table.blue, size->size);
    auto checked = xcb_randr_set_crtc_gamma_checked(c, crtc, size->size, red.data(), green.data(),
                                                     blue.data());
    if (auto* error = xcb_request_check(c, checked)) {
        std::free(error);
        return Error{"the X server refused display " + display + "'s gamma ramp"};
    }
    journal_.record(cause, "transfer table",
                    "display " + display + ": white comes out as " +
                        std::to_string(red.back()) + ", " + std::to_string(green.back()) + ", " +
                        std::to_string(blue.back()) + " of 65535");
    return success();
}

void RandrDisplays::restoreColorSettings() {
    if (originalRamps_.empty())
        return;
    auto* c = impl_->connection;
    for (const auto& [crtc, ramps] : originalRamps_)
        xcb_randr_set_crtc_gamma(c, crtc, std::uint16_t(ramps[0].size()), ramps[0].data(),
                                 ramps[1].data(), ramps[2].data());
    xcb_flush(c);
    journal_.record(cause, "colour settings",
                    "restored the gamma ramps of " + std::to_string(originalRamps_.size()) +
                        " CRTC(s)");
    originalRamps_.clear();
}

Displays::Token RandrDisplays::observeChanges(std::function<void()> observer) {
    const Token token = nextObserver_++;
    observers_.emplace(token, std::move(observer));
    return token;
}

void RandrDisplays::removeObserver(Token token) {
    observers_.erase(token);
}

}  // namespace quorvane::platform::x11
