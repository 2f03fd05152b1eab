#include <gtest/gtest.h>

#include "core/Category.hpp"
#include "core/PState.hpp"
#include "core/Preference.hpp"
#include "core/RecordCoding.hpp"
#include "core/StoredDate.hpp"

namespace quorvane::core {
namespace {

const char* const fullPState =
    R"({"autoPlainText":false,"emojiAlias":true,"emojiPicker":false,"highlightsActiveWindow":false,)"
    R"("snapsWindows":true,"reverseMouseScrolling":false,"visualizesKeystroke":false,)"
    R"("visualizeCursor":false,"hideStatusItems":false,"focusOneApp":false,"previewsDockWindows":false})";

TEST(RecordCoding, preferenceOmitsAbsentOptionalsAndRoundTrips) {
    Preference preference;
    auto json = nlohmann::json::parse(encodeRecord(preference));
    EXPECT_FALSE(json.contains("_playsSound"));
    EXPECT_FALSE(json.contains("compactWorkflowId"));
    EXPECT_EQ(json["showsInMenuBar"], true);
    EXPECT_EQ(json["checkForUpdateAtLaunch"], false);

    preference.workflows.push_back({"favorite", "Favorite", "star", "Yellow"});
    preference.taskWorkflows.push_back({"SnapWindowsTask", "favorite"});
    preference.setPlaysSound(false);
    preference.compactWorkflowId = "favorite";
    json = nlohmann::json::parse(encodeRecord(preference));
    EXPECT_EQ(json["_playsSound"], false);
    EXPECT_EQ(json["workflows"][0]["colorHex"], "Yellow");
    EXPECT_EQ(json["taskWorkflows"][0]["taskId"], "SnapWindowsTask");
    EXPECT_EQ(decodeRecord<Preference>(encodeRecord(preference)), preference);
}

TEST(RecordCoding, storedPlaysSoundIsRead) {
    auto preference = decodeRecord<Preference>(
        R"({"showsInMenuBar":false,"checkForUpdateAtLaunch":false,"taskWorkflows":[],)"
        R"("workflows":[],"_playsSound":true})");
    ASSERT_TRUE(preference);
    EXPECT_TRUE(preference->playsSound());
    EXPECT_FALSE(preference->showsInMenuBar);
    EXPECT_FALSE(preference->compactWorkflowId);
}

TEST(RecordCoding, preferenceRejectsMissingOrMistypedRequiredFields) {
    EXPECT_FALSE(decodeRecord<Preference>(R"({"showsInMenuBar":true})"));
    EXPECT_FALSE(decodeRecord<Preference>(
        R"({"showsInMenuBar":1,"checkForUpdateAtLaunch":false,"taskWorkflows":[],"workflows":[]})"));
    EXPECT_FALSE(decodeRecord<Preference>(
        R"({"showsInMenuBar":true,"checkForUpdateAtLaunch":false,"taskWorkflows":[{"taskId":"A"}],"workflows":[]})"));
    EXPECT_FALSE(decodeRecord<Preference>(
        R"({"showsInMenuBar":true,"checkForUpdateAtLaunch":false,"taskWorkflows":[],"workflows":[],"_playsSound":"yes"})"));
    EXPECT_FALSE(decodeRecord<Preference>("[]"));
    EXPECT_FALSE(decodeRecord<Preference>("{\"showsInMenuBar\":tru"));
    EXPECT_FALSE(decodeRecord<Preference>(""));
}

// A record is damaged when anything follows its JSON, a NUL and junk too:
// accepted, it would be saved back over what the user could still mend.
TEST(RecordCoding, trailingBytesAfterARecordMakeItDamaged) {
    const std::string valid = fullPState;
    ASSERT_TRUE(decodeRecord<PState>(valid));
    EXPECT_FALSE(decodeRecord<PState>(valid + std::string("\0junk", 5)));
    EXPECT_FALSE(decodeRecord<PState>(valid + "junk"));
}

// A date the file holds as 1e999 would read as infinity, be saved as null
// and be refused next time; it is refused at once, as is one no clock reaches.
TEST(RecordCoding, aDateOutOfRangeMakesTheRecordDamaged) {
    EXPECT_EQ(decodeRecord<StoredDate>("786344400.5"), StoredDate{786344400.5});
    for (const char* far : {"1e999", "-1e999", "1e300", "-4e13"})
        EXPECT_EQ(decodeRecord<StoredDate>(far), std::nullopt) << far;
}

TEST(RecordCoding, pStateToleratesMissingOptionalsOnly) {
    auto state = decodeRecord<PState>(fullPState);
    ASSERT_TRUE(state);
    EXPECT_TRUE(state->snapsWindows);
    EXPECT_TRUE(state->emojiAlias);
    EXPECT_FALSE(state->_clickToHide);
    EXPECT_FALSE(state->_aeroShake);

    auto withoutSnap = nlohmann::json::parse(fullPState);
    withoutSnap.erase("snapsWindows");
    EXPECT_FALSE(decodeRecord<PState>(withoutSnap.dump()));

    // An optional stored as null is the same as absent.
    auto withNull = nlohmann::json::parse(fullPState);
    withNull["_aeroShake"] = nullptr;
    withNull["_clickToHide"] = true;
    state = decodeRecord<PState>(withNull.dump());
    ASSERT_TRUE(state);
    EXPECT_FALSE(state->_aeroShake);
    EXPECT_EQ(state->_clickToHide, true);

    auto encoded = nlohmann::json::parse(encodeRecord(*state));
    EXPECT_EQ(encoded["_clickToHide"], true);
    EXPECT_FALSE(encoded.contains("_aeroShake"));
    EXPECT_FALSE(encoded.contains("_middleClick"));
    EXPECT_EQ(encoded.size(), 12u);
}

TEST(RecordCoding, categoryDecodesOnlyItsTitles) {
    EXPECT_EQ(nlohmann::json("Status Menu").get<Category>(), Category::statusMenu);
    EXPECT_THROW(nlohmann::json("statusMenu").get<Category>(), nlohmann::json::exception);
    EXPECT_THROW(nlohmann::json(3).get<Category>(), nlohmann::json::exception);
    for (Category category : allCategories)
        EXPECT_EQ(nlohmann::json(category).get<Category>(), category);
    EXPECT_EQ(allCategories.size(), 17u);
    EXPECT_EQ(rawValue(allCategories.front()), "Finder");
    EXPECT_EQ(rawValue(allCategories.back()), "Utility");
    EXPECT_EQ(imageName(Category::statusMenu), "Category/Status Menu");
}

TEST(RecordCoding, textThatIsNotUtf8DoesNotLoseTheRecord) {
    Preference preference;
    preference.workflows.push_back({"id", "bad \xff name", "star", "Red"});
    auto decoded = decodeRecord<Preference>(encodeRecord(preference));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->workflows.at(0).id, "id");
}

}  // namespace
}  // namespace quorvane::core
