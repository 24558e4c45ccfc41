// The plug-in linked into the test program, made through the same calls as the module's entry
// point, for tests that look inside the instance as well.
#pragma once

#include "formats/vst2/Vst2Effect.h"
#include "plugin/PluginFactory.h"
#include "plugin/TwinPulseToneMix.h"

#include <map>
#include <mutex>

namespace tpm
{
namespace linked_plugin
{
// The product inside each effect made here, kept aside: the binding sees it only through its instance.
inline std::map<const AEffect*, TwinPulseToneMix*>& Products()
{
    static std::map<const AEffect*, TwinPulseToneMix*> products;
    return products;
}
inline std::mutex& ProductsMutex()
{
    static std::mutex mutex;
    return mutex;
}
} // namespace linked_plugin

inline AEffect* MakeLinkedPlugin(audioMasterCallback host)
{
    std::unique_ptr<TwinPulseToneMix> made = CreatePlugin();
    TwinPulseToneMix* product = made.get();
    AEffect* effect = Vst2Effect::Create(host, PluginInstance::Adopt(std::move(made)));
    const std::lock_guard<std::mutex> guard(linked_plugin::ProductsMutex());
    if (effect)
        linked_plugin::Products()[effect] = product;
    return effect;
}

inline TwinPulseToneMix* ProductOf(AEffect* effect)
{
    const std::lock_guard<std::mutex> guard(linked_plugin::ProductsMutex());
    const auto found = linked_plugin::Products().find(effect);
    return found != linked_plugin::Products().end() ? found->second : nullptr;
}
} // namespace tpm
