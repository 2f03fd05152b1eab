#pragma once

#include <QPixmap>
#include <QString>
#include <functional>

#include "platform/Log.hpp"

namespace quorvane::ui {

// Emoji drawn as small images. Drawing a colour emoji decodes the font's
// large bitmap of it, which costs about a millisecond each; a list and a
// sidebar full of them would spend most of start-up on that. Each image is
// drawn once and kept in one file of raw pixels in the cache folder, from
// which later launches read it back (no decoding). Main thread only.
class EmojiImages {
  public:
    // Where drawn images are kept; unset: drawn anew in each run. `log`
    // hears of a pack set aside (standard error without one).
    static void setCacheFolder(const QString& folder, platform::Log* log = nullptr);

    // The emoji at this size in device-independent pixels, for the screen's
    // pixel ratio.
    static QPixmap image(const QString& emoji, int size);

    // Any small drawing kept the same way: `name` says exactly what is drawn
    // (its size included), `draw` makes it at `pixels`.
    static QPixmap drawing(const QString& name, int pixels, const std::function<QPixmap()>& draw);
};

}  // namespace quorvane::ui
