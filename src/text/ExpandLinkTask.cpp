#include "text/ExpandLinkTask.hpp"

#include "core/TextFolding.hpp"
#include "platform/PasteboardJournal.hpp"

namespace quorvane::text {

namespace pb = platform::pasteboardType;

const core::BoolSetting ExpandLinkTask::removesParameters{
    "ExpandLinkTask.Manager.removesParameters", false};
const core::BoolSetting ExpandLinkTask::showsAlert{"ExpandLinkTask.Manager.showsAlert", false};

core::RunOutcome ExpandLinkTask::run() {
    const auto copied = services_.pasteboard.string();
    if (!copied)
        return core::RunOutcome::refused(core::clipboardHoldsNoLink);
    // A link copied from a line of text often brings its line end along.
    const auto url = services_.http.httpUrl(std::string(core::trimmedOfWhiteSpace(*copied)));
    if (!url)
        return core::RunOutcome::refused(core::clipboardHoldsNoLink);
    const long countRead = services_.pasteboard.changeCount();
    services_.network.submit([this, countRead,
                              request = platform::HttpRequest{.method = platform::HttpRequest::Method::head,
                                                              .url = *url,
                                                              .timeout = services_.requestTimeout}] {
        auto response = services_.http.perform(request);
        services_.mainQueue.post([this, countRead, response = std::move(response)] {
            if (!response) {
                services_.log.info(id(), "the link was not expanded: " + response.error().message);
                return;
            }
            expanded(response.value().url, countRead);
        });
    });
    return core::RunOutcome::done();
}

void ExpandLinkTask::expanded(const std::string& finalUrl, long countRead) {
    std::string url = finalUrl;
    if (removesParameters.read(services_.defaults))
        url = services_.http.withoutQuery(url).value_or(url);
    // Written as text and as a URL, so that pasting gives the long link;
    // a copy made while the request ran stands.
    if (services_.pasteboard.changeCount() == countRead) {
        const platform::PasteboardContents contents{{pb::string, url}, {pb::url, url}};
        services_.pasteboard.write(contents);
        platform::journalPasteboardWrite(services_.journal, id(), contents);
    } else {
        services_.log.info(id(), "the pasteboard changed during the request: left as it is");
    }
    if (showsAlert.read(services_.defaults))
        services_.alerts.show(
            {.style = platform::Alert::Style::warning, .message = name(), .informativeText = url});
}

core::ConfigureForm ExpandLinkTask::configureView() const {
    return {{{.title = {},
              .controls = {core::FormControl::toggle("Remove parameters from expanded URL",
                                                     removesParameters),
                           core::FormControl::toggle("Notify result", showsAlert)},
              .footer = {}}}};
}

}  // namespace quorvane::text
