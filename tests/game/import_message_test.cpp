#include "test_support.h"

#include "session/level_text_play.h"

#include <gtest/gtest.h>

namespace sokoban::testing {
namespace {

Message leftOut(Id id, std::size_t count, const std::vector<std::string>& numbers) {
    Message m(id, count);
    Message list(Id::LevelNumbers);
    list.args = numbers;
    m.parts.push_back(list);
    return m;
}

Message summary(const Messages& parts) {
    Message m(Id::ImportSummary);
    m.parts = parts;
    return m;
}

// What the player is told about a collection: nothing when every level came
// in, else the levels taken and each reason in a fixed order.
TEST(ImportMessage, NamesTheLevelsLeftOutByReason) {
    const struct {
        const char* what;
        CollectionImport import;
        Message said;
    } cases[] = {
        {"every level", {"/s.box", 3, 3, {}, {}, 0, true}, {}},
        {"too large and no worker",
         {"/s.box", 20, 17, {7, 12}, {15}, 0, true},
         summary({{Id::LevelsImported, 17},
                  leftOut(Id::TooLargeLeftOut, 2, {"7", "12"}),
                  leftOut(Id::NoWorkerLeftOut, 1, {"15"})})},
        {"none taken",
         {"", 2, 0, {1, 2}, {}, 0, false},
         summary({Id::NoLevelsImported, leftOut(Id::TooLargeLeftOut, 2, {"1", "2"})})},
        {"beyond what a set holds",
         {"/s.box", 32770, 32767, {}, {}, 3, true},
         summary({{Id::LevelsImported, 32767}, {Id::BeyondLimitLeftOut, 3, 32767}})},
        {"every reason",
         {"/s.box", 9, 5, {1}, {2, 3}, 1, true},
         summary({{Id::LevelsImported, 5},
                  leftOut(Id::TooLargeLeftOut, 1, {"1"}),
                  leftOut(Id::NoWorkerLeftOut, 2, {"2", "3"}),
                  {Id::BeyondLimitLeftOut, 1, 32767}})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(importMessage(c.import), c.said) << c.what;
}

} // namespace
} // namespace sokoban::testing
