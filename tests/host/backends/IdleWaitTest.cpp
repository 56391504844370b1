// The message loop sleeps in the backend when it has nothing to do: one wait per
// idle period, with the next timer as its deadline and none without timers.

#include "host/backends/headless/HeadlessBackend.h"
#include "host/window/WindowSystem.h"
#include "tests/support/MessageRecorder.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

using namespace korvane;

namespace {

// Remembers the deadline of every wait the loop asks for.
class CountingBackend : public backends::HeadlessBackend {
public:
    bool WaitForEvent(std::optional<std::uint64_t> deadline) override
    {
        waits.push_back(deadline);
        return HeadlessBackend::WaitForEvent(deadline);
    }
    std::vector<std::optional<std::uint64_t>> waits;
};

class IdleLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto counting = std::make_unique<CountingBackend>();
        backend = counting.get();
        window::UseBackend(std::move(counting));
        form = window::CreateHostWindow({ .rect = { 10, 10, 110, 60 }, .title = {}, .handler = &handler });
        window::DoEvents();
    }
    void TearDown() override
    {
        window::ResetWindowSystem();
        EXPECT_EQ(window::LiveWindowCount(), 0u);
    }

    CountingBackend* backend = nullptr;
    korvane::testing::Recorder handler;
    HWND form = nullptr;
};

TEST_F(IdleLoop, SleepsUntilTheNextTimerAndWithoutDeadlineWhenNothingIsDue)
{
    backend->SetNow(1000);
    int wakeUps = 0;
    backend->SetIdleHook([&] {
        ++wakeUps;
        return false;
    });
    EXPECT_FALSE(window::RunModalLoop([] { return false; }));
    SetTimer(form, 7, 250, nullptr);
    SetTimer(form, 8, 40, nullptr);
    EXPECT_FALSE(window::RunModalLoop([] { return false; }));
    EXPECT_EQ(std::tuple(wakeUps, backend->waits), std::tuple(2, std::vector<std::optional<std::uint64_t>> { std::nullopt, 1040 }));
}

TEST_F(IdleLoop, WakesOncePerInputAndHandlesItBeforeSleepingAgain)
{
    int wakeUps = 0;
    int clicksSeenAtSecondWait = -1;
    backend->SetIdleHook([&] {
        ++wakeUps;
        if (wakeUps == 1) {
            backend->MoveMouse(20, 20);
            backend->PressMouse();
            backend->ReleaseMouse();
            return true;
        }
        clicksSeenAtSecondWait = static_cast<int>(handler.Of(WM_LBUTTONDOWN).size());
        return false;
    });
    EXPECT_FALSE(window::RunModalLoop([] { return false; }));
    EXPECT_EQ(std::tuple(wakeUps, clicksSeenAtSecondWait, backend->waits),
              std::tuple(2, 1, std::vector<std::optional<std::uint64_t>> { std::nullopt, std::nullopt }));
}

} // namespace
