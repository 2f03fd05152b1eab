#include "platform/GeometryText.hpp"
#include "adapters/qt/QtOverlays.hpp"

#include <QBackingStore>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <map>
#include <optional>
#include <chrono>
#include <utility>
#include <cmath>

#include "adapters/qt/ParticleRenderer.hpp"
#include "adapters/qt/QtPaths.hpp"
#include "adapters/qt/QtScreens.hpp"

namespace quorvane::platform::qt {

namespace {

// Cocoa space to the virtual desktop's, from the primary screen's corner.
QRect rootRect(const Rect& frame) {
    const Rect primary = QtScreens::primaryRootFrame();
    return {static_cast<int>(std::lround(primary.origin.x + frame.origin.x)),
            static_cast<int>(std::lround(primary.origin.y + primary.size.height - frame.maxY())),
            std::max(1, static_cast<int>(std::lround(frame.size.width))),
            std::max(1, static_cast<int>(std::lround(frame.size.height)))};
}

Qt::WindowFlags flagsFor(const OverlayDescription& description) {
    Qt::WindowFlags flags = Qt::FramelessWindowHint;
    if (description.level >= overlayLevel::status)
        flags |= Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint | Qt::Tool;
    else if (description.level >= overlayLevel::floating)
        flags |= Qt::WindowStaysOnTopHint | Qt::Tool;
    else
        flags |= Qt::X11BypassWindowManagerHint;
    if (description.passesInput)
        flags |= Qt::WindowTransparentForInput;
    if (!description.takesFocus)
        flags |= Qt::WindowDoesNotAcceptFocus;
    return flags;
}

}  // namespace

std::string describe(const OverlayDescription& description) {
    const auto& frame = description.frame;
    std::string text = description.owner + " " + platform::describe(description.content) + " at " +
                       numberText(frame.origin.x) + " " + numberText(frame.origin.y) + " " +
                       numberText(frame.size.width) + " × " + numberText(frame.size.height) + ", level " +
                       std::to_string(description.level);
    text += description.passesInput ? ", clicks pass" : ", takes clicks";
    if (description.takesFocus)
        text += " and keys";
    if (description.content == OverlayDescription::Content::keyCaps) {
        text += ", caps";
        for (const auto& cap : description.keyCaps) {
            text += " [" + cap.title;
            if (!cap.subtitle.empty())
                text += (cap.title.empty() ? "" : " ") + cap.subtitle;
            if (cap.widthScale != 1)
                text += " ×" + std::to_string(cap.widthScale);
            text += "]";
        }
        if (description.pressed)
            text += " pressed";
        return text;
    }
    if (description.content == OverlayDescription::Content::lockScreen && description.showsUnlock)
        text += ", unlock button";
    if (description.content == OverlayDescription::Content::cursorRing)
        return text + (description.pressed ? ", pressed" : "") +
               (description.glows ? ", glowing" : "");
    if (description.content == OverlayDescription::Content::particles)
        return text + (description.scene ? ", " + description.scene->name() : std::string());
    if (description.content == OverlayDescription::Content::cameraMirror) {
        static constexpr const char* shapes[] = {"circle", "rounded rectangle", "squircle"};
        const auto& mirror = description.mirror;
        text += std::string(", ") + shapes[static_cast<int>(mirror.shape)];
        if (!mirror.message.empty())
            return text + ", \"" + mirror.message + "\"";
        text += mirror.fills ? ", fill" : ", fit";
        if (mirror.mirrored)
            text += ", mirrored";
        if (mirror.quarterTurns != 0)
            text += ", turned " + std::to_string(mirror.quarterTurns * 90) + "°";
        if (mirror.bordered)
            text += ", bordered";
        return text;
    }
    const auto& colour = description.background;
    text += ", colour " + numberText(std::round(colour.red * 255)) + " " +
            numberText(std::round(colour.green * 255)) + " " + numberText(std::round(colour.blue * 255)) +
            " at " + numberText(std::round(colour.alpha * 100)) + " %";
    return text;
}

// One overlay: paints its colour (and shape), swallows what it must.
class OverlayWindow final : public QRasterWindow {
  public:
    OverlayWindow(const OverlayDescription& description,
                  const std::map<OverlayDescription::Content, ContentPainter>& drawers)
        : description_(description), painters_(drawers) {
        QSurfaceFormat format = this->format();
        format.setAlphaBufferSize(8);
        setFormat(format);
        owedFrame_.setSingleShot(true);
        QObject::connect(&owedFrame_, &QTimer::timeout, this, [this] { drawOwed(); });
        apply(description, true);
    }

