#pragma once

#include "app/BackgroundDrain.hpp"
#include "app/SharedServices.hpp"
#include "core/SerialExecutor.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "platform/qt/QtRichTextReader.hpp"
#include "text/ClipboardManager.hpp"
#include "text/PlainTextService.hpp"
#include "text/TextServices.hpp"

namespace quorvane::app {

// The text folder: the clipboard of the desktop in use, rich text read
// through Qt, and the executor where conversions wait.
class TextWiring {
  public:
    explicit TextWiring(SharedServices& shared);

    text::TextServices& services() { return services_; }
    void addTweaks(core::TweakFactory& factory);
    void addWorkers(BackgroundDrain& drain);
    // The pasteboard is no longer watched.
    void stop();

  private:
    platform::qt::QtRichTextReader richText_;
    core::SerialExecutor conversions_{"Plain Text"};
    text::PlainTextService plainText_;
    text::ClipboardManager clipboard_;
    text::TextServices services_;
};

}  // namespace quorvane::app
