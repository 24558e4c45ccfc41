// Loads the built plug-in module through its entry point, as a host would, for integration tests.
#pragma once

#include "tools/hostkit/HostedPlugin.h"

#include <gtest/gtest.h>
#include <memory>

inline std::unique_ptr<HostedPlugin> LoadTestModule(const HostSettings& settings = {})
{
    std::string error;
    auto plugin = HostedPlugin::Load(TPM_MODULE_PATH, error, settings);
    EXPECT_TRUE(plugin) << error;
    return plugin;
}