    void apply(const OverlayDescription& description, bool first) {
        // A new camera frame, and nothing else: only drawn again.
        if (!first && description.content == OverlayDescription::Content::cameraMirror &&
            description_.content == description.content) {
            auto before = description_;
            before.mirror.frame = description.mirror.frame;
            if (before == description) {
                description_ = description;
                update();
                return;
            }
        }
        const bool flagsChange = first || flagsFor(description) != flagsFor(description_) ;
        const QRect frame = rootRect(description.frame);
        const bool resized = first || frame.size() != geometry().size();
        // Only what changed is drawn again where the content says what that
        // is (a key added to a shown strip): the rest of the window stays.
        const auto* painter = painterOf(description.content);
        const bool partly = !resized && !flagsChange && painter && painter->changed &&
                            description.content == description_.content && !description_.hidden;
        QRegion damage = partly ? painter->changed(description_, description, size())
                                : QRegion(QRect(QPoint(), frame.size()));
        description_ = description;
        if (flagsChange)
            setFlags(flagsFor(description));
        // Each request the server answers with events to us and the window
        // manager: none for what has not changed.
        if (first || frame != geometry())
            setGeometry(frame);
        if (description.scene)
            description.scene->resize(width(), height());
        animate();
        // A shaped overlay is its shape, for clicks and on desktops without
        // translucency alike.
        QRegion shape;
        if (description.content == OverlayDescription::Content::notch)
            shape = QRegion(notchPath().toFillPolygon().toPolygon());
        else if (description.content == OverlayDescription::Content::ring)
            shape = ringRegion();
        else if (painter && painter->shape)
            shape = painter->shape(description, frame.size());
        // Drawn again at most once a frame: keys typed faster than that
        // (each drawing costs the X server's round trips) are shown
        // together, the last of them at the end of the frame.
        if (partly && !description.hidden && drawn_.isValid() &&
            drawn_.elapsed() < framePeriod.count()) {
            owedDamage_ += damage;
            owedShape_ = std::move(shape);
            if (!owedFrame_.isActive())
                owedFrame_.start(static_cast<int>(framePeriod.count() - drawn_.elapsed()));
            return;
        }
        owedFrame_.stop();
        damage += std::exchange(owedDamage_, QRegion());
        owedShape_.reset();
        draw(first, shape, damage);
    }
    const OverlayDescription& description() const { return description_; }
    void setHandler(Overlays::PointerHandler handler) { handler_ = std::move(handler); }

    // Whether nobody gets past it: it takes every click and key.
    bool blocks() const {
        return !description_.hidden && !description_.passesInput && description_.takesFocus;
    }
    std::unique_ptr<x11::WindowHolds::Hold> hold;
    Overlays::LetGoHandler letGo;

