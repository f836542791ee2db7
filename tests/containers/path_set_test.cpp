#include "containers/path_set.h"

#include <gtest/gtest.h>

namespace vestrak {
namespace {

// Looked up one by one and a batch at a time, through full batches and a part one, among paths
// whose hashes collide: only paths put in are found.
TEST(PathSet, LooksUpOneByOneAndInBatchesAlike)
{
    // Two texts of 2,048 units whose hashes are equal: the Thue-Morse sequence and its complement
    // collide for any odd base modulo 2^64.
    std::u16string colliding;
    std::u16string partner;
    for (unsigned index = 0; index < 2048; ++index) {
        colliding += (__builtin_popcount(index) & 1) != 0 ? u'b' : u'a';
        partner += (__builtin_popcount(index) & 1) != 0 ? u'a' : u'b';
    }
    ASSERT_EQ(PathSet::TopPathHash(colliding), PathSet::TopPathHash(partner));
    // The next pair collides too: only one of it is put in.
    const std::u16string longer = colliding + partner;
    const std::u16string longerPartner = partner + colliding;
    ASSERT_EQ(PathSet::TopPathHash(longer), PathSet::TopPathHash(longerPartner));
    std::vector<std::u16string> stored { colliding, partner, longer, u"Plant", u"Plant\\Area 1", u"" };
    for (char16_t pump = u'A'; pump < u'A' + 30; ++pump) {
        stored.push_back(u"Plant\\Area 1\\Pump " + std::u16string(1, pump));
    }
    // Put in twice, every third path three times, more paths than one batch holds and the set
    // too small for them.
    PathSet set;
    set.reserve(4);
    set.insertAll([&stored](const auto& put) {
        for (std::size_t index = 0; index < stored.size(); index += 3) {
            put(stored[index]);
        }
    });
    set.insertAll([&stored](const auto& put) {
        for (const std::u16string& path : stored) {
            put(path);
            put(path);
        }
    });
    std::vector<std::pair<std::u16string, bool>> asked { { longerPartner, false }, { u"plant", false },
        { u"Plant\\Area 2", false } };
    for (const std::u16string& path : stored) {
        asked.emplace_back(path, true);
        asked.emplace_back(path + u"\\Motor", false);
    }

    PathSet::Batch batch;
    std::vector<bool> expected;
    std::vector<bool> answers;
    const auto answerBatch = [&] {
        set.containsEach(batch, answers);
        EXPECT_EQ(answers, expected);
        batch.clear();
        expected.clear();
    };
    for (const auto& [path, inSet] : asked) {
        SCOPED_TRACE(std::string(path.begin(), path.begin() + std::min<std::size_t>(path.size(), 40)));
        const std::uint64_t hash = PathSet::TopPathHash(path);
        EXPECT_EQ(set.contains(hash, path), inSet);
        EXPECT_TRUE(set.mayContain(hash) || !inSet);
        batch.add(hash, path);
        expected.push_back(inSet);
        if (batch.full()) {
            answerBatch();
        }
    }
    answerBatch();

    // A batch larger than one reading is answered in several.
    for (const auto& [path, inSet] : asked) {
        batch.add(PathSet::TopPathHash(path), path);
        expected.push_back(inSet);
    }
    answerBatch();
    EXPECT_EQ(PathSet::ChildPathHash(PathSet::TopPathHash(u"Plant"), u"Area 1"),
        PathSet::TopPathHash(u"Plant\\Area 1"));
    PathSet empty;
    batch.add(PathSet::TopPathHash(u"Plant"), u"Plant");
    empty.containsEach(batch, answers);
    EXPECT_EQ(answers, std::vector<bool> { false });
}

} // namespace
} // namespace vestrak
