// The entry points of the recognition module (see RecognitionModule).
#include "adapters/recognition/TesseractRecognizer.hpp"
#include "adapters/recognition/ZxingBarcodeReader.hpp"

extern "C" __attribute__((visibility("default"))) quorvane::platform::TextRecognizer*
quorvane_make_text_recognizer(quorvane::platform::Log* log) {
    return new quorvane::platform::recognition::TesseractRecognizer(*log);
}

extern "C" __attribute__((visibility("default"))) quorvane::platform::BarcodeReader*
quorvane_make_barcode_reader(quorvane::platform::Log*) {
    return new quorvane::platform::recognition::ZxingBarcodeReader;
}
