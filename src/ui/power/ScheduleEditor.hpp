#pragma once

#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "core/Signal.hpp"
#include "system/power/EnergySaverTask.hpp"

namespace quorvane::ui {

// The energy saver's schedule: one row per item (its switch, the action,
// the days, "at" and the time, "Remove"), and "Schedule" to add one. Rows
// follow the stored items, whoever changes them.
class ScheduleEditor final : public QWidget {
  public:
    explicit ScheduleEditor(system::EnergySaverTask& task, QWidget* parent = nullptr);

    // The rows' container, for tests: one child layout per item.
    QVBoxLayout* rows() const { return rows_; }

  private:
    void rebuild();
    QWidget* makeRow(const system::ScheduleItem& item);
    // Edits the stored item `id` as it is now.
    void change(const std::string& id, const std::function<void(system::ScheduleItem&)>& edit);

    system::EnergySaverTask& task_;
    QVBoxLayout* rows_;
    QWidget* empty_;
    std::vector<std::string> shownIds_;
    core::Subscription changes_;
};

}  // namespace quorvane::ui
