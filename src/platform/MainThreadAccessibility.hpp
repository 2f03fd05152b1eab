#pragma once

#include <chrono>
#include <thread>

#include "platform/Accessibility.hpp"
#include "platform/MainQueue.hpp"

namespace quorvane::platform {

// Lets another thread use an Accessibility that answers on the main thread
// (the simulated Mac's applications live there): each call is carried to
// the main queue and waited for up to the messaging timeout; past it the
// call is absent, as a hung application's is. Called on the main thread, it
// goes straight through. Made on the main thread.
class MainThreadAccessibility final : public Accessibility {
  public:
    MainThreadAccessibility(Accessibility& inner, MainQueue& mainQueue,
                            std::chrono::milliseconds timeout = messagingTimeout)
        : inner_(inner), mainQueue_(mainQueue), timeout_(timeout), mainThread_(std::this_thread::get_id()) {}

    Element systemWide() override;
    Element application(int pid) override;
    std::optional<Element> elementAt(Point point) override;
    std::optional<AttributeValue> attribute(Element element, std::string_view name) override;
    std::vector<Element> attributeValues(Element element, std::string_view name) override;
    bool setAttribute(Element element, std::string_view name, const AttributeValue& value) override;
    std::optional<bool> isAttributeSettable(Element element, std::string_view name) override;
    bool performAction(Element element, std::string_view action) override;
    std::optional<int> pid(Element element) override;

  private:
    template <class T, class Call>
    T onMain(Call call, T absent);

    Accessibility& inner_;
    MainQueue& mainQueue_;
    std::chrono::milliseconds timeout_;
    std::thread::id mainThread_;
};

}  // namespace quorvane::platform
