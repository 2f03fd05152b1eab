#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/Signal.hpp"

namespace quorvane::core {

// A tweak's extra panel, shown under its cell: a row of items to pick
// from (the favourite spelling languages), described as data and drawn by
// one generic view in the front end. The view asks for the items again
// whenever `observe` says they changed.
struct ExtraPanel {
    struct Action {
        std::string name;   // what `act` is told
        std::string title;  // what the context menu shows
    };
    struct Item {
        std::string id;
        std::string title;
        std::string icon{};   // an emoji, drawn as text; may be empty
        bool marked = false;  // the current one
        std::vector<Action> actions{};
    };

    std::function<std::vector<Item>()> items;
    // A click on an item.
    std::function<void(const std::string& id)> choose;
    // One of an item's context actions.
    std::function<void(const std::string& id, const std::string& action)> act{};
    std::function<Subscription(std::function<void()> changed)> observe{};
    std::string emptyText{};  // shown, secondary, when there are no items

    bool isEmpty() const { return !items; }
};

}  // namespace quorvane::core
