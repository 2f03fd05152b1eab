#include "app/TextWiring.hpp"

#include <cstdlib>

#include "app/InstallLayout.hpp"
#include "text/PublicIpTask.hpp"
#include "text/TextTweaks.hpp"

namespace quorvane::app {

namespace {

std::string publicIpService() {
    const char* chosen = std::getenv("QUORVANE_PUBLIC_IP_URL");
    return chosen != nullptr && *chosen != '\0' ? chosen : text::PublicIpTask::defaultService;
}

}  // namespace

TextWiring::TextWiring(SharedServices& shared)
    : http_(shared.log,
            QString::fromStdString(helperFile(shared.program, "libquorvane_network.so").string())),
      plainText_(shared.pasteboard, richText_, conversions_, shared.mainQueue, shared.journal),
      clipboard_(shared.pasteboard, plainText_, shared.mainQueue),
      services_{.store = shared.store,
                .pasteboard = shared.pasteboard,
                .richText = richText_,
                .conversions = conversions_,
                .journal = shared.journal,
                .log = shared.log,
                .mainQueue = shared.mainQueue,
                .plainText = plainText_,
                .clipboard = clipboard_,
                .defaults = shared.userDefaults,
                .alerts = shared.alerts,
                .http = http_,
                .network = network_,
                .publicIpService = publicIpService()} {}

void TextWiring::addTweaks(core::TweakFactory& factory) {
    text::addTextTweaks(factory, services_);
}

void TextWiring::addWorkers(BackgroundDrain& drain) {
    drain.add(conversions_);
    drain.add(network_);
}

void TextWiring::stop() {
    clipboard_.stop();
    http_.abortAll();
    network_.waitUntilIdle();
    conversions_.waitUntilIdle();
}

}  // namespace quorvane::app
