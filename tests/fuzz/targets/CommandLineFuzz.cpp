// The command line, the quorvane: links the desktop hands over and
// "--from-link": words and links from other programs.

#include <QUrl>

#include "FuzzCheck.hpp"
#include "cli/CommandLine.hpp"
#include "platform/Utf8.hpp"
#include "simmac/commands/SimCommandLine.hpp"

using namespace quorvane;
using cli::CommandLine;

namespace {

void checkParsed(const CommandLine& line, const std::string& input) {
    if (line.action == CommandLine::Action::finderAction)
        for (const auto& path : line.paths)
            FUZZ_CHECK(path.starts_with('/'), input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool simCommands = (simmac::addSimCommands(), true);
    (void)simCommands;
    const auto input = fuzz::bytes(data, size);
    const auto arguments = fuzz::words(input);
    if (const auto parsed = cli::parseCommandLine(arguments))
        checkParsed(parsed.value(), input);

    // A link carries a run or a switch by name, nothing else.
    if (const auto link = cli::parseUrl(input)) {
        const auto& line = link.value();
        FUZZ_CHECK(line.action == CommandLine::Action::runNamed ||
                       line.action == CommandLine::Action::toggleNamed,
                   input);
        FUZZ_CHECK(platform::isValidUtf8(line.tweakName), input);
    }
    // Whatever the name, a link made for it names it again.
    const auto name = input.substr(0, 1024);
    if (platform::isValidUtf8(name) && name.find('\0') == std::string::npos) {
        const auto encoded = QUrl::toPercentEncoding(QString::fromStdString(name));
        const std::string link = "quorvane://run?name=" + encoded.toStdString();
        const auto parsed = cli::parseCommandLine({"--from-link", link});
        if (parsed) {
            FUZZ_CHECK(parsed.value().fromLink, link);
            FUZZ_CHECK(parsed.value().tweakName == name, link);
        }
    }
    return 0;
}
