#include <gtest/gtest.h>

#include <BitMatrix.h>
#include <MultiFormatWriter.h>

#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <chrono>
#include <vector>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/posix/RecognitionHelper.hpp"
#include "support/TemporaryDirectory.hpp"
#include "adapters/recognition/TesseractRecognizer.hpp"
#include "adapters/recognition/ZxingBarcodeReader.hpp"

namespace quorvane::platform::recognition {
namespace {

const char* const lines[] = {
    "The quick brown fox jumps over the lazy dog.",
    "Pack my box with five dozen liquor jugs: 1234567890",
    "Sphinx of black quartz, judge my vow! (Extract Text)",
};

std::string png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

// Lines drawn as a screen draws them: antialiased, at the pixel size given.
QImage textImage(const QString& family, int pixelSize, bool lightOnDark, int lineCount = 3,
                 QSize extra = {}) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    const int lineHeight = pixelSize * 3 / 2;
    QImage image(pixelSize * 34 + 20 + extra.width(), lineHeight * lineCount + 20 + extra.height(),
                 QImage::Format_RGB32);
    image.fill(lightOnDark ? QColor(30, 30, 34) : QColor(250, 250, 250));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(lightOnDark ? QColor(235, 235, 235) : QColor(20, 20, 20));
    for (int i = 0; i < lineCount; ++i)
        painter.drawText(10, 10 + lineHeight * i + pixelSize, QString::fromUtf8(lines[i]));
    return image;
}

std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// A barcode as ZXing's writer makes it, `scale` pixels a module, with a
// quiet zone.
QImage barcodeImage(ZXing::BarcodeFormat format, const std::string& content, int scale) {
    const auto matrix = ZXing::MultiFormatWriter(format).setMargin(0).encode(content, 0, 0);
    const int quiet = 10 * scale;
    QImage image(matrix.width() * scale + 2 * quiet,
                 std::max(matrix.height(), format == ZXing::BarcodeFormat::QRCode ||
                                                   format == ZXing::BarcodeFormat::DataMatrix
                                               ? matrix.height()
                                               : 40) *
                         scale +
                     2 * quiet,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    const bool linear = matrix.height() == 1;
    for (int y = 0; y < image.height() - 2 * quiet; ++y)
        for (int x = 0; x < matrix.width() * scale; ++x)
            if (matrix.get(x / scale, linear ? 0 : y / scale))
                image.setPixel(quiet + x, quiet + y, qRgb(0, 0, 0));
    return image;
}

struct Recognition : ::testing::Test {
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "recognition";
        static char* argv[] = {name};
        static QGuiApplication application(argc, argv);
    }
    memory::MemoryLog log;
    TesseractRecognizer text{log};
    ZxingBarcodeReader barcodes;
};

TEST_F(Recognition, readsScreenTextInThreeFamiliesAndFourSizes) {
    std::string expected;
    for (const char* line : lines)
        expected += std::string(line) + "\n";
    std::size_t errors = 0;
    std::size_t total = 0;
    for (const char* family : {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono"})
        for (int size : {11, 13, 16, 24})
            for (bool inverted : {false, true}) {
                SCOPED_TRACE(std::string(family) + " " + std::to_string(size) + " px" +
                             (inverted ? ", light on dark" : ""));
                const auto read = text.recognizeText(png(textImage(family, size, inverted)));
                ASSERT_TRUE(read.has_value());
                const std::size_t distance = editDistance(*read, expected);
                EXPECT_LE(distance * 100, expected.size()) << *read;
                errors += distance;
                total += expected.size();
            }
    std::cout << "character error rate: " << 100.0 * double(errors) / double(total) << " %\n";
}

TEST_F(Recognition, twoLinesGiveBothAndBarcodesGiveTheirText) {
    EXPECT_EQ(text.recognizeText(png(textImage("DejaVu Sans", 16, false, 2))),
              std::string(lines[0]) + "\n" + lines[1] + "\n");

    const std::string link = "https://example.org/p\xC3\xA4th";
    const auto qr = png(barcodeImage(ZXing::BarcodeFormat::QRCode, link, 1));
    EXPECT_EQ(barcodes.readBarcode(qr), link);
    EXPECT_EQ(barcodes.readBarcode(png(barcodeImage(ZXing::BarcodeFormat::EAN13, "4006381333931", 2))),
              "4006381333931");
    EXPECT_EQ(barcodes.readBarcode(png(barcodeImage(ZXing::BarcodeFormat::Code128, "QV-2026/12", 2))),
              "QV-2026/12");
    EXPECT_EQ(barcodes.readBarcode(png(barcodeImage(ZXing::BarcodeFormat::DataMatrix, "matrix 42", 3))),
              "matrix 42");

    // A blank picture and bytes that are no picture hold nothing.
    QImage blank(300, 200, QImage::Format_RGB32);
    blank.fill(Qt::white);
    EXPECT_EQ(text.recognizeText(png(blank)), std::nullopt);
    EXPECT_EQ(barcodes.readBarcode(png(blank)), std::nullopt);
    EXPECT_EQ(text.recognizeText("not a picture"), std::nullopt);
    EXPECT_EQ(barcodes.readBarcode(""), std::nullopt);

    // Timing of a warm recognition, for the notes.
    const auto thirteen = png(textImage("DejaVu Sans", 13, false));
    const auto start = std::chrono::steady_clock::now();
    (void)text.recognizeText(thirteen);
    std::cout << "13 px, three lines: "
              << std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                     .count()
              << " ms\n";
}

// The program's own reader, in its process: the same answers, one process
// kept warm between pictures, gone once released or broken.
TEST_F(Recognition, theReaderProcessAnswersStaysWarmAndGoesWhenReleasedOrBroken) {
    posix::RecognitionHelper helper{log, QUORVANE_RECOGNIZE};
    EXPECT_EQ(helper.recognizeText(png(textImage("DejaVu Sans", 16, false, 2))),
              std::string(lines[0]) + "\n" + lines[1] + "\n");
    const auto first = helper.helper();
    ASSERT_TRUE(first);
    const std::string link = "https://example.org/p\xC3\xA4th";
    EXPECT_EQ(helper.readBarcode(png(barcodeImage(ZXing::BarcodeFormat::QRCode, link, 1))), link);
    EXPECT_EQ(helper.readBarcode(png(textImage("DejaVu Sans", 16, false, 1))), std::nullopt);
    EXPECT_EQ(helper.helper(), first) << "a second picture started another reader";

    helper.release();
    EXPECT_FALSE(helper.helper());
    EXPECT_NE(::kill(*first, 0), 0) << "the released reader still runs";

    // Killed under us: that picture reads nothing, the next starts afresh.
    EXPECT_TRUE(helper.recognizeText(png(textImage("DejaVu Sans", 16, false, 1))));
    ::kill(*helper.helper(), SIGKILL);
    EXPECT_EQ(helper.recognizeText(png(textImage("DejaVu Sans", 16, false, 1))), std::nullopt);
    EXPECT_TRUE(log.contains("the text reader did not answer"));
    // The same picture's barcode is not asked of a reader started again.
    const auto qr = png(barcodeImage(ZXing::BarcodeFormat::QRCode, link, 1));
    EXPECT_EQ(helper.readBarcode(qr), std::nullopt);
    EXPECT_FALSE(helper.helper());
    EXPECT_EQ(helper.readBarcode(qr), link);
    EXPECT_EQ(helper.recognizeText(png(textImage("DejaVu Sans", 16, false, 1))),
              std::string(lines[0]) + "\n");
}

TEST_F(Recognition, aReaderThatHangsOrIsMissingReadsNothingAndIsEnded) {
    testing::TemporaryDirectory folder;
    const auto hanging = folder.path() / "hangs";
    const auto pidFile = folder.path() / "pid";
    // It reads nothing: a screen-sized picture fills the socket long before
    // it is all sent, so the sending side must give up too.
    std::ofstream(hanging) << "#!/bin/sh\necho $$ > '" << pidFile.string() << "'\nexec sleep 30\n";
    std::filesystem::permissions(hanging, std::filesystem::perms::owner_all);
    posix::RecognitionHelper stuck{log, hanging, std::chrono::milliseconds(300)};
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(stuck.recognizeText(std::string(8u << 20, 'x')), std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    pid_t pid = 0;
    std::ifstream(pidFile) >> pid;
    ASSERT_GT(pid, 0);
    EXPECT_NE(::kill(pid, 0), 0) << "a reader past its patience was left running";

    posix::RecognitionHelper missing{log, folder.path() / "none"};
    EXPECT_EQ(missing.readBarcode("picture"), std::nullopt);
    EXPECT_FALSE(missing.helper());
}

}  // namespace
}  // namespace quorvane::platform::recognition
