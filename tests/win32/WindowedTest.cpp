#include "WindowedTest.h"

#include <chrono>
#include <cstdio>
#include <windows.h>

namespace tpm
{
std::unique_ptr<HostWindow> WindowedTest::host;

// One host window for the whole suite: under Wine a top-level window takes seconds to go away.
void WindowedTest::SetUpTestSuite()
{
    std::string error;
    host = HostWindow::Create(kWidth, kHeight, "window layer test", error);
    if (!host)
        std::fprintf(stderr, "window tests: %s\n", error.c_str());
}

void WindowedTest::TearDownTestSuite()
{
    host.reset();
}

void WindowedTest::SetUp()
{
    ASSERT_TRUE(host) << "no host window";
    PumpFor(100);
}

bool WindowedTest::PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done())
    {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        host->PumpEvents(5);
    }
    return true;
}

void WindowedTest::PumpFor(int ms)
{
    PumpUntil([] { return false; }, ms);
}

void WindowedTest::Xdo(const std::string& args)
{
    // Wine starts Linux programs given by their path on the Z: drive.
    std::string command = "Z:\\usr\\bin\\xdotool " + args;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process))
        << command;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

std::string WindowedTest::ScreenAt(int x, int y)
{
    int originX = 0;
    int originY = 0;
    host->ScreenOrigin(originX, originY);
    return std::to_string(originX + x) + " " + std::to_string(originY + y);
}
} // namespace tpm