  protected:
    // A scene moves only while it can be seen: no timer otherwise.
    void showEvent(QShowEvent* event) override {
        QRasterWindow::showEvent(event);
        animate();
    }
    void hideEvent(QHideEvent* event) override {
        QRasterWindow::hideEvent(event);
        animate();
    }
    void resizeEvent(QResizeEvent* event) override {
        QRasterWindow::resizeEvent(event);
        if (description_.scene)
            description_.scene->resize(width(), height());
    }
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        if (description_.content == OverlayDescription::Content::particles) {
            painter.fillRect(QRect(QPoint(), size()), Qt::transparent);
            if (description_.scene)
                particles_.paint(painter, *description_.scene, devicePixelRatio());
            return;
        }
        if (const auto* drawer = painterOf(description_.content)) {
            // Only the part asked for: a key on a screen-wide strip touches
            // one cap's pixels, not the strip's.
            painter.setClipRegion(event->region());
            for (const QRect& rect : event->region())
                painter.fillRect(rect, Qt::transparent);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            if (drawer->paint)
                drawer->paint(painter, description_, size());
            return;
        }
        // The headroom surface has nothing to draw off macOS.
        if (description_.content == OverlayDescription::Content::headroom) {
            painter.fillRect(QRect(QPoint(), size()), Qt::transparent);
            return;
        }
        if (description_.content == OverlayDescription::Content::notch) {
            painter.fillRect(QRect(QPoint(), size()), Qt::transparent);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            paintNotch(painter);
            return;
        }
        if (description_.content == OverlayDescription::Content::snapGrid) {
            painter.fillRect(QRect(QPoint(), size()), Qt::transparent);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            for (const auto& tile : description_.tiles)
                paintTile(painter, tile);
            return;
        }
        if (description_.content == OverlayDescription::Content::thumbnails) {
            paintThumbnails(painter);
            return;
        }
        if (description_.content == OverlayDescription::Content::picture) {
            painter.fillRect(QRect(QPoint(), size()), Qt::transparent);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            if (description_.image)
                painter.drawImage(QRectF(QPointF(), QSizeF(size())), toImage(*description_.image));
            if (description_.cornerRadius > 0) {
                painter.setPen(QPen(colour(), ringWidth));
                painter.drawRect(QRectF(QPointF(), QSizeF(size())).adjusted(2, 2, -2, -2));
            }
            return;
        }
        if (description_.content == OverlayDescription::Content::ring) {
            painter.fillRect(QRect(QPoint(), size()), Qt::transparent);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            painter.setRenderHint(QPainter::Antialiasing);
            QPen pen(colour(), ringWidth);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            const double inset = ringWidth / 2.0;
            painter.drawRoundedRect(QRectF(QPointF(), QSizeF(size())).adjusted(inset, inset, -inset, -inset),
                                    description_.cornerRadius, description_.cornerRadius);
            return;
        }
        if (description_.cornerRadius > 0) {
            painter.fillRect(QRect(QPoint(), size()), Qt::transparent);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour());
            painter.drawRoundedRect(QRectF(QPointF(), QSizeF(size())), description_.cornerRadius,
                                    description_.cornerRadius);
            return;
        }
        painter.fillRect(QRect(QPoint(), size()), colour());
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (handler_)
            handler_((event->buttons() & Qt::LeftButton) ? Overlays::Pointer::dragged
                                                         : Overlays::Pointer::moved,
                     {event->position().x(), event->position().y()});
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (handler_ && event->button() == Qt::LeftButton)
            handler_(Overlays::Pointer::pressed, {event->position().x(), event->position().y()});
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (handler_ && event->button() == Qt::LeftButton)
            handler_(Overlays::Pointer::released, {event->position().x(), event->position().y()});
    }
    bool event(QEvent* event) override {
        if (event->type() == QEvent::Leave && handler_)
            handler_(Overlays::Pointer::exited, {-1, -1});
        return QRasterWindow::event(event);
    }
    // Keys that reach an overlay that takes them go nowhere.
    void keyPressEvent(QKeyEvent* event) override { event->accept(); }
    void keyReleaseEvent(QKeyEvent* event) override { event->accept(); }

  private:
    static constexpr int ringWidth = 4;

    static QImage toImage(const Image& image) {
        QImage made(image.width, image.height, QImage::Format_ARGB32);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                made.setPixel(x, y, image.pixels[static_cast<std::size_t>(y * image.width + x)]);
        return made;
    }
    static QRectF toQt(const Rect& rect) {
        return {rect.origin.x, rect.origin.y, rect.size.width, rect.size.height};
    }
    // A dark rounded panel; each window's picture above its title, with the
    // close and minimize buttons in its corner.
    void paintThumbnails(QPainter& painter) {
        painter.fillRect(QRect(QPoint(), size()), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 40, 44, 235));
        painter.drawRoundedRect(QRectF(QPointF(), QSizeF(size())), 12, 12);
        for (const auto& thumbnail : description_.thumbnails) {
            const QRectF area = toQt(thumbnail.frame);
            const QRectF picture = area.adjusted(0, 0, 0, -20);
            if (thumbnail.highlighted) {
                painter.setBrush(QColor(255, 255, 255, 40));
                painter.drawRoundedRect(area.adjusted(-4, -4, 4, 4), 8, 8);
            }
            if (thumbnail.image) {
                const QImage image = toImage(*thumbnail.image);
                const QSizeF fitted = QSizeF(image.size()).scaled(picture.size(), Qt::KeepAspectRatio);
                painter.drawImage(QRectF(picture.center() - QPointF(fitted.width(), fitted.height()) / 2,
                                         fitted),
                                  image);
            } else {
                painter.setBrush(QColor(72, 72, 76));
                painter.drawRoundedRect(picture, 6, 6);
            }
            painter.setBrush(QColor(0xed, 0x6a, 0x5e));
            painter.drawEllipse(toQt(thumbnailCloseButton).translated(area.topLeft()));
            painter.setBrush(QColor(0xf3, 0xbf, 0x4e));
            painter.drawEllipse(toQt(thumbnailMinimizeButton).translated(area.topLeft()));
            painter.setPen(QColor(235, 235, 240));
            const QRectF line(area.left(), area.bottom() - 18, area.width(), 18);
            painter.drawText(line, Qt::AlignCenter,
                             painter.fontMetrics().elidedText(QString::fromStdString(thumbnail.title),
                                                              Qt::ElideMiddle,
                                                              static_cast<int>(line.width())));
            painter.setPen(Qt::NoPen);
        }
    }

    QColor colour() const {
        const auto& colour = description_.background;
        return QColor::fromRgbF(static_cast<float>(colour.red), static_cast<float>(colour.green),
                                static_cast<float>(colour.blue), static_cast<float>(colour.alpha));
    }
    // The border only: inside it, clicks and the window below go through.
    QRegion ringRegion() const {
        const QRect outer(QPoint(), geometry().size());
        return QRegion(outer).subtracted(
            QRegion(outer.adjusted(ringWidth, ringWidth, -ringWidth, -ringWidth)));
    }
    // A tile's rectangle in this window, from Cocoa space.
    QRectF local(const Rect& frame) const {
        return {frame.origin.x - description_.frame.origin.x,
                description_.frame.maxY() - frame.maxY(), frame.size.width, frame.size.height};
    }
    const QImage& picture(const std::string& path) {
        auto found = pictures_.find(path);
        if (found == pictures_.end())
            found = pictures_.emplace(path, QImage(QString::fromStdString(path))).first;
        return found->second;
    }
    // The screen's picture (or a neutral fill and its name), its 3 × 3
    // cells parted by 2-point dividers, the hovered one in the colour.
    void paintTile(QPainter& painter, const OverlayTile& tile) {
        const QRectF area = local(tile.frame);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath clip;
        clip.addRoundedRect(area, 6, 6);
        painter.setClipPath(clip);
        const QImage& image = tile.picture.empty() ? noPicture_ : picture(tile.picture);
        if (image.isNull()) {
            painter.fillRect(area, QColor(72, 72, 76));
            QFont font = painter.font();
            font.setPixelSize(std::max(12, static_cast<int>(area.height() / 24)));
            painter.setFont(font);
            painter.setPen(QColor(235, 235, 240));
            painter.drawText(area, Qt::AlignCenter, QString::fromStdString(tile.label));
        } else {
            painter.drawImage(area, image);
        }
        constexpr double divider = 2;
        const double width = (area.width() - 2 * divider) / 3;
        const double height = (area.height() - 2 * divider) / 3;
        QColor line(128, 128, 128);
        line.setAlphaF(0.4f);
        for (int i = 1; i < 3; ++i) {
            painter.fillRect(QRectF(area.left() + i * width + (i - 1) * divider, area.top(), divider,
                                    area.height()),
                             line);
            painter.fillRect(QRectF(area.left(), area.top() + i * height + (i - 1) * divider,
                                    area.width(), divider),
                             line);
        }
        if (tile.hovered >= 0 && tile.hovered < 9) {
            const int column = tile.hovered % 3;
            const int row = tile.hovered / 3;
            painter.fillRect(QRectF(area.left() + column * (width + divider),
                                    area.top() + row * (height + divider), width, height),
                             colour());
        }
        painter.restore();
    }

    QPainterPath notchPath() const {
        return painterPath(
            notchOutline({description_.frame.size.width, description_.frame.size.height}));
    }
    // The housing, its lens, and the light beside it while the camera is on.
    void paintNotch(QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(notchPath(), Qt::black);
        const QPointF lens(width() / 2.0, height() / 2.0);
        QColor gray(128, 128, 128);
        QColor faint = gray;
        faint.setAlphaF(0.1f);
        painter.setPen(QPen(gray, 1));
        painter.setBrush(faint);
        painter.drawEllipse(lens, 6, 6);
        QColor centre = description_.cameraActive ? QColor(0, 122, 255) : gray;
        centre.setAlphaF(description_.cameraActive ? 0.8f : 0.5f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(centre);
        painter.drawEllipse(lens, 1.5, 1.5);
        if (description_.cameraActive) {
            painter.setBrush(QColor(52, 199, 89));
            painter.drawEllipse(lens + QPointF(20, 0), 2.5, 2.5);
        }
    }

    void animate() {
        const bool moves = description_.content == OverlayDescription::Content::particles &&
                           description_.scene && isVisible();
        if (!moves) {
            if (frames_)
                frames_->stop();
            return;
        }
        if (!frames_) {
            frames_ = std::make_unique<QTimer>();
            frames_->setTimerType(Qt::PreciseTimer);
            frames_->setInterval(1000 / 60);
            QObject::connect(frames_.get(), &QTimer::timeout, [this] {
                const double seconds = static_cast<double>(clock_.restart()) / 1000.0;
                if (description_.scene)
                    description_.scene->step(seconds);
                update();
            });
        }
        if (!frames_->isActive()) {
            clock_.start();
            frames_->start();
        }
    }

    const ContentPainter* painterOf(OverlayDescription::Content content) const {
        const auto found = painters_.find(content);
        return found == painters_.end() ? nullptr : &found->second;
    }

    void draw(bool first, const QRegion& shape, const QRegion& damage) {
        if (first || shape != mask())
            setMask(shape);
        update(damage);
        drawn_.start();
    }
    // The frame owed since keys came faster than frames.
    void drawOwed() {
        if (!owedShape_)
            return;
        const QRegion shape = *std::exchange(owedShape_, std::nullopt);
        draw(false, shape, std::exchange(owedDamage_, QRegion()));
    }

    static constexpr std::chrono::milliseconds framePeriod{16};
    OverlayDescription description_;
    const std::map<OverlayDescription::Content, ContentPainter>& painters_;
    QElapsedTimer drawn_;
    QTimer owedFrame_;
    QRegion owedDamage_;
    std::optional<QRegion> owedShape_;
    Overlays::PointerHandler handler_;
    std::map<std::string, QImage> pictures_;
    QImage noPicture_;
    ParticleRenderer particles_;
    std::unique_ptr<QTimer> frames_;
    QElapsedTimer clock_;
};

