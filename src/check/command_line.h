#pragma once

// The check program's command line.

#include <optional>
#include <string>
#include <vector>

namespace quillmark::check {

inline constexpr char16_t kUsage[] =
    u"Usage: quillmark-check [--app-name NAME]... [--body FILE [--format html|rtf|text]]\r\n"
    u"                       [--write-samples FOLDER] [--json]\r\n"
    u"\r\n"
    u"Shows the Quillmark settings in force for the current user and where each comes from,\r\n"
    u"the stamp a message sent now gets and where it goes, and every problem with its\r\n"
    u"consequence. Nothing is sent and no setting is changed.\r\n"
    u"\r\n"
    u"  --app-name NAME         check the settings under this application name (may be given\r\n"
    u"                          more than once); by default every name that holds Quillmark\r\n"
    u"                          settings\r\n"
    u"  --body FILE             stamp this message body too; its format comes from the file\r\n"
    u"                          name (.html, .htm, .rtf, .txt) or from --format\r\n"
    u"  --format FORMAT         html, rtf or text\r\n"
    u"  --write-samples FOLDER  write the stamped messages into FOLDER\\<application name>\r\n"
    u"  --json                  print the findings as JSON\r\n"
    u"  --help                  print this text\r\n"
    u"\r\n"
    u"Exit status: 0 every send would be stamped as configured; 1 a problem makes sends fail\r\n"
    u"or stamp nothing; 2 wrong usage, or the check itself could not run.\r\n";

struct Options {
    std::vector<std::u16string> applications;
    std::optional<std::u16string> bodyFile;
    std::optional<std::u16string> bodyFormat;  // "HTML", "RTF" or "Text"
    std::optional<std::u16string> samplesFolder;
    bool json = false;
    bool help = false;
};

// Throws quillmark::Error with a one-line description of what is wrong.
Options ParseCommandLine(const std::vector<std::u16string>& arguments);

}  // namespace quillmark::check
