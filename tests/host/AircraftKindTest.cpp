// Recognising helicopters and the Level-D 767 from the user aircraft's texts.

#include <gtest/gtest.h>

#include "host/AircraftKind.h"

namespace {

TEST(AircraftKindTest, HelicopterIsTheWholeCategoryInAnyCase) {
    for (const char* yes : {"Helicopter", "HELICOPTER", "helicopter", "hElIcOpTeR"})
        EXPECT_TRUE(AircraftKind::isHelicopter(yes)) << yes;
    for (const char* no : {"", "Airplane", "Helicopters", " Helicopter", "Helicopte", "Glider"})
        EXPECT_FALSE(AircraftKind::isHelicopter(no)) << no;
}

TEST(AircraftKindTest, LevelD767NeedsTheMakerAndTheTypeInExactCase) {
    for (const char* yes : {"Level D Simulations 767-300ER", "Level-D 767 American", "LevelD767",
                            "767-300 by Level D"})
        EXPECT_TRUE(AircraftKind::isLevelD767(yes)) << yes;
    for (const char* no : {"Level D 757", "Boeing 767-300ER", "level d 767", "LEVEL-D 767", "Level_D 767",
                           "Level  D 767", ""})
        EXPECT_FALSE(AircraftKind::isLevelD767(no)) << no;
}

} // namespace