QtOverlays::QtOverlays(Journal& journal, std::function<bool()> translucency,
                       x11::WindowHoldsSource holds)
    : journal_(journal), translucency_(std::move(translucency)), holds_(std::move(holds)) {}

QtOverlays::~QtOverlays() = default;

Overlays::Id QtOverlays::show(const OverlayDescription& description) {
    const Id id = next_++;
    auto window = std::make_unique<OverlayWindow>(description, painters_);
    window->setTitle(QString::fromStdString(description.owner));
    if (description.hidden)
        window->create();
    else
        window->show();
    if (description.takesFocus)
        window->requestActivate();
    auto& shown = *windows_.emplace(id, std::move(window)).first->second;
    watch(id, shown);
    raiseInLevelOrder();
    journal_.record(description.owner, "overlay",
                    "shown " + std::to_string(id) + ": " + describe(description));
    return id;
}

void QtOverlays::update(Id id, const OverlayDescription& description) {
    auto found = windows_.find(id);
    if (found == windows_.end())
        return;
    const int level = found->second->description().level;
    found->second->apply(description, false);
    found->second->setVisible(!description.hidden);
    watch(id, *found->second);
    if (level != description.level)
        raiseInLevelOrder();
}

std::unique_ptr<OverlayWindow> QtOverlays::takeOut(Id id) {
    auto found = windows_.find(id);
    if (found == windows_.end())
        return nullptr;
    // Out of the map first: closing may deliver events that look it up.
    auto window = std::move(found->second);
    windows_.erase(found);
    window->hold.reset();
    window->hide();
    window->setHandler({});
    return window;
}

