#include <gtest/gtest.h>

#include "support/ShownMessageBoxes.h"
#include "ui/SpeedsEntry.h"
#include "winsys/HeadlessScript.h"

namespace {

TEST(SpeedsEntryTest, TheDialogRefusesAnInvalidListWithItsMessage) {
    win::headless::reset();
    EXPECT_EQ(acceptSpeedsFromDialog("0.5;1;2"), (std::vector<double>{0.5, 1, 2}));
    EXPECT_TRUE(shownMessageBoxes().empty());
    EXPECT_FALSE(acceptSpeedsFromDialog("0.5|1|2")) << "the dialog separates with semicolons";
    auto shown = shownMessageBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Invalid Speeds");
    EXPECT_EQ(shown[0].text, "The speeds string you entered is not valid. You have to enter a sequence of values "
                             "between 0.03 and 100 in ascending order separated by semicolons, where one value has "
                             "to be 1.");
    win::headless::reset();
}

} // namespace
