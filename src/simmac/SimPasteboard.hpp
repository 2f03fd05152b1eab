#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Pasteboard.hpp"
#include "platform/Result.hpp"
#include "simmac/SimDesktopCommand.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's pasteboard: ordered representations and a change
// count, as a Mac's general pasteboard keeps them.
class SimPasteboard final : public Pasteboard {
  public:
    long changeCount() const override { return changeCount_; }
    std::vector<std::string> types() const override;
    std::optional<std::string> data(const std::string& type) const override;
    void write(const PasteboardContents& contents) override;

  private:
    PasteboardContents contents_;
    long changeCount_ = 0;
};

// What `sim pasteboard show` prints: the change count, each type with its
// size, and the text of the textual ones.
std::string describePasteboard(const Pasteboard& pasteboard);

// `sim pasteboard show|set`: a set reads its files first and writes all
// representations as one change, or nothing.
Result<std::string> performPasteboardCommand(Pasteboard& pasteboard, const SimDesktopCommand& command);

}  // namespace quorvane::platform::sim
