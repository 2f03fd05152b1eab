#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <memory>

#include "core/catalogue/Catalogue.hpp"

namespace quorvane::ui {

// A searchable list of every tweak; accepting it answers the chosen one.
class SelectTweakDialog final : public QDialog {
  public:
    explicit SelectTweakDialog(const core::Catalogue& catalogue, QWidget* parent = nullptr);

    std::shared_ptr<core::Tweak> chosen() const { return chosen_; }
    QLineEdit* search() const { return search_; }
    QListWidget* list() const { return list_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void filter(const QString& text);

    std::vector<std::shared_ptr<core::Tweak>> tweaks_;
    std::shared_ptr<core::Tweak> chosen_;
    QLineEdit* search_;
    QListWidget* list_;
};

}  // namespace quorvane::ui
