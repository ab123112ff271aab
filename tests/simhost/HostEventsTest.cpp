// The host events add-ons register for: order, arguments, removal, also during a firing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/HostEvents.h"

namespace {

std::vector<std::string> calls;
HostEvents* firing = nullptr;

void first(uint32_t event, uintptr_t a, uintptr_t b) {
    calls.push_back("first " + std::to_string(event) + " " + std::to_string(a) + " " + std::to_string(b));
}
void second(uint32_t event, uintptr_t, uintptr_t) {
    calls.push_back("second " + std::to_string(event));
}
void third(uint32_t event, uintptr_t, uintptr_t) {
    calls.push_back("third " + std::to_string(event));
}
// Removes `third` from event 1 while event 1 is fired.
void removeThird(uint32_t, uintptr_t, uintptr_t) {
    calls.push_back("remover");
    firing->remove(1, &third);
}
// Adds `first` to event 1 while event 1 is fired.
void addFirst(uint32_t, uintptr_t, uintptr_t) {
    calls.push_back("adder");
    firing->add(1, &first);
}

class HostEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        firing = &events;
    }
    WrongForms wrongForms;
    HostEvents events{wrongForms};
};

TEST_F(HostEventsTest, HandlersOfAnEventAreCalledInRegistrationOrderWithTheArguments) {
    EXPECT_EQ(0, events.add(1, &second));
    EXPECT_EQ(0, events.add(35, &third));
    EXPECT_EQ(0, events.add(1, &first));
    events.fire(1, 7, 9);
    events.fire(35);
    events.fire(18);
    EXPECT_EQ((std::vector<std::string>{"second 1", "first 1 7 9", "third 35"}), calls);
    EXPECT_EQ(2u, events.count(1));
    EXPECT_EQ(0u, wrongForms.count());
}

TEST_F(HostEventsTest, UnregisteringRemovesOneRegistrationAndAMissingOneIsAWrongForm) {
    events.add(1, &first);
    events.add(1, &first);
    EXPECT_EQ(0, events.remove(1, &first));
    EXPECT_NE(0, events.remove(35, &first)) << "registered for another event only";
    events.fire(1);
    EXPECT_EQ(1u, calls.size());
    EXPECT_EQ(0, events.remove(1, &first));
    EXPECT_NE(0, events.remove(1, &first));
    EXPECT_EQ(2u, wrongForms.count());
    EXPECT_NE(0, events.add(1, nullptr));
    EXPECT_EQ(3u, wrongForms.count());
}

TEST_F(HostEventsTest, AHandlerRemovedDuringAFiringIsNotCalledAndOneAddedWaitsForTheNext) {
    events.add(1, &removeThird);
    events.add(1, &third);
    events.add(1, &second);
    events.fire(1);
    EXPECT_EQ((std::vector<std::string>{"remover", "second 1"}), calls);

    calls.clear();
    HostEvents adding{wrongForms};
    firing = &adding;
    adding.add(1, &addFirst);
    adding.fire(1, 2);
    EXPECT_EQ((std::vector<std::string>{"adder"}), calls);
    adding.remove(1, &addFirst);
    adding.fire(1, 3);
    EXPECT_EQ((std::vector<std::string>{"adder", "first 1 3 0"}), calls);
}

} // namespace
