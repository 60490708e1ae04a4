// quillmark-check: shows an administrator what Quillmark will stamp for the user running it, and
// why; see command_line.h for its arguments and exit status.

#include <string>
#include <vector>

#include "base/error.h"
#include "base/text.h"
#include "check/command_line.h"
#include "check/desktop_check.h"
#include "check/reports.h"
#include "check/sample_messages.h"
#include "platform/windows/console.h"
#include "platform/windows/text_files.h"
#include "platform/windows/wide.h"
#include "platform/windows/windows_platform.h"

namespace quillmark::check {

namespace {

std::u16string FileName(const std::u16string& path) {
    const std::size_t slash = path.find_last_of(u"\\/:");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

MessageSample SampleFromFile(const std::u16string& path, const std::u16string& format) {
    const std::u16string name = FileName(path);
    return {.name = name,
            .fileName = u"stamped-" + name,
            .format = format,
            .subject = u"RE: Quarterly figures",
            .body = windows::ReadTextFile(path)};
}

// Each application's stamped messages go into a folder of its own name.
std::u16string WriteSamples(const std::u16string& folder, const DesktopCheck& found) {
    std::u16string written;
    for (const ApplicationCheck& application : found.applications) {
        const std::u16string into = folder + u"\\" + application.application;
        windows::CreateFolders(into);
        for (const Placement& placement : application.placements)
            windows::WriteTextFile(into + u"\\" + placement.sample.fileName, placement.sent.body,
                                   placement.sample.format != u"RTF");
        written += u"Stamped messages written to " + into + u"\r\n";
    }
    return written;
}

std::u16string Version(const Platform& platform) {
    const ComponentVersion version = platform.version.Read();
    return Decimal(version.major) + u"." + Decimal(version.minor) + u"." +
           Decimal(version.revision);
}

std::u16string Verdict(const DesktopCheck& found) {
    std::size_t failing = found.problems.size(), warnings = 0;
    for (const ApplicationCheck& application : found.applications) {
        for (const Problem& problem : application.problems)
            ++(problem.failsSends ? failing : warnings);
    }
    if (found.SendsFail()) {
        return u"quillmark-check: " + Decimal(static_cast<long long>(failing)) +
               (failing == 1 ? u" problem makes" : u" problems make") +
               u" sends fail or stamp nothing.\r\n";
    }
    std::u16string verdict = u"quillmark-check: every send would be stamped as configured";
    if (warnings > 0)
        verdict += u" (" + Decimal(static_cast<long long>(warnings)) +
                   (warnings == 1 ? u" warning)" : u" warnings)");
    return verdict + u".\r\n";
}

int Run(const std::vector<std::u16string>& arguments) {
    const Options options = ParseCommandLine(arguments);
    if (options.help) {
        windows::WriteStandardOutput(kUsage);
        return 0;
    }
    std::vector<MessageSample> samples = BuiltInSamples();
    if (options.bodyFile) samples.push_back(SampleFromFile(*options.bodyFile, *options.bodyFormat));
    const Platform& platform = windows::WindowsPlatform();
    const DesktopCheck found = CheckDesktop(platform, options.applications, samples);
    const std::u16string written =
        options.samplesFolder ? WriteSamples(*options.samplesFolder, found) : u"";
    if (options.json) {
        windows::WriteStandardOutput(FromUtf8(JsonReport(found, Version(platform))));
    } else {
        windows::WriteStandardOutput(TextReport(found, Version(platform)) +
                                     (written.empty() ? u"" : u"\r\n" + written));
    }
    windows::WriteStandardError(Verdict(found));
    return found.SendsFail() ? 1 : 0;
}

}  // namespace

}  // namespace quillmark::check

int wmain(int argc, wchar_t** argv) {
    using namespace quillmark;
    try {
        std::vector<std::u16string> arguments;
        for (int i = 1; i < argc; ++i) arguments.push_back(windows::FromWide(argv[i]));
        return check::Run(arguments);
    } catch (...) {
        windows::WriteStandardError(u"quillmark-check: " + DescribeCurrentException() + u"\r\n");
        return 2;
    }
}
