#include <BitMatrix.h>
#include <MultiFormatWriter.h>

#include <QFont>
#include <QImage>
#include <QPainter>

#include <thread>

#include "text/ExtractTextTask.hpp"
#include "text/TextFixture.hpp"

namespace quorvane::text {
namespace {

namespace pb = platform::pasteboardType;
using platform::PasteboardContents;

struct ExtractText : TextFixture {
    // Runs the tweak and waits until it has journaled how it ended.
    void extract() {
        ExtractTextTask task({.id = "ExtractTextTask", .name = "Extract Text"}, services);
        extractWith(task);
    }
    void extractWith(ExtractTextTask& task) {
        const auto before = journal.entries().size();
        (void)task.run();
        for (int i = 0; i < 500; ++i) {
            settle();
            const auto entries = journal.entries();
            // Done once the last entry is anything but the region read.
            if (entries.size() > before && !entries.back().detail.starts_with("region of"))
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "Extract Text did not finish";
    }

    // What the simulated screenshot tool will capture next.
    void onScreen(const QImage& picture) {
        const auto path = folder.path() / "picture.png";
        ASSERT_TRUE(picture.save(QString::fromStdString(path.string())));
        ASSERT_TRUE(simHome.setCapturePicture(path));
    }

    std::vector<std::string> details() const {
        std::vector<std::string> all;
        for (const auto& entry : journal.entries())
            all.push_back(entry.kind + ": " + entry.detail);
        return all;
    }
};

QImage picture(const QStringList& lines, const std::string& qr = {}) {
    QImage image(760, 240, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font("DejaVu Sans");
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(20, 40 + 28 * i, lines[i]);
    if (!qr.empty()) {
        const auto matrix = ZXing::MultiFormatWriter(ZXing::BarcodeFormat::QRCode).encode(qr, 0, 0);
        for (int y = 0; y < matrix.height(); ++y)
            for (int x = 0; x < matrix.width(); ++x)
                if (matrix.get(x, y))
                    painter.fillRect(520 + 4 * x, 30 + 4 * y, 4, 4, Qt::black);
    }
    return image;
}

TEST_F(ExtractText, theEngineStaysAMinuteAfterThePictureThenIsLetGo) {
    ExtractTextTask task({.id = "ExtractTextTask", .name = "Extract Text"}, services);
    onScreen(picture({"Quorvane reads this line"}));
    extractWith(task);
    EXPECT_TRUE(textRecognizer.holdsEngine());
    queue.advance(ExtractTextTask::keepEngine - std::chrono::seconds(1));
    settle();
    EXPECT_TRUE(textRecognizer.holdsEngine());

    // Another picture within the minute finds it warm, and starts the minute again.
    onScreen(picture({"and this second one"}));
    extractWith(task);
    queue.advance(std::chrono::seconds(2));
    settle();
    EXPECT_TRUE(textRecognizer.holdsEngine());
    queue.advance(ExtractTextTask::keepEngine);
    settle();
    EXPECT_FALSE(textRecognizer.holdsEngine());

    // Let go, it loads again for the next picture.
    onScreen(picture({"Quorvane reads this line"}));
    extractWith(task);
    EXPECT_EQ(pasteboard.string(), "Quorvane reads this line\n");
    EXPECT_TRUE(textRecognizer.holdsEngine());
}

TEST_F(ExtractText, copiesTheTextElseTheCodeAndNeverAnEarlierCapture) {
    pasteboard.setString("before");
    onScreen(picture({"Quorvane reads this line", "and this second one"}));
    extract();
    EXPECT_EQ(pasteboard.string(), "Quorvane reads this line\nand this second one\n");
    EXPECT_EQ(screenClears, 1);

    // A QR code alone gives its payload; beside text, the text wins.
    onScreen(picture({}, "https://example.org/p\xC3\xA4th"));
    extract();
    EXPECT_EQ(pasteboard.string(), "https://example.org/p\xC3\xA4th");
    onScreen(picture({"Text beside a code"}, "payload"));
    extract();
    EXPECT_EQ(pasteboard.string(), "Text beside a code\n");

    // A cancelled selection after those captures copies nothing, and no
    // capture file is left behind.
    ASSERT_TRUE(simHome.setCapturePicture(std::nullopt));
    pasteboard.setString("kept");
    extract();
    EXPECT_EQ(pasteboard.snapshot(), (PasteboardContents{{pb::string, "kept"}}));
    EXPECT_EQ(details().back(), "capture: no region chosen");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "run" / "capture.png"));

    // A blank region leaves the pasteboard as it was.
    onScreen(picture({}));
    extract();
    EXPECT_EQ(pasteboard.string(), "kept");
    EXPECT_EQ(details().back(), "capture: no text or barcode found");
}

TEST_F(ExtractText, withoutScreenRecordingItAsksAndCapturesNothing) {
    ASSERT_TRUE(simHome.setGranted(platform::Permission::screenRecording, false));
    onScreen(picture({"Secret"}));
    pasteboard.setString("kept");
    extract();
    EXPECT_EQ(details().back(), "permission request: Screen Recording");
    EXPECT_EQ(screenClears, 0);
    EXPECT_EQ(pasteboard.string(), "kept");
}

}  // namespace
}  // namespace quorvane::text
