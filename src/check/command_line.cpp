#include "check/command_line.h"

#include "base/error.h"
#include "check/sample_messages.h"

namespace quillmark::check {

namespace {

constexpr char16_t kSeeHelp[] = u" (see quillmark-check --help)";

}  // namespace

Options ParseCommandLine(const std::vector<std::u16string>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        auto value = [&]() -> const std::u16string& {
            if (i + 1 == arguments.size()) throw Error(argument + u" needs a value" + kSeeHelp);
            return arguments[++i];
        };
        if (argument == u"--app-name") {
            options.applications.push_back(value());
        } else if (argument == u"--body") {
            if (options.bodyFile)
                throw Error(u"--body may be given once" + std::u16string(kSeeHelp));
            options.bodyFile = value();
        } else if (argument == u"--format") {
            const std::u16string& name = value();
            options.bodyFormat = FormatOfName(name);
            if (!options.bodyFormat)
                throw Error(u"--format is html, rtf or text, not " + name + kSeeHelp);
        } else if (argument == u"--write-samples") {
            options.samplesFolder = value();
        } else if (argument == u"--json") {
            options.json = true;
        } else if (argument == u"--help" || argument == u"/?") {
            options.help = true;
        } else {
            throw Error(u"unknown argument " + argument + kSeeHelp);
        }
    }
    if (options.bodyFormat && !options.bodyFile)
        throw Error(u"--format names the format of --body FILE" + std::u16string(kSeeHelp));
    if (options.bodyFile && !options.bodyFormat) {
        options.bodyFormat = FormatOfFileName(*options.bodyFile);
        if (!options.bodyFormat)
            throw Error(u"the format of " + *options.bodyFile +
                        u" does not show in its name: give --format html, rtf or text");
    }
    return options;
}

}  // namespace quillmark::check
