#include "platform/windows/case_folding.h"

#include <windows.h>

#include <algorithm>

#include "platform/windows/win_error.h"

namespace quillmark::windows {

namespace {

// Ordinary upper-casing, as the automation runtime compares text: I and i pair in every locale,
// Turkish included (linguistic casing would pair i with a dotted capital there).
constexpr DWORD kUpperCasing = LCMAP_UPPERCASE;

// Large texts (whole mail bodies) are folded piece by piece: each call's length stays far inside
// an int, and the unit-by-unit fallback below never has to redo more than one piece.
constexpr std::size_t kPieceUnits = std::size_t{1} << 16;

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Upper-cases `length` units of `source` into `target`. Returns ERROR_SUCCESS when the result
// has exactly `length` units, ERROR_INSUFFICIENT_BUFFER when it would have another length (then
// `target` is unspecified), or the system's error when the text could not be mapped at all.
DWORD MapExactly(const char16_t* source, int length, char16_t* target) {
    const int written = LCMapStringEx(
        LOCALE_NAME_USER_DEFAULT, kUpperCasing, reinterpret_cast<const wchar_t*>(source), length,
        reinterpret_cast<wchar_t*>(target), length, nullptr, nullptr, 0);
    if (written == length) return ERROR_SUCCESS;
    return written == 0 ? GetLastError() : ERROR_INSUFFICIENT_BUFFER;
}

// Folds one code point (one unit, or a surrogate pair) at a time. A code point whose upper case
// would change the length is kept as it is, and so is a lone surrogate, which has no case.
void MapPointByPoint(const char16_t* source, std::size_t length, char16_t* target) {
    for (std::size_t i = 0; i < length;) {
        const bool pair =
            i + 1 < length && IsHighSurrogate(source[i]) && IsLowSurrogate(source[i + 1]);
        const int units = pair ? 2 : 1;
        const bool loneSurrogate =
            !pair && (IsHighSurrogate(source[i]) || IsLowSurrogate(source[i]));
        const DWORD result =
            loneSurrogate ? ERROR_INSUFFICIENT_BUFFER : MapExactly(source + i, units, target + i);
        if (result == ERROR_INSUFFICIENT_BUFFER) {
            std::copy_n(source + i, units, target + i);
        } else if (result != ERROR_SUCCESS) {
            ThrowWin32(result);
        }
        i += units;
    }
}

// Text of plain ASCII, by far the most of any mail body, folds the same in every locale under
// ordinary upper-casing: a to z become A to Z, nothing else changes. Folded here, in blocks that
// the compiler vectorises, it skips the system's tables. Returns false, with `target`
// unspecified, as soon as a block holds anything else.
bool MapAscii(const char16_t* source, std::size_t length, char16_t* target) {
    constexpr std::size_t kBlock = 64;
    for (std::size_t start = 0; start < length; start += kBlock) {
        const std::size_t end = std::min(length, start + kBlock);
        char16_t seen = 0;
        for (std::size_t i = start; i < end; ++i) {
            const char16_t unit = source[i];
            seen |= unit;
            target[i] =
                static_cast<char16_t>(unit - (static_cast<char16_t>(unit - u'a') < 26 ? 32 : 0));
        }
        if (seen >= 0x80) return false;
    }
    return true;
}

}  // namespace

std::u16string LocaleCaseFolding::ToUpper(std::u16string_view text) {
    std::u16string upper(text.size(), u'\0');
    for (std::size_t start = 0; start < text.size();) {
        std::size_t length = std::min(kPieceUnits, text.size() - start);
        // Never split a surrogate pair between two pieces.
        const std::size_t end = start + length;
        if (end < text.size() && length > 1 && IsHighSurrogate(text[end - 1]) &&
            IsLowSurrogate(text[end])) {
            --length;
        }
        // Any trouble with the piece as a whole (a length change, or text the system rejects)
        // is sorted out code point by code point.
        if (!MapAscii(text.data() + start, length, upper.data() + start) &&
            MapExactly(text.data() + start, static_cast<int>(length), upper.data() + start) !=
                ERROR_SUCCESS) {
            MapPointByPoint(text.data() + start, length, upper.data() + start);
        }
        start += length;
    }
    return upper;
}

}  // namespace quillmark::windows
