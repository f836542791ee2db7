#include "cistatus/status_inheritance.h"
#include "cistatus/status_line.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <random>

using namespace vestrak;

namespace {

constexpr std::int32_t None = NoParentPosition;

// Per record, the status to show and whether it came from a descendant.
using Expected = std::pair<std::int32_t, bool>;

enum class Walk { OnePass, Literal };

// The statuses shown for records given by parent positions. The literal walk is the reference for
// the one pass: every record, last to first, offers its value to each of its ancestors in turn.
std::vector<Expected> Inherited(const std::vector<std::int32_t>& parents,
    const std::vector<std::int32_t>& statuses, Inheritance inheritance, Walk walk)
{
    StatusRecords records;
    for (const std::int32_t status : statuses) {
        cStatus& record = records.add(StatusTexts(), nullptr, 0);
        record.m_Status = status;
        // What an earlier pass left, which must not count.
        record.m_DesiredStatus = ~status;
        record.m_StatusWasInherited = true;
    }
    if (walk == Walk::OnePass) {
        const auto readParents = [&parents](std::size_t first, std::span<std::int32_t> out) {
            std::copy_n(parents.begin() + static_cast<std::ptrdiff_t>(first), out.size(), out.begin());
        };
        InheritStatuses(records, readParents, inheritance, {});
    } else {
        for (std::size_t position = 0; position < records.size(); ++position) {
            records[position].m_DesiredStatus = records[position].m_Status;
            records[position].m_StatusWasInherited = false;
        }
        for (std::size_t child = records.size(); child-- > 0 && inheritance != Inheritance::Off;) {
            const std::int32_t offered = records[child].m_DesiredStatus;
            for (std::int32_t up = parents[child]; up != None; up = parents[static_cast<std::size_t>(up)]) {
                cStatus& record = records[static_cast<std::size_t>(up)];
                if (InheritanceRank(record.m_DesiredStatus, inheritance)
                    < InheritanceRank(offered, inheritance)) {
                    record.m_DesiredStatus = offered;
                    record.m_StatusWasInherited = true;
                }
            }
        }
    }
    std::vector<Expected> results;
    for (std::size_t position = 0; position < records.size(); ++position) {
        results.emplace_back(records[position].m_DesiredStatus, records[position].m_StatusWasInherited);
    }
    return results;
}

} // namespace

TEST(StatusInheritance, TheHighestRankRisesTheLastDescendantWinningATie)
{
    struct Case {
        const char* name;
        std::vector<std::int32_t> parents;
        std::vector<std::int32_t> statuses;
        Inheritance inheritance;
        std::vector<Expected> expected;
    };
    constexpr Inheritance Off = Inheritance::Off;
    constexpr Inheritance On = Inheritance::ByImage;
    constexpr Inheritance Unknown = Inheritance::UnknownAboveGood;
    const std::vector<Case> cases {
        { "off: own status only", { None, 0 }, { 2, 4 }, Off, { { 2, false }, { 4, false } } },
        { "red child raises parent", { None, 0 }, { 2, 4 }, On, { { 4, true }, { 4, false } } },
        { "equal image keeps own value", { None, 0 }, { 4, 0x104 }, On, { { 4, false }, { 0x104, false } } },
        { "last child wins a tie", { None, 0, 0 }, { 1, 0x102, 2 }, On,
            { { 2, true }, { 0x102, false }, { 2, false } } },
        { "rises through every level", { None, 0, 1 }, { 2, 2, 3 }, On,
            { { 3, true }, { 3, true }, { 3, false } } },
        { "whole value with flash bit and sub-state", { None, 0 }, { 2, 0x1104 }, On,
            { { 0x1104, true }, { 0x1104, false } } },
        { "grandchild beats its equal parent for the top", { None, 0, 1 }, { 1, 0x102, 2 }, On,
            { { 2, true }, { 0x102, false }, { 2, false } } },
        { "marked green as image 5 beats red", { None, 0 }, { 4, 5 }, On, { { 5, true }, { 5, false } } },
        { "only the low byte ranks", { None, 0 }, { 0x7FFF0003, 0x102 }, On,
            { { 0x7FFF0003, false }, { 0x102, false } } },
        { "top nodes apart", { None, None }, { 2, 4 }, On, { { 2, false }, { 4, false } } },
        { "unknown below green by image", { None, 0, 0 }, { 2, 1, 0x1002 }, On,
            { { 2, false }, { 1, false }, { 0x1002, false } } },
        { "unknown above green when asked", { None, 0, 1 }, { 0x1002, 2, 1 }, Unknown,
            { { 1, true }, { 1, true }, { 1, false } } },
        { "green keeps its own value over green", { None, 0 }, { 2, 0x2002 }, Unknown,
            { { 2, false }, { 0x2002, false } } },
        { "amber and red still above unknown", { None, 0, 0, 0 }, { 1, 3, 1, 2 }, Unknown,
            { { 3, true }, { 3, false }, { 1, false }, { 2, false } } },
        { "red parent keeps red over unknown", { None, 0 }, { 4, 0x101 }, Unknown,
            { { 4, false }, { 0x101, false } } },
        { "blinking unknown rises whole", { None, 0 }, { 2, 0x101 }, Unknown,
            { { 0x101, true }, { 0x101, false } } },
        { "marked green as image 5 still beats unknown", { None, 0 }, { 1, 5 }, Unknown,
            { { 5, true }, { 5, false } } },
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        EXPECT_EQ(Inherited(each.parents, each.statuses, each.inheritance, Walk::OnePass), each.expected);
        EXPECT_EQ(Inherited(each.parents, each.statuses, each.inheritance, Walk::Literal), each.expected);
    }
}

TEST(StatusInheritance, OnePassEqualsTheAncestorWalkOnRandomTrees)
{
    std::mt19937 random(20240604);
    const std::array images { 0, 1, 2, 3, 4, 5, 6, 7, 200 };
    const std::array extras { 0, 0x100, 0x1000, 0x2000, 0x1100, 0x7100, 0x10000 };
    for (int trial = 0; trial < 2000; ++trial) {
        // A pre-order: each record hangs below a node of the path to the record before it. Few
        // images, so that ties between different flash bits and sub-states are common. The first
        // trees are long enough for parents to lie runs of records before their children.
        std::vector<std::int32_t> parents, path, statuses;
        for (int i = 0, size = trial < 3 ? 9000 : 1 + static_cast<int>(random() % 40); i < size; ++i) {
            path.resize(random() % (path.size() + 1));
            parents.push_back(path.empty() ? None : path.back());
            path.push_back(i);
            statuses.push_back(
                images[random() % (trial % 2 ? 3 : images.size())] | extras[random() % extras.size()]);
        }
        const auto inheritance = std::array { Inheritance::Off, Inheritance::ByImage,
            Inheritance::UnknownAboveGood }[static_cast<std::size_t>(trial % 3)];
        ASSERT_EQ(Inherited(parents, statuses, inheritance, Walk::OnePass),
            Inherited(parents, statuses, inheritance, Walk::Literal))
            << "trial " << trial;
    }
}
