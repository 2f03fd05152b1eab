#include <QAccessible>
#include <QApplication>
#include <QTest>

#include "ui/Switch.hpp"
#include "ui/UiFixture.hpp"

namespace quorvane::ui {
namespace {

struct SwitchTest : testing::UiFixture {};

TEST_F(SwitchTest, spaceTogglesItTheKnobSlidesAndAccessibilitySeesItsState) {
    QWidget window;
    auto* toggle = new Switch(QStringLiteral("Play sound effect"), &window);
    toggle->setAccessibleName(QStringLiteral("Play sound effect"));
    window.show();
    toggle->setFocus();
    std::vector<bool> changes;
    QObject::connect(toggle, &Switch::toggled, [&](bool on) { changes.push_back(on); });

    QTest::keyClick(toggle, Qt::Key_Space);
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(changes, std::vector<bool>{true});
    EXPECT_TRUE(QTest::qWaitFor([&] { return toggle->knobPosition() == 1.0; }, 1000));

    auto* accessible = QAccessible::queryAccessibleInterface(toggle);
    ASSERT_TRUE(accessible);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Play sound effect");
    EXPECT_TRUE(accessible->state().checkable);
    EXPECT_TRUE(accessible->state().checked);

    // Set from the Store: no animation, the knob is simply there.
    toggle->setChecked(false);
    EXPECT_EQ(toggle->knobPosition(), 0.0);
    EXPECT_FALSE(accessible->state().checked);

    toggle->setEnabled(false);
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(toggle->isChecked());
    // Wide enough for its title and track.
    EXPECT_GT(toggle->sizeHint().width(),
              toggle->fontMetrics().horizontalAdvance(toggle->text()) + Switch::trackWidth);
}

}  // namespace
}  // namespace quorvane::ui

#include "core/HUD.hpp"
#include "ui/Symbols.hpp"

namespace quorvane::ui {
namespace {

// Every symbol the feedback label names is drawn, crisply at 2×.
TEST_F(SwitchTest, everyFeedbackSymbolIsDrawn) {
    for (auto hud : core::allHUDs) {
        const auto symbol = core::hudLabel(hud).symbol;
        SCOPED_TRACE(std::string(symbol));
        EXPECT_TRUE(isKnownSymbol(symbol));
        const QImage image = symbolPixmap(symbol, 18, Qt::white, 2.0).toImage();
        EXPECT_EQ(image.width(), 36);
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                inked += qAlpha(image.pixel(x, y)) > 128;
        EXPECT_GT(inked, 100);
        EXPECT_LT(inked, 36 * 36);  // a mark, not a blot
    }
}

// A mark's lines, their round ends and corners are one solid shape: where
// they overlap nothing is left out, in a mark drawn or knocked out.
TEST_F(SwitchTest, linesMeetTheirEndsAndCornersWithoutGaps) {
    auto alphaAt = [](const QImage& image, QPointF onGrid) {  // a 24 × 24 grid drawn at 48
        return qAlpha(image.pixel(static_cast<int>(onGrid.x() * 2), static_cast<int>(onGrid.y() * 2)));
    };
    const QImage info = symbolPixmap("info.circle", 48, Qt::white, 1.0).toImage();
    EXPECT_GT(alphaAt(info, {12, 2}), 200);      // the ring
    EXPECT_EQ(alphaAt(info, {7, 12}), 0);        // inside it
    EXPECT_GT(alphaAt(info, {12, 16.3}), 200);   // the line where its round end overlaps it
    EXPECT_GT(alphaAt(info, {12, 17.4}), 200);   // the round end past the line
    const QImage check = symbolPixmap("checkmark.circle.fill", 48, Qt::white, 1.0).toImage();
    EXPECT_EQ(alphaAt(check, {10.5, 15.8}), 0);  // the corner, knocked out
    EXPECT_EQ(alphaAt(check, {7.2, 12.6}), 0);   // an end, knocked out
    EXPECT_GT(alphaAt(check, {4, 12}), 200);     // the disc around the mark
}

}  // namespace
}  // namespace quorvane::ui

#include <QPainter>
#include <cmath>

#include "core/catalogue/BuiltinCatalogue.hpp"
#include "ui/EmojiImages.hpp"

namespace quorvane::ui {
namespace {

// Every catalogue icon comes out drawn by the colour emoji font (shaded,
// not a text font's plain black outline) and as one glyph, not a sequence
// drawn in pieces.
TEST_F(SwitchTest, everyCatalogueIconIsOneColourGlyph) {
    for (const auto& row : core::builtinCatalogue()) {
        const QString emoji = QString::fromStdString(row.info.icon);
        SCOPED_TRACE(row.info.id + " " + row.info.icon);
        const QImage image = EmojiImages::image(emoji, 32).toImage().convertToFormat(
            QImage::Format_ARGB32);
        int painted = 0;
        int left = image.width();
        int right = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.alpha() < 40)
                    continue;
                left = std::min(left, x);
                right = std::max(right, x);
                // A text glyph is the pen's black at varying coverage.
                if (pixel.alpha() > 200 && pixel.value() > 20)
                    ++painted;
            }
        EXPECT_GT(painted, 8);
        // One glyph fits the square; two side by side would be cut at its edges.
        EXPECT_GT(left, 0);
        EXPECT_LT(right, image.width() - 1);
    }
}

