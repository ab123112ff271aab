// The installer's property functions behind a session's handle.

#include <gtest/gtest.h>

#include <cstring>

#include "installer/InstallerSession.h"

namespace {

TEST(InstallerSession, GetPropertyFillsTheCallersBufferOrSaysHowMuchItNeeds) {
    InstallerSession session;
    session.setProperty("INSTALLDIR", "/opt/z/");
    char buffer[8];
    uint32_t capacity = sizeof buffer;
    EXPECT_EQ(MsiGetProperty(session.handle(), "INSTALLDIR", buffer, &capacity), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "/opt/z/");
    EXPECT_EQ(capacity, 7u);

    session.setProperty("INSTALLDIR", "/opt/zz/");
    capacity = sizeof buffer;
    EXPECT_EQ(MsiGetProperty(session.handle(), "INSTALLDIR", buffer, &capacity), ERROR_MORE_DATA);
    EXPECT_STREQ(buffer, "/opt/zz");
    EXPECT_EQ(capacity, 8u);
    capacity = 0;
    EXPECT_EQ(MsiGetProperty(session.handle(), "INSTALLDIR", nullptr, &capacity), ERROR_SUCCESS);
    EXPECT_EQ(capacity, 8u);

    capacity = sizeof buffer;
    EXPECT_EQ(MsiGetProperty(session.handle(), "installdir", buffer, &capacity), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "");
}

TEST(InstallerSession, SettingAnEmptyValueRemovesTheProperty) {
    InstallerSession session;
    EXPECT_EQ(MsiSetProperty(session.handle(), "ProductName", "Zephrel"), ERROR_SUCCESS);
    EXPECT_EQ(session.property("ProductName"), "Zephrel");
    EXPECT_EQ(MsiSetProperty(session.handle(), "ProductName", ""), ERROR_SUCCESS);
    EXPECT_TRUE(session.properties().empty());
    EXPECT_EQ(MsiSetProperty(session.handle(), "", "x"), ERROR_INVALID_PARAMETER);
}

TEST(InstallerSession, AHandleIsGoodOnlyWhileItsSessionLives) {
    MSIHANDLE closed = 0;
    {
        InstallerSession session;
        closed = session.handle();
    }
    InstallerSession other;
    other.setProperty("ProductName", "Zephrel");
    char buffer[16];
    uint32_t capacity = sizeof buffer;
    EXPECT_NE(other.handle(), closed);
    EXPECT_EQ(MsiGetProperty(closed, "ProductName", buffer, &capacity), ERROR_INVALID_HANDLE);
    EXPECT_EQ(MsiSetProperty(closed, "ProductName", "x"), ERROR_INVALID_HANDLE);
}

} // namespace
