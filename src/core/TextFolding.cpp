#include "core/TextFolding.hpp"

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <vector>

namespace quorvane::core {

namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool containsFolded(std::string_view text, std::string_view foldedNeedle) {
    // ASCII folds to ASCII, so a needle that is not ASCII cannot match it.
    if (isAscii(text))
        return std::search(text.begin(), text.end(), foldedNeedle.begin(), foldedNeedle.end(),
                           [](char a, char b) { return lowerAscii(a) == b; }) != text.end();
    return foldedForSearch(text).find(foldedNeedle) != std::string::npos;
}

std::string foldedForSearch(std::string_view utf8) {
    // Plain ASCII, the common case, folds to lower case without ICU.
    if (isAscii(utf8)) {
        std::string lower(utf8);
        for (char& c : lower)
            c = lowerAscii(c);
        return lower;
    }
    UErrorCode status = U_ZERO_ERROR;
    const auto length = static_cast<int32_t>(utf8.size());
    // UTF-16 never takes more code units than UTF-8 takes bytes.
    std::vector<UChar> wide(utf8.size() + 1);
    int32_t wideLength = 0;
    u_strFromUTF8WithSub(wide.data(), static_cast<int32_t>(wide.size()), &wideLength, utf8.data(),
                         length, 0xFFFD, nullptr, &status);
    if (U_FAILURE(status))
        return std::string(utf8);
    // Full folding can grow a text up to three times ("ΐ" becomes three).
    std::vector<UChar> folded(static_cast<std::size_t>(wideLength) * 3 + 1);
    const int32_t foldedLength =
        u_strFoldCase(folded.data(), static_cast<int32_t>(folded.size()), wide.data(),
                      wideLength, U_FOLD_CASE_DEFAULT, &status);
    if (U_FAILURE(status))
        return std::string(utf8);
    std::string out(static_cast<std::size_t>(foldedLength) * 3 + 1, '\0');
    int32_t outLength = 0;
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &outLength, folded.data(),
                foldedLength, &status);
    if (U_FAILURE(status))
        return std::string(utf8);
    out.resize(static_cast<std::size_t>(outLength));
    return out;
}

std::string_view trimmedOfWhiteSpace(std::string_view utf8) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    // One pass forward: where the first character that is not white space
    // starts, and where the last one ends. A malformed byte counts as text.
    int32_t start = -1;
    int32_t end = 0;
    for (int32_t at = 0; at < length;) {
        const int32_t here = at;
        UChar32 c = 0;
        U8_NEXT(bytes, at, length, c);
        if (c >= 0 && u_isUWhiteSpace(c))
            continue;
        if (start < 0)
            start = here;
        end = at;
    }
    if (start < 0)
        return {};
    return utf8.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

bool isAlphanumericText(std::string_view utf8, std::string_view alsoAllowed) {
    if (utf8.empty())
        return false;
    const auto length = static_cast<int32_t>(utf8.size());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
    for (int32_t at = 0; at < length;) {
        UChar32 c = 0;
        U8_NEXT(bytes, at, length, c);
        if (c < 0)
            return false;
        if (c < 0x80 && alsoAllowed.find(static_cast<char>(c)) != std::string_view::npos)
            continue;
        if ((U_GET_GC_MASK(c) & (U_GC_L_MASK | U_GC_M_MASK | U_GC_N_MASK)) == 0)
            return false;
    }
    return true;
}

}  // namespace quorvane::core