// The colour font draws a few symbols (the keyboard, the mouse) as white
// objects with faint shading: each comes out standing off a light window,
// and still off a dark one.
TEST_F(SwitchTest, paleSymbolsStandOffLightAndDarkWindows) {
    auto luminance = [](const QColor& colour) {
        return 0.2126 * colour.redF() + 0.7152 * colour.greenF() + 0.0722 * colour.blueF();
    };
    for (const char* emoji : {"⌨️", "🖱️"})
        for (int size : {16, 34})
            for (const QColor window : {QColor(Qt::white), QColor(0x1e, 0x1e, 0x1e)}) {
                SCOPED_TRACE(std::string(emoji) + " at " + std::to_string(size) + " on " +
                             window.name().toStdString());
                const QImage glyph = EmojiImages::image(QString::fromUtf8(emoji), size)
                                         .toImage()
                                         .convertToFormat(QImage::Format_ARGB32);
                QImage shown(glyph.size(), QImage::Format_ARGB32);
                shown.fill(window);
                QPainter(&shown).drawImage(0, 0, glyph);
                int opaque = 0;
                int standing = 0;
                for (int y = 0; y < glyph.height(); ++y)
                    for (int x = 0; x < glyph.width(); ++x) {
                        if (qAlpha(glyph.pixel(x, y)) < 128)
                            continue;
                        ++opaque;
                        standing +=
                            std::abs(luminance(shown.pixelColor(x, y)) - luminance(window)) > 0.3;
                    }
                ASSERT_GT(opaque, 0);
                EXPECT_GE(standing * 5, opaque);  // a fifth of the symbol at least
            }
}

}  // namespace
}  // namespace quorvane::ui

#include <QFile>
#include <QFileInfo>
#include <QPixmapCache>

#include "adapters/memory/MemoryLog.hpp"
#include "support/NotAFile.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane::ui {
namespace {

// Emoji images kept in a folder, drawn by a counting stand-in.
struct KeptImagesTest : testing::UiFixture {
    ~KeptImagesTest() override { EmojiImages::setCacheFolder({}); }

    // Draws a square of one colour, counting the drawings.
    std::function<QPixmap()> square(QColor colour, int side = 12) {
        return [this, colour, side] {
            ++drawn;
            QPixmap pixmap(side, side);
            pixmap.fill(colour);
            return pixmap;
        };
    }
    // A later run: a new folder setting reads the file anew.
    void nextRun() {
        QPixmapCache::clear();
        EmojiImages::setCacheFolder(cache);
    }

    quorvane::testing::TemporaryDirectory folder;
    const QString cache = QString::fromStdString(folder.path().string());
    const QString file = cache + "/emoji.pack";
    int drawn = 0;
};

// Kept images are read back as the same pixels in a later run, without
// drawing them again. A file cut short (a crash mid-write) or of another
// format is never read past its whole records, and its damaged tail is cut
// off so that what is appended next is found again.
TEST_F(KeptImagesTest, keptImagesReadBackAndDamagedOnesAreDrawnAgain) {
    nextRun();
    const QImage red = EmojiImages::drawing("red", 12, square(Qt::red)).toImage();
    const QImage blue = EmojiImages::drawing("blue", 12, square(Qt::blue)).toImage();
    ASSERT_EQ(drawn, 2);
    nextRun();
    EXPECT_EQ(EmojiImages::drawing("red", 12, square(Qt::green)).toImage(), red);
    EXPECT_EQ(EmojiImages::drawing("blue", 12, square(Qt::green)).toImage(), blue);
    EXPECT_EQ(drawn, 2);
    EmojiImages::drawing("red@24", 24, square(Qt::red, 24));
    EXPECT_EQ(drawn, 3);
    // The file grows with every image ever drawn: once its records are
    // found it holds no memory (its pages are not left mapped).
    QFile maps("/proc/self/maps");
    if (maps.open(QIODevice::ReadOnly)) {
        EXPECT_FALSE(maps.readAll().contains(QFile::encodeName(file)));
    }

    const qint64 whole = QFileInfo(file).size();
    ASSERT_GT(whole, (2 * 12 * 12 + 24 * 24) * 4);
    // The last record cut short: the first two are read, the third drawn
    // again and appended after the cut, then read like the others.
    ASSERT_TRUE(QFile::resize(file, whole - 100));
    nextRun();
    EmojiImages::drawing("red", 12, square(Qt::green));
    EmojiImages::drawing("blue", 12, square(Qt::green));
    EXPECT_EQ(drawn, 3);
    EmojiImages::drawing("red@24", 24, square(Qt::red, 24));
    EXPECT_EQ(drawn, 4);
    nextRun();
    EmojiImages::drawing("red@24", 24, square(Qt::green, 24));
    EXPECT_EQ(drawn, 4);
    EXPECT_EQ(QFileInfo(file).size(), whole);

    // Not a file of records at all: everything is drawn again, and kept.
    for (const QByteArray& damage : {QByteArray(), QByteArray(8, '\xff'), QByteArray(300, 'x')}) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(damage);
        out.close();
        nextRun();
        EXPECT_EQ(EmojiImages::drawing("red", 12, square(Qt::red)).toImage(), red);
        nextRun();
        const int before = drawn;
        EXPECT_EQ(EmojiImages::drawing("red", 12, square(Qt::green)).toImage(), red);
        EXPECT_EQ(drawn, before);
    }
    // A real emoji goes the same way.
    const QImage fog = EmojiImages::image(QStringLiteral("🌁"), 20).toImage();
    nextRun();
    EXPECT_EQ(EmojiImages::image(QStringLiteral("🌁"), 20).toImage(), fog);
}

