#include "modules/HostNumbers.h"

#include <gtest/gtest.h>

#include <set>

using namespace HostNumbers;

// Each build tag's ids are a permutation: every id is found back, and under another tag the same
// id names another quantity, so a module reading with the wrong column reads the wrong thing.
// Tags beyond the versions the simulator knows are worked out rather than looked up.
constexpr int kLastTag = 9;

TEST(HostNumbersTest, VariableIdsArePermutationsThatDifferBetweenTags) {
    for (int tag = 1; tag <= kLastTag; ++tag) {
        std::set<uint32_t> ids;
        for (int q = 0; q < static_cast<int>(Quantity::Count); ++q) {
            const uint32_t id = variableId(tag, static_cast<Quantity>(q));
            ids.insert(id);
            Quantity back{};
            ASSERT_TRUE(quantityOf(tag, id, back));
            EXPECT_EQ(static_cast<int>(back), q);
            Quantity other{};
            ASSERT_TRUE(quantityOf(tag % 5 + 1, id, other));
            EXPECT_NE(static_cast<int>(other), q);
        }
        EXPECT_EQ(ids.size(), static_cast<std::size_t>(Quantity::Count));
    }
    Quantity none{};
    EXPECT_FALSE(quantityOf(1, 0x3FF, none));
    EXPECT_FALSE(quantityOf(1, 0x400 + 46, none));
}

TEST(HostNumbersTest, PropertyAndUnitIdsRoundTrip) {
    for (int tag = 1; tag <= kLastTag; ++tag) {
        for (int p = 0; p < static_cast<int>(Property::Count); ++p) {
            Property back{};
            ASSERT_TRUE(propertyOf(tag, propertyId(tag, static_cast<Property>(p)), back));
            EXPECT_EQ(static_cast<int>(back), p);
        }
        for (int u = 0; u < static_cast<int>(Unit::Count); ++u) {
            Unit back{};
            ASSERT_TRUE(unitOf(tag, unitId(tag, static_cast<Unit>(u)), back));
            EXPECT_EQ(static_cast<int>(back), u);
        }
    }
    EXPECT_EQ(propertyId(1, Property::Title), 0x201u);
    EXPECT_EQ(propertyId(5, Property::TailNumber), 0x206u);
    EXPECT_EQ(propertyId(1, Property::EyePoint), 0x200u);
}

TEST(HostNumbersTest, EntriesDataAndRecordsOfTheDocument) {
    EXPECT_EQ(entry(0, 0), 101u);
    EXPECT_EQ(entry(4, 7), 522u);
    EXPECT_EQ(data(0, 0), 0x1000u);
    EXPECT_EQ(data(2, 3), 0x3030u);
    Record record{};
    EXPECT_TRUE(recordOf(1, 47, record));
    EXPECT_EQ(record, Record::Exits);
    EXPECT_FALSE(recordOf(1, 44, record));
    EXPECT_EQ(info(Quantity::ThrottleLever).maxIndex, 4);
    EXPECT_TRUE(info(Quantity::StaticCgHeight).readOnly);
    EXPECT_EQ(info(Quantity::NavActiveFrequency).unit, Unit::Bcd16);
}
