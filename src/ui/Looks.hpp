#pragma once

#include <QColor>
#include <QLabel>

class QPainter;

namespace quorvane::ui {

// Small visual touches done with palettes and painting rather than style
// sheets: the first style sheet in a program brings in the style sheet
// engine and its polishing of every widget, a large part of start-up.

// Text in this colour.
void tint(QWidget* widget, const QColor& color, QPalette::ColorRole role = QPalette::WindowText);

// Whether the palette is a dark one (light text on a dark window).
bool isDark(const QPalette& palette);
// Secondary text, readable in light and dark palettes alike: the text
// colour part way to the window's.
QColor secondaryText(const QPalette& palette);
// A warning in text: amber, lighter on a dark window.
QColor warningText(const QPalette& palette);
// An error in text: red, lighter on a dark window.
QColor errorText(const QPalette& palette);

// A rounded box in `area`, filled, with a border of `borderWidth` inside
// its edge (none when transparent or 0). Both are fills: a pen's stroke
// would bring in the stroker, and its trigonometry, for a plain outline.
void fillRoundedBox(QPainter& painter, const QRectF& area, qreal radius, const QColor& fill,
                    const QColor& border = Qt::transparent, qreal borderWidth = 1);

// A label drawn on a rounded, filled box with an optional border.
class BoxedLabel final : public QLabel {
  public:
    struct Look {
        QColor background;
        QColor text;
        QColor border{Qt::transparent};
        int radius = 6;
        QMargins padding{10, 6, 10, 6};
    };

    BoxedLabel(const QString& text, Look look, QWidget* parent = nullptr);

    // Layouts ask a wrapped label its height for the same width again and
    // again, and each answer lays the text out anew: the last one is kept.
    int heightForWidth(int width) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Look look_;
    struct Measured {
        int width = -1;
        QString text;
        QFont font;
        QMargins margins;
        int height = 0;
    };
    mutable Measured measured_;
};

// A notice above a page's content: amber on a light box, or the dark one.
BoxedLabel::Look noticeLook(const QPalette& palette);

}  // namespace quorvane::ui
