// Schedules through the host tool, as users run them (vsthost render --schedule FILE), and how a
// schedule's texts resolve against a plug-in.
#include "engine/CrossingCounter.h"
#include "tools/hostkit/ParamCatalog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tpm
{
namespace
{
struct ToolRun
{
    int exitCode = -1;
    std::string errors;
};

// One folder per process, since ctest runs the cases side by side; removed when the process ends.
class TempFolder : public testing::Environment
{
  public:
    static std::string Path(const std::string& name)
    {
        std::filesystem::create_directories(Folder());
        return (Folder() / name).string();
    }
    void TearDown() override { std::filesystem::remove_all(Folder()); }

  private:
    static std::filesystem::path Folder()
    {
        return std::filesystem::path(testing::TempDir()) / ("schedule_test_" + std::to_string(getpid()));
    }
};
const testing::Environment* const kTempFolder = testing::AddGlobalTestEnvironment(new TempFolder);

std::string TempPath(const std::string& name)
{
    return TempFolder::Path(name);
}

std::string WriteSchedule(const std::string& name, const std::string& text)
{
    std::string path = TempPath(name);
    std::ofstream(path) << text;
    return path;
}

ToolRun Render(const std::string& schedule, const std::string& output, const std::string& extra = "")
{
    std::remove(output.c_str());
    const std::string errors = TempPath("stderr.txt");
    const std::string command = std::string("'") + TPM_VSTHOST_PATH + "' render '" + TPM_MODULE_PATH +
                                "' -q --schedule '" + schedule + "' -o '" + output + "' " + extra + " 2>'" +
                                errors + "'";
    ToolRun run;
    const int status = std::system(command.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errors);
    std::stringstream text;
    text << in.rdbuf();
    run.errors = text.str();
    return run;
}

std::vector<float> ReadStereo(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<float> samples;
    float value = 0.0f;
    while (in.read(reinterpret_cast<char*>(&value), sizeof value))
        samples.push_back(value);
    return samples;
}

// Frequency of one channel of interleaved stereo between two times.
double Frequency(const std::vector<float>& stereo, int channel, double rate, double from, double to)
{
    std::vector<float> mono;
    for (auto i = static_cast<std::size_t>(from * rate); i < static_cast<std::size_t>(to * rate); ++i)
        mono.push_back(stereo[2 * i + static_cast<std::size_t>(channel)]);
    CrossingCounter counter;
    counter.Feed(mono.data(), mono.size(), 0.0);
    return counter.Frequency(rate);
}

float Peak(const std::vector<float>& samples, std::size_t from, std::size_t to)
{
    float peak = 0.0f;
    for (std::size_t i = from; i < to; ++i)
        peak = std::max(peak, std::fabs(samples[i]));
    return peak;
}

double Beat(const std::vector<float>& stereo, double rate, double from, double to)
{
    return Frequency(stereo, 1, rate, from, to) - Frequency(stereo, 0, rate, from, to);
}
} // namespace

TEST(Schedule, RampMovesInTheParametersOwnUnits)
{
    constexpr double kRate = 16000.0;
    const std::string schedule = WriteSchedule("ramp.schedule", "# 10 Hz to 4 Hz over a minute from 2 s\n"
                                                                "0 Binaural=10 Fade=100 Mix=100\n"
                                                                "2 Binaural=4 \"Base Freq\"=400 over 1:00\n"
                                                                "end 1:04\n");
    const std::string output = TempPath("ramp.f32");
    const ToolRun run = Render(schedule, output, "--rate 16000");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::vector<float> audio = ReadStereo(output);
    ASSERT_EQ(audio.size(), static_cast<std::size_t>(64 * kRate * 2));

    // At the ramp's start, halfway and end, once the plug-in's 100 ms glide has caught up.
    EXPECT_NEAR(Beat(audio, kRate, 1.5, 2.0), 10.0, 0.05);
    EXPECT_NEAR(Beat(audio, kRate, 31.75, 32.25), 7.0, 0.05);
    EXPECT_NEAR(Beat(audio, kRate, 62.5, 63.0), 4.0, 0.05);
    // "Base Freq" bends its normalised scale; halfway in hertz is 300, not halfway on that scale.
    EXPECT_NEAR(Frequency(audio, 0, kRate, 31.75, 32.25), 300.0, 0.5);
}

TEST(Schedule, ProgramSwitchLandsOnItsSample)
{
    const std::string start = "0 program \"Higher frequencies\"\n";
    const std::string with = WriteSchedule("switch.schedule", start + "0:12.345 program 8\nend 13\n");
    const std::string without = WriteSchedule("noswitch.schedule", start + "end 13\n");
    ASSERT_EQ(Render(with, TempPath("switch.f32"), "--rate 48000").exitCode, 0);
    ASSERT_EQ(Render(without, TempPath("noswitch.f32"), "--rate 48000").exitCode, 0);
    const std::vector<float> a = ReadStereo(TempPath("switch.f32"));
    const std::vector<float> b = ReadStereo(TempPath("noswitch.f32"));
    ASSERT_EQ(a.size(), b.size());
    std::size_t first = 0;
    while (first < a.size() && a[first] == b[first])
        ++first;
    EXPECT_EQ(first / 2, 592560u); // 12.345 s at 48 kHz, not the 512-frame block's start
}

TEST(Schedule, EveryExampleParsesAndRenders)
{
    const struct
    {
        const char* file;
        double seconds;
    } examples[] = {{"fall-asleep", 1830.0}, {"focus", 2400.0}, {"meditation", 1200.0}};
    constexpr double kRate = 1000.0; // enough for the examples' tones of up to 240 Hz, and quick
    for (const auto& example : examples)
    {
        const std::string output = TempPath(std::string(example.file) + ".f32");
        const ToolRun run = Render(std::string(TPM_SOURCE_DIR) + "/examples/" + example.file + ".schedule",
                                   output, "--rate 1000");
        ASSERT_EQ(run.exitCode, 0) << example.file << ": " << run.errors;
        const std::vector<float> audio = ReadStereo(output);
        EXPECT_EQ(audio.size(), static_cast<std::size_t>(example.seconds * kRate * 2)) << example.file;
        float peak = 0.0f;
        for (float sample : audio)
        {
            ASSERT_TRUE(std::isfinite(sample)) << example.file;
            peak = std::max(peak, std::fabs(sample));
        }
        EXPECT_GT(peak, 0.1f) << example.file;
        // Eased in and out: quiet in the first and the last half second, never a sweep or a cut at full
        // level.
        const std::size_t edge = static_cast<std::size_t>(0.5 * kRate * 2);
        EXPECT_LT(Peak(audio, 0, edge), 0.1f * peak) << example.file << " starts loud";
        EXPECT_LT(Peak(audio, audio.size() - edge, audio.size()), 0.1f * peak)
            << example.file << " ends loud";
    }
}

TEST(Schedule, EndFadesOutInsteadOfCuttingMidWave)
{
    const std::string schedule = WriteSchedule("cut.schedule", "0 Mix=100 Fade=1\nend 1\n");
    const std::string output = TempPath("cut.f32");
    ASSERT_EQ(Render(schedule, output, "--rate 48000").exitCode, 0);
    const std::vector<float> audio = ReadStereo(output);
    ASSERT_EQ(audio.size(), 96000u);
    const float peak = Peak(audio, 0, audio.size());
    // Falling over the last tens of milliseconds to silence at the last sample.
    EXPECT_LT(Peak(audio, audio.size() - 2 * 480, audio.size()), 0.25f * peak);
    EXPECT_LT(Peak(audio, audio.size() - 2, audio.size()), 0.001f);
}

TEST(Schedule, NameOfSeveralWordsNeedsNoQuotes)
{
    const std::string schedule =
        WriteSchedule("words.schedule", "0 Mix=100 Base Freq=300 LFO1 Sync=No Fade=1\nend 2\n");
    const std::string output = TempPath("words.f32");
    const ToolRun run = Render(schedule, output, "--rate 16000");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NEAR(Frequency(ReadStereo(output), 0, 16000.0, 0.5, 1.5), 300.0, 0.5);
}

// One list parameter, "Wave", of three texts, counting what a host asks of it; its own spare.
class CountingListPlugin final : public HostedInstance
{
  public:
    int textsSet = 0;
    int displaysAsked = 0;

    std::string Name() override { return "counting"; }
    std::vector<std::string> DescribeIdentity() override { return {}; }
    int InputCount() override { return 2; }
    int OutputCount() override { return 2; }
    void Open() override {}
    void Configure(double, int) override {}
    bool Resume() override { return true; }
    void Suspend() override {}
    void Close() override {}
    int ParamCount() override { return 1; }
    std::string ParamName(int) override { return "Wave"; }
    std::string ParamLabel(int) override { return ""; }
    std::string ParamDisplay(int) override
    {
        ++displaysAsked;
        return kTexts[Step()];
    }
    bool Range(int, ParamRange&) override { return false; } // texts found by sweeping, as for VST2
    double ParamNormalized(int) override { return value; }
    void SetParamNormalized(int, double normalized) override { value = normalized; }
    bool SetParamText(int, const std::string& text) override
    {
        ++textsSet;
        for (int i = 0; i < 3; ++i)
            if (text == kTexts[i])
                value = i / 2.0;
        return true;
    }
    std::string DisplayOfValue(int, double) override { return ""; }
    HostedInstance* Spare() override { return this; }
    int ProgramCount() override { return 0; }
    std::string ProgramName(int) override { return ""; }
    int CurrentProgram() override { return -1; }
    std::string CurrentProgramName() override { return ""; }
    bool SelectProgram(int) override { return false; }
    bool SupportsDouble() override { return false; }
    void Process(float**, float**, int) override {}
    void Process(double**, double**, int) override {}
    void Advance(int) override {}
    bool SaveState(std::vector<uint8_t>&) override { return false; }
    bool LoadState(const std::vector<uint8_t>&) override { return false; }
    bool EditorSize(int&, int&) override { return false; }
    bool OpenEditor(void*) override { return false; }
    void EditorIdle() override {}
    void CloseEditor() override {}

  private:
    static constexpr const char* kTexts[] = {"Sine", "Golden Sine", "Square"};
    int Step() const { return value < 0.25 ? 0 : value < 0.75 ? 1 : 2; }
    double value = 0.0;
};

// However many lines use them, a list's texts are swept once and each is asked of the plug-in once.
TEST(Schedule, ListTextsAreAskedOfThePluginOnceForAWholeFile)
{
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += i % 2 ? "0 Wave=Sine\n" : "0 Wave=\"Golden Sine\"\n";
    CountingListPlugin plugin;
    ParamCatalog catalog(plugin);
    Schedule schedule;
    std::string error;
    ASSERT_TRUE(
        ParseSchedule(text + "end 1\n", "long.schedule", ScheduleLookupsFor(catalog), schedule, error))
        << error;
    ASSERT_EQ(schedule.steps.size(), 10000u);
    EXPECT_DOUBLE_EQ(schedule.steps[0].params.at(0).setting.normalized, 0.5);
    EXPECT_DOUBLE_EQ(schedule.steps[1].params.at(0).setting.normalized, 0.0);
    EXPECT_EQ(plugin.textsSet, 2);
    EXPECT_LT(plugin.displaysAsked, 2000); // one sweep of the list
}

TEST(Schedule, FilesThatAreNoSchedulesAreRefusedByName)
{
    const std::string nul = WriteSchedule("nul.schedule", std::string("0 Mix=5") + '\0' + " oops\nend 1\n");
    const struct
    {
        const char* what;
        std::string path;
        std::string message;
    } cases[] = {
        {"endless device", "/dev/zero", "schedule '/dev/zero' is larger than"},
        {"folder", testing::TempDir(), "schedule '" + testing::TempDir() + "' is a folder"},
        {"NUL in a value", nul, nul + ":1:8: "},
    };
    for (const auto& bad : cases)
    {
        const ToolRun run = Render(bad.path, TempPath("bad.f32"));
        EXPECT_NE(run.exitCode, 0) << bad.what;
        EXPECT_NE(run.errors.find(bad.message), std::string::npos) << bad.what << ": " << run.errors;
    }
}

TEST(Schedule, MalformedLinesNameTheirLineAndColumn)
{
    const struct
    {
        const char* what;
        const char* text;
        const char* place;
    } cases[] = {
        {"bad time", "0 Mix=50\n1:7x Mix=60\n", ":2:1: "},
        {"unknown parameter", "# start\n0 Mix=50 Loudness=3\n", ":2:10: "},
        {"bad value", "0 Mix=50\n\n5 Wave=Sqare\n", ":3:3: "},
        {"non-monotonic times", "0:20 Mix=10\n0:10 Mix=20\n", ":2:1: "},
        {"words before a name", "0 Mix=5 Low Base Freq=300\n", ":1:9: "},
        {"name of two parameters", "0 LFO1 Rate=1/4\n", ":1:3: 'LFO1 Rate' names 2 parameters"},
    };
    for (const auto& bad : cases)
    {
        const std::string schedule = WriteSchedule("bad.schedule", bad.text);
        const std::string output = TempPath("bad.f32");
        const ToolRun run = Render(schedule, output);
        EXPECT_NE(run.exitCode, 0) << bad.what;
        EXPECT_NE(run.errors.find(schedule + bad.place), std::string::npos) << bad.what << ": " << run.errors;
        EXPECT_FALSE(std::ifstream(output).good()) << bad.what << ": nothing is rendered";
    }
}
} // namespace tpm
