#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPushButton>

#include "core/TweakActions.hpp"
#include "core/TweaksHandler.hpp"
#include "core/catalogue/CatalogueFixture.hpp"
#include "core/workflows/WorkflowService.hpp"
#include "simmac/SimIntentDonations.hpp"
#include "ui/FormsFixture.hpp"
#include "ui/Switch.hpp"
#include "ui/TweakListView.hpp"

namespace quorvane::ui::testing {

struct SilentSound final : platform::Sound {
    using platform::Sound::play;
    bool play(std::string_view) override { return true; }
};

// The catalogue of recording tweaks, a Qt application, and what a list of
// tweaks needs to run them, for widget tests.
// The switch inside `in`, by its C++ type: it has no meta-object, so
// findChild<Switch*> would take any button for one.
inline Switch* findSwitch(QWidget* in) {
    for (auto* candidate : in->findChildren<QAbstractButton*>())
        if (auto* found = dynamic_cast<Switch*>(candidate))
            return found;
    return nullptr;
}

struct UiFixture : core::testing::CatalogueFixture {
    int argc = 1;
    char name[16] = "quorvane-ui";
    char* argv[1] = {name};
    QApplication application{argc, argv};
    core::TweakNotifications notifications;
    SilentSound sound;
    core::SoundPlayer sounds{store, sound};
    platform::sim::SimIntentDonations donations{log};
    core::TweakActions actions{queue, notifications, sounds, donations};
    core::TweaksHandler handler{catalogue};
    core::WorkflowService workflows{store, catalogue, queue};

    ListServices lists() {
        return {catalogue, store, queue, notifications, actions, handler, &workflows};
    }

    // The push button with this title inside `in`.
    static QPushButton* button(QWidget* in, const QString& text) {
        for (auto* candidate : in->findChildren<QPushButton*>())
            if (candidate->text() == text)
                return candidate;
        return nullptr;
    }

    void save(QWidget& widget, const QString& file) { saveScreenshot(widget, file); }
};

}  // namespace quorvane::ui::testing
