#include "app/TextWiring.hpp"

#include "text/TextTweaks.hpp"

namespace quorvane::app {

TextWiring::TextWiring(SharedServices& shared)
    : plainText_(shared.pasteboard, richText_, conversions_, shared.mainQueue, shared.journal),
      clipboard_(shared.pasteboard, plainText_, shared.mainQueue),
      services_{.store = shared.store,
                .pasteboard = shared.pasteboard,
                .richText = richText_,
                .conversions = conversions_,
                .journal = shared.journal,
                .log = shared.log,
                .mainQueue = shared.mainQueue,
                .plainText = plainText_,
                .clipboard = clipboard_} {}

void TextWiring::addTweaks(core::TweakFactory& factory) {
    text::addTextTweaks(factory, services_);
}

void TextWiring::addWorkers(BackgroundDrain& drain) {
    drain.add(conversions_);
}

void TextWiring::stop() {
    clipboard_.stop();
}

}  // namespace quorvane::app
