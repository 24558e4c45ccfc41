// The VST3 bundle loaded for the tests as vsthost loads it (hostkit's Vst3HostedPlugin), and the
// CLAP build through the same host kit, at the tests' rate and block size.
#pragma once

#include "tools/hostkit/HostedInstance.h"
#include "tools/hostkit/Vst3HostedPlugin.h"

#include <gtest/gtest.h>
#include <memory>

namespace tpm
{
inline constexpr int kTestBlock = 256;

inline HostSettings TestHostSettings(bool playing)
{
    HostSettings settings;
    settings.sampleRate = 48000.0;
    settings.blockSize = kTestBlock;
    settings.playing = playing;
    return settings;
}

inline std::unique_ptr<Vst3HostedPlugin> LoadVst3(bool playing = false)
{
    std::string error;
    auto plugin = Vst3HostedPlugin::Load(TPM_VST3_BUNDLE_PATH, error, TestHostSettings(playing));
    EXPECT_TRUE(plugin) << error;
    return plugin;
}

inline std::unique_ptr<HostedInstance> LoadClap()
{
    std::string error;
    auto plugin = OpenHostedInstance(TPM_CLAP_MODULE_PATH, error, TestHostSettings(false));
    EXPECT_TRUE(plugin) << error;
    return plugin;
}
} // namespace tpm
