// Loads the built plug-in module through its entry point, as a host would, for integration tests.
#pragma once

#include "tools/hostkit/Vst2HostedPlugin.h"

#include <gtest/gtest.h>
#include <memory>

namespace tpm
{
inline std::unique_ptr<Vst2HostedPlugin> LoadTestModule(const HostSettings& settings = {})
{
    std::string error;
    auto plugin = Vst2HostedPlugin::Load(TPM_MODULE_PATH, error, settings);
    EXPECT_TRUE(plugin) << error;
    return plugin;
}
} // namespace tpm
