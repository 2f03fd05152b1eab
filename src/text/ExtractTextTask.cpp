#include "text/ExtractTextTask.hpp"

#include "platform/PasteboardJournal.hpp"

namespace quorvane::text {

namespace {

// What a picture gives to copy: its text, else the text of a barcode in it.
std::optional<std::string> textOfPicture(platform::TextRecognizer& text,
                                         platform::BarcodeReader& barcodes, const std::string& image) {
    if (auto read = text.recognizeText(image))
        return read;
    return barcodes.readBarcode(image);
}

}  // namespace

core::RunOutcome ExtractTextTask::run() {
    if (!services_.permissions.isGranted(platform::Permission::screenRecording)) {
        services_.permissionAsker.ask(platform::Permission::screenRecording);
        return core::RunOutcome::refused(platform::permissionNeeded(platform::Permission::screenRecording));
    }
    // Our own windows would stand in the way of the selection: cleared on
    // the next turn, after whatever the click that ran us shows in turn
    // (the notch banner).
    services_.mainQueue.post([this] {
        if (services_.clearScreen)
            services_.clearScreen();
        services_.capture.captureRegion(
            [this](std::optional<std::string> image) { captured(std::move(image)); });
    });
    return core::RunOutcome::done();
}

void ExtractTextTask::captured(std::optional<std::string> image) {
    if (!image) {
        services_.journal.record(id(), "capture", "no region chosen");
        return;
    }
    services_.journal.record(id(), "capture", "region of " + std::to_string(image->size()) + " bytes");
    services_.vision.submit([this, image = std::move(*image)] {
        auto found = textOfPicture(services_.textRecognizer, services_.barcodeReader, image);
        services_.mainQueue.post([this, found = std::move(found)] {
            letGo_.call([this] { services_.vision.submit([this] { services_.textRecognizer.release(); }); });
            if (!found) {
                services_.journal.record(id(), "capture", "no text or barcode found");
                return;
            }
            services_.pasteboard.setString(*found);
            platform::journalPasteboardWrite(services_.journal, id(),
                                   {{platform::pasteboardType::string, *found}});
        });
    });
}

}  // namespace quorvane::text