// A byte changed inside a kept image's pixels (a bad sector, a stray
// write): that image is drawn again, not shown damaged, and kept again, so
// the run after reads it; the others are still read.
TEST_F(KeptImagesTest, aKeptImageWhosePixelsChangedIsDrawnAgainAndKeptAgain) {
    nextRun();
    const QImage red = EmojiImages::drawing("red", 12, square(Qt::red)).toImage();
    const QImage blue = EmojiImages::drawing("blue", 12, square(Qt::blue)).toImage();
    ASSERT_EQ(drawn, 2);

    // Blue was kept last: its pixels end the file.
    const qint64 whole = QFileInfo(file).size();
    {
        QFile pack(file);
        ASSERT_TRUE(pack.open(QIODevice::ReadWrite));
        ASSERT_TRUE(pack.seek(whole - 50));
        char byte = 0;
        ASSERT_TRUE(pack.getChar(&byte));
        ASSERT_TRUE(pack.seek(whole - 50));
        ASSERT_TRUE(pack.putChar(char(~byte)));
    }
    nextRun();
    EXPECT_EQ(EmojiImages::drawing("red", 12, square(Qt::green)).toImage(), red);
    EXPECT_EQ(drawn, 2);
    EXPECT_EQ(EmojiImages::drawing("blue", 12, square(Qt::blue)).toImage(), blue);
    EXPECT_EQ(drawn, 3);
    const qint64 mended = QFileInfo(file).size();
    EXPECT_GT(mended, whole);
    nextRun();
    EXPECT_EQ(EmojiImages::drawing("blue", 12, square(Qt::green)).toImage(), blue);
    EXPECT_EQ(drawn, 3);
    EXPECT_EQ(QFileInfo(file).size(), mended);
}

// A FIFO, a folder or a runaway file where the pack should be never holds
// up start-up (the first image drawn): it is set aside, with a log line, and
// a new pack is started and read back by the next run.
TEST_F(KeptImagesTest, whatIsNotAPackInItsPlaceIsSetAsideAndANewOneKept) {
    using quorvane::testing::NotAFile;
    platform::memory::MemoryLog heard;
    std::ptrdiff_t setAside = 0;
    for (const auto kind : {NotAFile::fifo, NotAFile::folder, NotAFile::runaway}) {
        const auto pack = folder.path() / "emoji.pack";
        std::filesystem::remove_all(pack);
        ASSERT_TRUE(quorvane::testing::putInPlace(kind, pack)) << nameOf(kind);
        QPixmapCache::clear();
        EmojiImages::setCacheFolder(cache, &heard);
        quorvane::testing::FifoRescue rescue(pack);
        const int before = drawn;
        const QImage red = EmojiImages::drawing("red", 12, square(Qt::red)).toImage();
        rescue.done();
        EXPECT_FALSE(rescue.rescued()) << nameOf(kind) << ": start-up waited on it";
        EXPECT_EQ(drawn, before + 1);
        EXPECT_EQ(std::ranges::count_if(heard.lines,
                                        [&](const auto& line) {
                                            return line.message.find(
                                                       "kept it as " + pack.string() +
                                                       ".undecodable-") != std::string::npos;
                                        }),
                  ++setAside)
            << nameOf(kind);

        QPixmapCache::clear();
        EmojiImages::setCacheFolder(cache, &heard);
        EXPECT_EQ(EmojiImages::drawing("red", 12, square(Qt::green)).toImage(), red);
        EXPECT_EQ(drawn, before + 1) << nameOf(kind) << ": the new pack was not read back";
        EXPECT_TRUE(std::filesystem::is_regular_file(pack));
    }
    EmojiImages::setCacheFolder({});  // before `heard` goes
}

}  // namespace
}  // namespace quorvane::ui
