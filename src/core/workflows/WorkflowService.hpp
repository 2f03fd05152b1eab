#pragma once

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/Store.hpp"
#include "core/Uuid.hpp"
#include "core/catalogue/Catalogue.hpp"
#include "platform/MainQueue.hpp"

namespace quorvane::core {

// Reads and edits the workflows and their memberships in the Store's
// Preference; every edit is one change of the published preference, so all
// views follow and it is saved with it. Main thread only.
class WorkflowService {
  public:
    // Picks a number in [0, bound); tests make it predictable.
    using Random = RandomIndex;

    static constexpr const char* defaultWorkflowId = "favorite";

    WorkflowService(Store& store, const Catalogue& catalogue, platform::MainQueue& queue,
                    Random random = {});

    const std::vector<Workflow>& workflows() const { return store_.preference->workflows; }
    const Workflow* find(const std::string& workflowId) const;

    bool isMember(const Tweak& tweak, const Workflow& workflow) const;
    // The workflows holding the tweak, in the workflows' order.
    std::vector<Workflow> workflowsContaining(const Tweak& tweak) const;
    // The workflow's tweaks in membership order; memberships of tweaks that
    // no longer exist (deleted scripts) are kept but yield nothing.
    std::vector<std::shared_ptr<Tweak>> tweaksIn(const Workflow& workflow) const;

    // Removes the tweak from the workflow when it is a member, else adds it
    // at the end.
    void toggle(const Tweak& tweak, const Workflow& workflow);
    void moveToTop(const Tweak& tweak, const Workflow& workflow);
    // "Run All": runs each of the workflow's tweaks, in order, each as its
    // own job on the main queue.
    void runAll(const Workflow& workflow);

    // At launch: with no workflow at all, makes "Favorite" with every tweak
    // flagged for the menu bar, in catalogue order.
    void createDefaultWorkflowIfNeeded();

    // A new workflow at the end: "Workflow N" (N counts this run's new
    // workflows from 1), a random glyph and colour, a fresh upper-case UUID.
    Workflow add();
    // Writes back name, icon and colour of the workflow with the same id.
    void update(const Workflow& workflow);
    // Removes the workflow and its memberships.
    void remove(const std::string& workflowId);

  private:
    Store& store_;
    const Catalogue& catalogue_;
    platform::MainQueue& queue_;
    Random random_;
    int created_ = 0;
};

}  // namespace quorvane::core
