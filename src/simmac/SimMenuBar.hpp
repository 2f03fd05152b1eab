#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Result.hpp"
#include "platform/StatusBar.hpp"
#include "simmac/SimDesktopCommand.hpp"
#include "simmac/SimDisplays.hpp"

namespace quorvane::platform::sim {

// The right end of the simulated main display's menu bar: status items
// laid right to left with their widths (a clock, this program's own item
// and three more of other applications to begin with), each new one at
// the left end. An item pushed past the display's left edge is hidden: the
// system does not draw it, and a click there lands on the menu bar itself.
// Frames are in accessibility space unless said otherwise. Main thread.
class SimMenuBar final : public StatusBar {
  public:
    static constexpr double height = 25;
    static constexpr double squareWidth = 24;  // an item of `squareLength`

    SimMenuBar(SimDisplays& displays, std::function<void(const std::string& detail)> journal)
        : displays_(displays), journal_(std::move(journal)) {}

    Token addItem(Item item) override;
    void removeItem(Token token) override;
    void setLength(Token token, double length) override;
    std::optional<Rect> buttonFrame(Token token) const override;  // Cocoa space
    bool lengthsMoveOtherItems() const override { return true; }

    // Which of our items, on screen, lies under the point.
    std::optional<std::size_t> ownItemAt(Point at) const;
    // A left press: one of our items under it runs its action. Answers
    // whether one did.
    bool press(Point at);
    // `quorvane sim menubar add|remove|drag-separator`.
    Result<std::string> change(const SimDesktopCommand& command);
    std::string describe() const;

  private:
    // Other applications' items have no token.
    struct Entry {
        Token token = 0;
        Item item{};
    };
    static std::vector<Entry> systemItems();
    std::vector<Rect> frames() const;  // as `items_`
    static bool isPushedOff(const Rect& frame);

    SimDisplays& displays_;
    std::function<void(const std::string&)> journal_;
    std::vector<Entry> items_ = systemItems();
    Token nextStatusItem_ = 1;
};

}  // namespace quorvane::platform::sim
