#pragma once

#include <gtest/gtest.h>

#include "ui/ModuleResources.h"
#include "winsys/HeadlessScript.h"

// A test of one of the module's dialogs, run by the headless window system's script: every
// interaction must be scripted, and none may fail.
class ModuleDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        win::headless::reset();
        win::headless::setUnscriptedPolicy(win::headless::Unscripted::Fail);
        ModuleResources::registerDialogs();
    }
    void TearDown() override {
        EXPECT_TRUE(win::headless::failures().empty()) << win::headless::failures().front();
        win::headless::reset();
    }
};
