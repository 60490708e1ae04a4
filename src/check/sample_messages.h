#pragma once

// The messages the check sends through the stamping routine: a new message and a reply in each
// body format, or a body an administrator gives in a file.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark::check {

struct MessageSample {
    std::u16string name;      // how the report names it: "HTML reply", or the file's name
    std::u16string fileName;  // the name of its stamped copy: "html-reply.html"
    std::u16string format;    // what the body-format probe answers: "HTML", "RTF" or "Text"
    std::u16string subject;
    std::u16string body;  // in that format
};

// HTML, RTF and plain text, each a new message and a reply carrying the earlier message.
std::vector<MessageSample> BuiltInSamples();

// The format a file name's extension stands for (.html, .htm, .rtf, .txt), or none.
std::optional<std::u16string> FormatOfFileName(std::u16string_view fileName);
// The format an option names (html, rtf, text), or none.
std::optional<std::u16string> FormatOfName(std::u16string_view name);

// The extension a body of that format is saved with.
std::u16string_view ExtensionOf(std::u16string_view format);

}  // namespace quillmark::check
