#include "adapters/qt/ParticleRenderer.hpp"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <cmath>

namespace quorvane::platform::qt {

namespace {

using particles::Shape;

// A white-on-clear shape tinted with the colour, `width` × `height` points.
QImage drawSprite(Shape shape, double width, double height, QColor colour, double pixelRatio) {
    QImage image(std::max(1, static_cast<int>(std::ceil(width * pixelRatio))),
                 std::max(1, static_cast<int>(std::ceil(height * pixelRatio))),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(pixelRatio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const QRectF area(0, 0, width, height);
    switch (shape) {
        case Shape::square:
            painter.drawRect(area);
            break;
        case Shape::circle:
            painter.drawEllipse(area);
            break;
        case Shape::streak: {
            // Fades in from its tail, full at its head (the bottom).
            QLinearGradient fade(area.topLeft(), area.bottomLeft());
            QColor tail = colour;
            tail.setAlpha(0);
            fade.setColorAt(0, tail);
            fade.setColorAt(1, colour);
            painter.setBrush(fade);
            painter.drawRoundedRect(area, width / 2, width / 2);
            break;
        }
        case Shape::flake: {
            const QPointF centre = area.center();
            const double arm = width / 2 * 0.9;
            QPen pen(colour, std::max(1.0, width / 10), Qt::SolidLine, Qt::RoundCap);
            painter.setPen(pen);
            for (int i = 0; i < 3; ++i) {
                const double turn = M_PI / 3 * i;
                const QPointF out(std::cos(turn) * arm, std::sin(turn) * arm);
                painter.drawLine(centre - out, centre + out);
            }
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(centre, width / 8, width / 8);
            break;
        }
    }
    return image;
}

}  // namespace

const ParticleRenderer::Sprite& ParticleRenderer::sprite(Shape shape, double size, particles::Colour colour,
                                                         double pixelRatio) {
    if (pixelRatio != pixelRatio_) {
        sprites_.clear();  // a new screen: drawn again, sharp on it
        pixelRatio_ = pixelRatio;
    }
    const auto points = static_cast<std::uint64_t>(std::lround(size * 4));
    const std::uint64_t key = (static_cast<std::uint64_t>(shape) << 56) | (points << 24) |
                              (std::uint64_t{colour.red} << 16) | (std::uint64_t{colour.green} << 8) |
                              colour.blue;
    auto found = sprites_.find(key);
    if (found == sprites_.end()) {
        // A streak is long and thin; the rest fill their square.
        const double width = shape == Shape::streak ? std::max(1.5, size / 10) : size;
        Sprite made{drawSprite(shape, width, size, QColor(colour.red, colour.green, colour.blue), pixelRatio),
                    width, size};
        found = sprites_.emplace(key, std::move(made)).first;
    }
    return found->second;
}

void ParticleRenderer::paint(QPainter& painter, const particles::Scene& scene, double pixelRatio) {
    // What it changes it puts back by hand: save() would allocate a state
    // on every frame.
    const QTransform base = painter.transform();
    const auto mode = painter.compositionMode();
    const double opacity = painter.opacity();
    for (const auto& layer : scene.layers()) {
        for (const auto& system : layer.systems) {
            const auto& preset = system.preset();
            painter.setCompositionMode(preset.blend == particles::Blend::additive
                                           ? QPainter::CompositionMode_Plus
                                           : QPainter::CompositionMode_SourceOver);
            const double size = system.emitter().spriteSize;
            for (const auto& particle : system.particles()) {
                const auto& drawn = sprite(preset.shapes[particle.shape], size, preset.colours[particle.colour],
                                           pixelRatio);
                const double width = drawn.width * particle.scale;
                const double height = drawn.height * particle.scale;
                if (particle.alpha <= 0.004 || height < 0.25)
                    continue;
                painter.setOpacity(particle.alpha);
                const double x = layer.box.x + particle.x;
                const double y = layer.box.y + particle.y;
                // A streak lies along its way; the others turn as they spin.
                const double turn = preset.shapes[particle.shape] == Shape::streak
                                        ? std::atan2(particle.vy, particle.vx) - M_PI / 2
                                        : particle.rotation;
                if (turn == 0) {
                    painter.setTransform(base);
                    painter.drawImage(QRectF(x - width / 2, y - height / 2, width, height), drawn.image);
                    continue;
                }
                const double c = std::cos(turn);
                const double s = std::sin(turn);
                painter.setTransform(QTransform(c, s, -s, c, x, y) * base);
                painter.drawImage(QRectF(-width / 2, -height / 2, width, height), drawn.image);
            }
        }
    }
    painter.setTransform(base);
    painter.setCompositionMode(mode);
    painter.setOpacity(opacity);
}

}  // namespace quorvane::platform::qt
