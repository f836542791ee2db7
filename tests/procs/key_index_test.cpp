#include "procs/key_index.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vestrak {
namespace {

TEST(KeyIndex, FindsEveryFiledKeyThroughGrowthRefusesTwinsAndRefillsAfterClearing)
{
    std::vector<std::u16string> keys;
    KeyIndex index;
    const auto keyAt = [&keys](std::size_t position) -> std::u16string_view { return keys[position]; };
    EXPECT_FALSE(index.find(u"A/0", keyAt));
    for (int number = 0; number < 5000; ++number) {
        const std::string narrow
            = std::string("W") + std::to_string(number % 97) + "/" + std::to_string(number);
        keys.emplace_back(narrow.begin(), narrow.end());
        ASSERT_TRUE(index.insert(keys.back(), keys.size() - 1, keyAt));
    }
    for (std::size_t position = 0; position < keys.size(); ++position) {
        ASSERT_EQ(index.find(keys[position], keyAt), position);
    }
    EXPECT_FALSE(index.insert(std::u16string(keys[1234]), keys.size(), keyAt));
    EXPECT_FALSE(index.find(u"W1/5000", keyAt));
    EXPECT_FALSE(index.find(u"w1/1", keyAt));

    index.clear();
    EXPECT_FALSE(index.find(keys[0], keyAt));
    keys.erase(keys.begin());
    for (std::size_t position = 0; position < keys.size(); ++position) {
        ASSERT_TRUE(index.insert(keys[position], position, keyAt));
    }
    EXPECT_EQ(index.find(keys[0], keyAt), 0U);
    EXPECT_EQ(index.find(keys.back(), keyAt), keys.size() - 1);
}

} // namespace
} // namespace vestrak
