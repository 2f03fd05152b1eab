#pragma once

#include "wiring/BackgroundDrain.hpp"
#include "wiring/DesktopSession.hpp"
#include "wiring/InputWiring.hpp"
#include "wiring/SharedServices.hpp"
#include "core/SerialExecutor.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "adapters/qt/HtmlModule.hpp"
#include "adapters/qt/NetworkModule.hpp"
#include "adapters/qt/QtRichTextReader.hpp"
#include "adapters/posix/RecognitionHelper.hpp"
#include "text/ClipboardManager.hpp"
#include "text/PlainTextService.hpp"
#include "text/TextServices.hpp"
#include "text/emoji/EmojiTable.hpp"

namespace quorvane::app {

// The text folder: the clipboard of the desktop in use, rich text read
// through Qt, HTTP through the network module, the screen region chosen on
// the desktop in use (frozen screens under our overlay in an X11 session,
// the simulated Mac's screenshot tool otherwise) and read through the
// recognition module, and the executors where conversions, requests and
// recognition wait. The echo service for the public address is
// $QUORVANE_PUBLIC_IP_URL when set. The emoji table beside the program is
// loaded and searched on an executor of its own, and the shortcode panel
// captures its keys on the desktop in use.
class TextWiring {
  public:
    TextWiring(SharedServices& shared, DesktopSession& desktop, InputWiring& input);

    text::TextServices& services() { return services_; }
    text::EmojiTable& emojiTable() { return emojiTable_; }
    void addTweaks(core::TweakFactory& factory);
    void addWorkers(BackgroundDrain& drain);
    // The front end's way to clear the screen of our windows before a
    // region is chosen.
    void setClearScreen(std::function<void()> clear) { services_.clearScreen = std::move(clear); }
    // Where the emoji picker's item goes (none: the simulated menu bar when
    // the desktop is simulated, else nowhere), its popover, and whether the
    // status bar shows items now.
    void setPickerFrontEnd(platform::StatusBar* statusBar,
                           std::function<std::unique_ptr<text::EmojiPickerView>()> make,
                           std::function<bool()> shown);
    // The front end's shortcode panel.
    void setAliasPanelMaker(std::function<std::unique_ptr<text::EmojiAliasView>()> make) {
        services_.makeAliasPanel = std::move(make);
    }
    // The pasteboard is no longer watched; requests in flight end, and
    // nothing of the folder runs any more.
    void stop();

  private:
    platform::qt::HtmlModule html_;
    platform::qt::QtRichTextReader richText_{&html_};
    core::SerialExecutor conversions_{"Plain Text"};
    platform::qt::NetworkModule http_;
    core::SerialExecutor network_{"Network"};
    std::pair<std::unique_ptr<platform::ScreenCapture>, BackgroundDrain::Worker> capture_;
    platform::posix::RecognitionHelper recognition_;
    core::SerialExecutor vision_{"Vision"};
    core::SerialExecutor emojiWorker_{"Emoji"};
    text::EmojiTable emojiTable_;
    platform::StatusBar* simulatedMenuBar_;
    text::PlainTextService plainText_;
    text::ClipboardManager clipboard_;
    text::TextServices services_;
};

}  // namespace quorvane::app