void QtOverlays::close(Id id) {
    auto window = takeOut(id);
    if (!window)
        return;
    const std::string owner = window->description().owner;
    // Later: the close may come from the window's own click.
    window.release()->deleteLater();
    journal_.record(owner, "overlay", "closed " + std::to_string(id));
}

// Held from the moment it blocks until it no longer does.
void QtOverlays::watch(Id id, OverlayWindow& window) {
    if (!window.blocks()) {
        window.hold.reset();
        return;
    }
    auto* holds = holds_ && !window.hold ? holds_() : nullptr;
    if (!holds)
        return;
    const std::uint32_t native[] = {static_cast<std::uint32_t>(window.winId())};
    window.hold = holds->cover(native, [this, id](const std::string& why) { letGo(id, why); });
}

// The window is already unmapped: closed for Qt too, and its owner told.
void QtOverlays::letGo(Id id, const std::string& why) {
    auto window = takeOut(id);
    if (!window)
        return;
    auto handler = std::move(window->letGo);
    const std::string owner = window->description().owner;
    window.release()->deleteLater();
    journal_.record(owner, "overlay", "closed " + std::to_string(id) + ": " + why);
    if (handler)
        handler(why);
}

bool QtOverlays::translucencyWorks() const {
    return translucency_ ? translucency_() : true;
}

