// A minimal CLAP host for the tests: the built .clap, loaded as vsthost loads it (ClapModule), driven
// call by call through its vtables, with host extensions (thread check, params flush, timers) that
// the test steers, and what the plug-in sends recorded.
#pragma once

#include "formats/clap/ClapAbi.h"
#include "tools/hostkit/ClapModule.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tpm
{
class ClapTestHost
{
  public:
    explicit ClapTestHost(const char* path = TPM_CLAP_MODULE_PATH)
    {
        std::string error;
        module = ClapModule::Load(path, error);
        EXPECT_TRUE(module) << error;
        host.host_data = this;
    }
    ~ClapTestHost() { DestroyPlugin(); }
    ClapTestHost(const ClapTestHost&) = delete;
    ClapTestHost& operator=(const ClapTestHost&) = delete;

    const clap_preset_discovery_factory_t* PresetFactory() const
    {
        return module ? module->PresetFactory() : nullptr;
    }

    // The plug-in, created and initialised; null on failure.
    const clap_plugin_t* Create()
    {
        const clap_plugin_factory_t* factory = module ? module->PluginFactory() : nullptr;
        if (!factory)
            return nullptr;
        plugin = factory->create_plugin(factory, &host, factory->get_plugin_descriptor(factory, 0)->id);
        if (plugin && !plugin->init(plugin))
        {
            plugin->destroy(plugin);
            plugin = nullptr;
        }
        return plugin;
    }
    // Destroys the plug-in now, as a host closing it does.
    void DestroyPlugin()
    {
        if (plugin)
            plugin->destroy(plugin);
        plugin = nullptr;
    }
    template <typename T> const T* Ext(const char* id) const
    {
        return static_cast<const T*>(plugin->get_extension(plugin, id));
    }
    bool Activate(double rate = 48000.0, uint32_t maxFrames = 512)
    {
        return plugin->activate(plugin, rate, 1, maxFrames) && plugin->start_processing(plugin);
    }

    // One block of stereo audio: left and right hold the input and receive the output (through
    // separate buffers). Value events at their offsets.
    template <typename Sample>
    clap_process_status Process(std::vector<Sample>& left, std::vector<Sample>& right,
                                const std::vector<clap_event_param_value_t>& values = {},
                                const clap_event_transport_t* transport = nullptr)
    {
        std::vector<Sample> inL(left), inR(right);
        Sample* outs[2] = {left.data(), right.data()};
        Sample* ins[2] = {inL.data(), inR.data()};
        clap_audio_buffer_t in{}, out{};
        in.channel_count = out.channel_count = 2;
        if constexpr (sizeof(Sample) == 8)
        {
            in.data64 = ins;
            out.data64 = outs;
        }
        else
        {
            in.data32 = ins;
            out.data32 = outs;
        }
        incoming = values;
        const clap_input_events_t inEvents{this, &InSize, &InGet};
        const clap_output_events_t outEvents{this, &OutPush};
        const clap_process_t process{
            -1, static_cast<uint32_t>(left.size()), transport, &in, &out, 1, 1, &inEvents, &outEvents};
        return plugin->process(plugin, &process);
    }

    // Hands value events to the plug-in outside processing, and hears what it has to say.
    void Flush(const std::vector<clap_event_param_value_t>& values)
    {
        incoming = values;
        const clap_input_events_t inEvents{this, &InSize, &InGet};
        const clap_output_events_t outEvents{this, &OutPush};
        Ext<clap_plugin_params_t>(kClapExtParams)->flush(plugin, &inEvents, &outEvents);
    }

    static clap_event_param_value_t Value(uint32_t offset, clap_id id, double value)
    {
        return {{sizeof(clap_event_param_value_t), offset, kClapCoreEventSpaceId, kClapEventParamValue, 0},
                id,
                nullptr,
                -1,
                -1,
                -1,
                -1,
                value};
    }

    bool answerMainThread = true;
    bool answerAudioThread = true;
    int flushRequests = 0;
    int timersRegistered = 0;
    int timersUnregistered = 0;
    // Output events as (type, param id, value).
    struct Heard
    {
        uint16_t type;
        clap_id param;
        double value;
    };
    std::vector<Heard> heard;
    clap_host_t host{kClapVersion, nullptr, "clap test host", "twinPulseToneMix developers",
                     "",           "1.0",   &GetExtension,    &Request,
                     &Request,     &Request};

  private:
    static ClapTestHost& Of(const clap_host_t* h) { return *static_cast<ClapTestHost*>(h->host_data); }
    static void Request(const clap_host_t*) {}
    static const void* GetExtension(const clap_host_t* h, const char* id)
    {
        static const clap_host_thread_check_t threadCheck{
            [](const clap_host_t* h2) { return Of(h2).answerMainThread; },
            [](const clap_host_t* h2) { return Of(h2).answerAudioThread; }};
        static const clap_host_params_t params{[](const clap_host_t*, clap_param_rescan_flags) {},
                                               [](const clap_host_t*, clap_id, clap_param_clear_flags) {},
                                               [](const clap_host_t* h2) { ++Of(h2).flushRequests; }};
        static const clap_host_timer_support_t timers{[](const clap_host_t* h2, uint32_t, clap_id* timerId) {
                                                          *timerId = 7;
                                                          ++Of(h2).timersRegistered;
                                                          return true;
                                                      },
                                                      [](const clap_host_t* h2, clap_id) {
                                                          ++Of(h2).timersUnregistered;
                                                          return true;
                                                      }};
        const std::string wanted(id);
        if (wanted == kClapExtThreadCheck)
            return &threadCheck;
        if (wanted == kClapExtParams)
            return &params;
        if (wanted == kClapExtTimerSupport)
            return &timers;
        (void)h;
        return nullptr;
    }
    static uint32_t InSize(const clap_input_events_t* list)
    {
        return static_cast<uint32_t>(static_cast<ClapTestHost*>(list->ctx)->incoming.size());
    }
    static const clap_event_header_t* InGet(const clap_input_events_t* list, uint32_t index)
    {
        return &static_cast<ClapTestHost*>(list->ctx)->incoming[index].header;
    }
    static bool OutPush(const clap_output_events_t* list, const clap_event_header_t* event)
    {
        auto& self = *static_cast<ClapTestHost*>(list->ctx);
        if (event->type == kClapEventParamValue)
        {
            const auto* v = reinterpret_cast<const clap_event_param_value_t*>(event);
            self.heard.push_back({event->type, v->param_id, v->value});
        }
        else
        {
            const auto* g = reinterpret_cast<const clap_event_param_gesture_t*>(event);
            self.heard.push_back({event->type, g->param_id, 0.0});
        }
        return true;
    }

    std::shared_ptr<ClapModule> module;
    const clap_plugin_t* plugin = nullptr;
    std::vector<clap_event_param_value_t> incoming;
};
} // namespace tpm
