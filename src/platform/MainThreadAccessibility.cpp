#include "platform/MainThreadAccessibility.hpp"

#include <algorithm>
#include <future>
#include <memory>
#include <string>

namespace quorvane::platform {

template <class T, class Call>
T MainThreadAccessibility::onMain(Call call, T absent) {
    if (std::this_thread::get_id() == mainThread_)
        return call(inner_);
    // The promise is shared: a call given up on may still be answered.
    struct Answer {
        T value;
        std::chrono::milliseconds hungWait;
    };
    auto answer = std::make_shared<std::promise<Answer>>();
    auto future = answer->get_future();
    mainQueue_.post([&inner = inner_, call = std::move(call), answer] {
        std::chrono::milliseconds wait{0};
        deferredHungWait = &wait;
        T value = call(inner);
        deferredHungWait = nullptr;
        answer->set_value({std::move(value), wait});
    });
    const auto started = std::chrono::steady_clock::now();
    if (future.wait_for(timeout_) != std::future_status::ready)
        return absent;
    try {
        Answer got = future.get();
        // A hung application keeps this thread waiting, not the main one.
        if (got.hungWait.count() > 0) {
            std::this_thread::sleep_until(started + std::min(got.hungWait, timeout_));
            return absent;
        }
        return std::move(got.value);
    } catch (const std::future_error&) {
        // The queue dropped the call unrun: it is shutting down.
        return absent;
    }
}

Element MainThreadAccessibility::systemWide() {
    return onMain([](Accessibility& ax) { return ax.systemWide(); }, Element{});
}

Element MainThreadAccessibility::application(int pid) {
    return onMain([pid](Accessibility& ax) { return ax.application(pid); }, Element{});
}

std::optional<Element> MainThreadAccessibility::elementAt(Point point) {
    return onMain([point](Accessibility& ax) { return ax.elementAt(point); },
                  std::optional<Element>{});
}

std::optional<AttributeValue> MainThreadAccessibility::attribute(Element element,
                                                                 std::string_view name) {
    return onMain([element, name = std::string(name)](
                      Accessibility& ax) { return ax.attribute(element, name); },
                  std::optional<AttributeValue>{});
}

std::vector<Element> MainThreadAccessibility::attributeValues(Element element,
                                                              std::string_view name) {
    return onMain([element, name = std::string(name)](
                      Accessibility& ax) { return ax.attributeValues(element, name); },
                  std::vector<Element>{});
}

bool MainThreadAccessibility::setAttribute(Element element, std::string_view name,
                                           const AttributeValue& value) {
    return onMain([element, name = std::string(name), value](
                      Accessibility& ax) { return ax.setAttribute(element, name, value); },
                  false);
}

std::optional<bool> MainThreadAccessibility::isAttributeSettable(Element element,
                                                                 std::string_view name) {
    return onMain([element, name = std::string(name)](
                      Accessibility& ax) { return ax.isAttributeSettable(element, name); },
                  std::optional<bool>{});
}

bool MainThreadAccessibility::performAction(Element element, std::string_view action) {
    return onMain([element, action = std::string(action)](
                      Accessibility& ax) { return ax.performAction(element, action); },
                  false);
}

std::optional<int> MainThreadAccessibility::pid(Element element) {
    return onMain([element](Accessibility& ax) { return ax.pid(element); }, std::optional<int>{});
}

}  // namespace quorvane::platform
