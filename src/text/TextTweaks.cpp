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
    });
    factory.add("AutoPlainTextTask",
                [&services](const core::CatalogueRow& row) -> std::shared_ptr<core::Tweak> {
                    const auto* field = core::pStateField(row);
                    if (!field)
                        return nullptr;
                    return std::make_shared<AutoPlainTextTask>(row.info, *field, services.store,
                                                               services.clipboard);
                });
    factory.add("ExpandLinkTask", [&services](const core::CatalogueRow& row) {
        return std::make_shared<ExpandLinkTask>(row.info, services);
    });
    factory.add("ExtractTextTask", [&services](const core::CatalogueRow& row) {
        return std::make_shared<ExtractTextTask>(row.info, services);
    });
    factory.add("EmojiAliasTask",
                [&services](const core::CatalogueRow& row) -> std::shared_ptr<core::Tweak> {
                    const auto* field = core::pStateField(row);
                    if (!field)
                        return nullptr;
                    return std::make_shared<EmojiAliasTask>(row.info, *field, services);
                });
    factory.add("EmojiPickerTask",
                [&services](const core::CatalogueRow& row) -> std::shared_ptr<core::Tweak> {
                    const auto* field = core::pStateField(row);
                    if (!field)
                        return nullptr;
                    return std::make_shared<EmojiPickerTask>(row.info, *field, services);
                });
    factory.add("PublicIpTask", [&services](const core::CatalogueRow& row) {
        return std::make_shared<PublicIpTask>(row.info, services);
    });
}

}  // namespace quorvane::text
