#include "stamping/text_search.h"

namespace quillmark::stamping {

bool ContainsIgnoringCase(CaseFolding& folding, std::u16string_view text,
                          std::u16string_view word) {
    return FindIgnoringCase(folding, text, word) != std::u16string_view::npos;
}

std::size_t FindIgnoringCase(CaseFolding& folding, std::u16string_view text,
                             std::u16string_view word) {
    return std::u16string_view(folding.ToUpper(text)).find(folding.ToUpper(word));
}

std::size_t FindLastIgnoringCase(CaseFolding& folding, std::u16string_view text,
                                 std::u16string_view word) {
    return std::u16string_view(folding.ToUpper(text)).rfind(folding.ToUpper(word));
}

std::u16string ReplaceIgnoringCase(CaseFolding& folding, std::u16string_view text,
                                   std::u16string_view token, std::u16string_view value) {
    if (token.empty()) return std::u16string(text);
    const std::u16string foldedText = folding.ToUpper(text);
    const std::u16string foldedToken = folding.ToUpper(token);
    std::u16string result;
    result.reserve(text.size());
    std::size_t copiedUpTo = 0;
    for (std::size_t match = foldedText.find(foldedToken); match != std::u16string::npos;
         match = foldedText.find(foldedToken, copiedUpTo)) {
        result.append(text, copiedUpTo, match - copiedUpTo);
        result.append(value);
        copiedUpTo = match + token.size();
    }
    result.append(text, copiedUpTo);
    return result;
}

}  // namespace quillmark::stamping
