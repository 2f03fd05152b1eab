#include "simmac/SimDragPlayer.hpp"

#include <memory>

namespace quorvane::platform::sim {

namespace {

struct Playing {
    SimWindowServer& desktop;
    MainQueue& queue;
    std::vector<SimWindowServer::DragStep> steps;
    Duration pause;
    std::function<void()> done;
    std::size_t next = 0;
};

void playNext(const std::shared_ptr<Playing>& playing) {
    if (playing->next == playing->steps.size()) {
        playing->desktop.releaseLeft();
        if (playing->done)
            playing->done();
        return;
    }
    const auto& step = playing->steps[playing->next++];
    playing->desktop.dragLeftTo(step.to);
    const Duration wait = step.endsALeg ? dragEventInterval + playing->pause
                                        : Duration(dragEventInterval);
    playing->queue.after(wait, [playing] { playNext(playing); });
}

}  // namespace

void playDrag(SimWindowServer& desktop, MainQueue& queue, const SimDesktopCommand& command,
              std::function<void()> done) {
    auto playing = std::make_shared<Playing>(Playing{
        .desktop = desktop,
        .queue = queue,
        .steps = SimWindowServer::dragSteps(command),
        .pause = std::chrono::duration_cast<Duration>(std::chrono::duration<double>(command.pause)),
        .done = std::move(done)});
    desktop.startDrag(command);
    queue.after(dragEventInterval, [playing] { playNext(playing); });
}

}  // namespace quorvane::platform::sim