std::vector<std::pair<Overlays::Id, OverlayDescription>> QtOverlays::shown() const {
    std::vector<std::pair<Id, OverlayDescription>> list;
    for (const auto& [id, window] : windows_)
        list.emplace_back(id, window->description());
    return list;
}

std::uint64_t QtOverlays::nativeWindow(Id id) const {
    auto found = windows_.find(id);
    return found == windows_.end() ? 0 : static_cast<std::uint64_t>(found->second->winId());
}

void QtOverlays::onPointer(Id id, PointerHandler handler) {
    if (auto found = windows_.find(id); found != windows_.end())
        found->second->setHandler(std::move(handler));
}

void QtOverlays::onLetGo(Id id, LetGoHandler handler) {
    if (auto found = windows_.find(id); found != windows_.end())
        found->second->letGo = std::move(handler);
}

void QtOverlays::setPainter(OverlayDescription::Content content, ContentPainter painter) {
    painters_[content] = std::move(painter);
    for (const auto& [id, window] : windows_)
        if (window->description().content == content)
            window->apply(window->description(), false);
}

bool QtOverlays::showsNative(std::uint64_t native) const {
    for (const auto& [id, window] : windows_)
        if (static_cast<std::uint64_t>(window->winId()) == native)
            return true;
    return false;
}

void QtOverlays::raiseInLevelOrder() {
    // Windows drawn nowhere have no stacking to keep.
    if (QGuiApplication::platformName() == QStringLiteral("offscreen"))
        return;
    std::vector<OverlayWindow*> raised;
    for (const auto& [id, window] : windows_)
        if (window->description().level > overlayLevel::normal)
            raised.push_back(window.get());
    // Oldest first within a level, so the newest of a level ends on top.
    std::stable_sort(raised.begin(), raised.end(), [](OverlayWindow* a, OverlayWindow* b) {
        return a->description().level < b->description().level;
    });
    for (auto* window : raised)
        window->raise();
}

}  // namespace quorvane::platform::qt
