// The schedule runner on an audio callback: once built, its per-block work allocates nothing.
#include "support/AllocationCounter.h"
#include "support/LinkedPlugin.h"
#include "support/ParamIndex.h"
#include "tools/hostkit/ScheduleRunner.h"
#include "tools/hostkit/Vst2HostedPlugin.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace tpm
{
namespace
{
ScheduledParam Param(int index, double normalized, double real = std::numeric_limits<double>::quiet_NaN())
{
    ScheduledParam param;
    param.setting.index = index;
    param.setting.normalized = normalized;
    param.realValue = real;
    return param;
}
} // namespace

TEST(ScheduleRunnerRealTime, ProgramSwitchesRampsAndCancelsWithoutAllocating)
{
    std::string error;
    HostSettings settings;
    settings.recordCalls = false;
    auto host = Vst2HostedPlugin::Create(&MakeLinkedPlugin, error, settings);
    ASSERT_TRUE(host) << error;
    host->Start();

    Schedule schedule;
    schedule.steps.resize(3);
    schedule.steps[0].program = 2;
    schedule.steps[0].params = {Param(kWave, 1.0)};
    schedule.steps[1].seconds = 0.1;
    schedule.steps[1].rampSeconds = 0.5; // one ramp in real units, one aimed at a normalised value
    schedule.steps[1].params = {Param(kBaseFreq, 0.0, 300.0), Param(kBinaural, 0.0)};
    schedule.steps[2].seconds = 0.3; // a switch that ends the running ramp on its parameter
    schedule.steps[2].params = {Param(kBinaural, 4.0 / 512.0)};
    ScheduleRunner runner(*host, schedule, 48000.0);

    std::vector<float> left(512), right(512);
    float* outputs[2] = {left.data(), right.data()};
    AEffect* effect = host->Effect();
    for (long long frame = 0; frame < 48000;)
    {
        AllocationCounter::Count(true);
        const int frames = runner.Prepare(frame, 512);
        AllocationCounter::Count(false);
        effect->processReplacing(effect, outputs, outputs, frames);
        frame += frames;
    }
    EXPECT_EQ(AllocationCounter::Counted(), 0);
    EXPECT_EQ(host->Dispatch(vst::effGetProgram), 2);
    EXPECT_EQ(host->ParamDisplay(kBaseFreq), "300.0");
    EXPECT_EQ(host->ParamDisplay(kBinaural), "4.00");
}
} // namespace tpm
