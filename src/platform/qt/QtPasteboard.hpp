#pragma once

#include "platform/Pasteboard.hpp"

namespace quorvane::platform::qt {

// The system clipboard through Qt. Needs a QGuiApplication.
class QtPasteboard final : public Pasteboard {
  public:
    std::optional<std::string> string() const override;
    void setString(const std::string& text) override;
    void clearContents() override;
};

}  // namespace quorvane::platform::qt
