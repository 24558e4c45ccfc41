// The fixture of tests that need a real window under Wine and Xvfb: a host window like vsthost's, a
// message pump that waits for a condition, and real pointer and keyboard input sent from outside with
// xdotool at screen positions (Wine maps its top-level windows to X windows on the same display).
#pragma once

#include "tools/vsthost/HostWindow.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace tpm
{
class WindowedTest : public ::testing::Test
{
  protected:
    static constexpr int kWidth = 550;
    static constexpr int kHeight = 363;

    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // Runs the window's messages until `done` answers true; false after `timeoutMs`.
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);
    void PumpFor(int ms);
    // Starts `xdotool ARGS` (its completion shows in the events it causes).
    static void Xdo(const std::string& args);
    // "X Y" on the screen of a point in the host window's client area.
    std::string ScreenAt(int x, int y);

    static std::unique_ptr<HostWindow> host;
};
} // namespace tpm
