#include "adapters/recognition/TesseractRecognizer.hpp"

#include <omp.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <QPainter>

#include "adapters/recognition/ImageDecoding.hpp"
#include "adapters/recognition/ZxingBarcodeReader.hpp"

namespace quorvane::platform::recognition {

namespace {

// Tesseract reads text best with capitals some 30 pixels tall; screen text
// is often a third of that.
constexpr int smallImageHeight = 600;

}  // namespace

TesseractRecognizer::TesseractRecognizer(Log& log) : log_(log) {}

TesseractRecognizer::~TesseractRecognizer() {
    if (api_)
        api_->End();
}

void TesseractRecognizer::release() {
    // A missing language stays missing: only a loaded engine is let go.
    if (!api_)
        return;
    api_->End();
    api_.reset();
    tried_ = false;
}

std::optional<std::string> TesseractRecognizer::recognizeText(const std::string& image) {
    if (!tried_) {
        tried_ = true;
        // Tesseract asks OpenMP for four threads, which spin while they
        // wait: on two cores that made a recognition ten times slower, not
        // faster. Dynamic adjustment caps every team this thread (the one
        // executor that recognises) starts at the one thread it allows.
        omp_set_dynamic(1);
        omp_set_num_threads(1);
        auto api = std::make_unique<tesseract::TessBaseAPI>();
        if (api->Init(nullptr, "eng", tesseract::OEM_LSTM_ONLY) != 0) {
            log_.warning("TextRecognition",
                         "no English language data for Tesseract (install tesseract-ocr-eng): "
                         "only barcodes are read");
            return std::nullopt;
        }
        api->SetPageSegMode(tesseract::PSM_AUTO);
        api_ = std::move(api);
    }
    if (!api_)
        return std::nullopt;
    auto grey = greyForReading(image);
    if (!grey || grey->width() < 4 || grey->height() < 4)
        return std::nullopt;
    // A barcode's modules read as stray letters: they are left out, so a
    // code alone holds no text and a code beside text adds none.
    if (const auto codes = barcodeAreas(*grey); !codes.empty()) {
        QPainter painter(&*grey);
        for (const QRect& area : codes)
            painter.fillRect(area, Qt::white);
    }
    if (grey->height() < smallImageHeight)
        *grey = grey->scaled(grey->width() * 2, grey->height() * 2, Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
    api_->SetImage(grey->constBits(), grey->width(), grey->height(), 1,
                   static_cast<int>(grey->bytesPerLine()));
    api_->SetSourceResolution(300);
    if (api_->Recognize(nullptr) != 0)
        return std::nullopt;
    std::string text;
    std::unique_ptr<tesseract::ResultIterator> lines(api_->GetIterator());
    if (lines) {
        do {
            std::unique_ptr<char[]> line(lines->GetUTF8Text(tesseract::RIL_TEXTLINE));
            if (!line)
                continue;
            std::string content(line.get());
            while (!content.empty() && (content.back() == '\n' || content.back() == ' '))
                content.pop_back();
            if (!content.empty())
                text += content + "\n";
        } while (lines->Next(tesseract::RIL_TEXTLINE));
    }
    api_->Clear();
    if (text.empty())
        return std::nullopt;
    return text;
}

}  // namespace quorvane::platform::recognition
