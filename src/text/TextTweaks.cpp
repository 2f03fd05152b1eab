#include "text/TextTweaks.hpp"

#include <memory>

#include "text/AutoPlainTextTask.hpp"
#include "text/ExpandLinkTask.hpp"
#include "text/ExtractTextTask.hpp"
#include "text/PlainTextTask.hpp"
#include "text/PublicIpTask.hpp"
#include "text/emoji/EmojiAliasTask.hpp"
#include "text/emoji/EmojiPickerTask.hpp"

namespace quorvane::text {

void addTextTweaks(core::TweakFactory& factory, TextServices& services) {
    factory.add("PlainTextTask", [&services](const core::CatalogueRow& row) {
        return std::make_shared<PlainTextTask>(row.info, services.plainText);
    }, {platform::Port::pasteboard});
    factory.add("AutoPlainTextTask",
                [&services](const core::CatalogueRow& row) -> std::shared_ptr<core::Tweak> {
                    const auto* field = core::pStateField(row);
                    if (!field)
                        return nullptr;
                    return std::make_shared<AutoPlainTextTask>(row.info, *field, services.store,
                                                               services.clipboard);
                }, {platform::Port::pasteboard});
    factory.add("ExpandLinkTask", core::oneShotMaker<ExpandLinkTask>(services), {platform::Port::pasteboard});
    factory.add("ExtractTextTask", core::oneShotMaker<ExtractTextTask>(services), {platform::Port::screen, platform::Port::pasteboard});
    factory.add("EmojiAliasTask", core::pToggleMaker<EmojiAliasTask>(services), {platform::Port::desktop});
    factory.add("EmojiPickerTask", core::pToggleMaker<EmojiPickerTask>(services), {platform::Port::statusArea, platform::Port::desktop});
    factory.add("PublicIpTask", core::oneShotMaker<PublicIpTask>(services), {});
}

}  // namespace quorvane::text
