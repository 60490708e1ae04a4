#pragma once

// The sample message the benchmarks stamp, of any size: mostly repeated lines with some markup,
// ending as a message of its kind ends. The native benchmark and the benchmark driver under Wine
// (for items it generates) make the same text, so their figures compare.
//
//   std::u16string body = SampleMessage<char16_t>(MessageKind::kHtml, 25 << 20, true);

#include <cstddef>
#include <string>
#include <string_view>

namespace quillmark::bench {

enum class MessageKind { kHtml, kRtf, kPlain };

// About `bytes` bytes of UTF-16; with `marker`, an earlier message starts halfway through.
template <typename Char>
std::basic_string<Char> SampleMessage(MessageKind kind, std::size_t bytes, bool marker) {
    const bool html = kind == MessageKind::kHtml, rtf = kind == MessageKind::kRtf;
    const std::string_view line =
        html  ? "<div>Dear team, the <b>figures</b> for the quarter are attached.</div>\r\n"
        : rtf ? "\\pard Dear team, the {\\b figures} for the quarter are attached.\\par\r\n"
              : "Dear team, the figures for the quarter are attached.\r\n";
    const std::string_view head = html ? "<html><body>" : rtf ? "{\\rtf1\\ansi " : "";
    const std::string_view tail = html ? "</body></html>" : rtf ? "}\r\n" : "";
    const std::string_view earlier = "-----Original Message-----\r\n";
    const auto append = [](std::basic_string<Char>& text, std::string_view ascii) {
        text.append(ascii.begin(), ascii.end());
    };
    const std::size_t units = bytes / 2;
    std::basic_string<Char> text;
    text.reserve(units + line.size() + earlier.size());
    append(text, head);
    while (text.size() + line.size() + tail.size() < units) {
        if (marker && text.size() >= units / 2) {
            append(text, earlier);
            marker = false;
        }
        append(text, line);
    }
    append(text, tail);
    return text;
}

}  // namespace quillmark::bench
