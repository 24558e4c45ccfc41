// One CLAP plug-in instance: the host's clap_plugin calls translated into the product's instance,
// with the lifecycle and thread rules of the format checked first (a call in the wrong state or on
// the wrong thread answers false and changes nothing).
#pragma once

#include "formats/clap/ClapAbi.h"
#include "formats/clap/ClapEditor.h"
#include "plugin/PluginInstance.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

namespace tpm
{
class ClapPlugin final : private PluginInstance::IEventListener
{
  public:
    static const clap_plugin_descriptor_t kDescriptor;

    // A plug-in for the host, not yet initialised; null when memory runs out.
    static const clap_plugin_t* Create(const clap_host_t* host);

    // The extension tables, shared by every instance.
    static const clap_plugin_params_t kParams;
    static const clap_plugin_state_t kState;
    static const clap_plugin_audio_ports_t kAudioPorts;
    static const clap_plugin_latency_t kLatency;
    static const clap_plugin_render_t kRender;
    static const clap_plugin_preset_load_t kPresetLoad;
    static const clap_plugin_gui_t kGui;
    static const clap_plugin_timer_support_t kTimerSupport;
    static const clap_plugin_posix_fd_support_t kPosixFdSupport;

  private:
    enum class Stage
    {
        kCreated,
        kInitialized,
        kActive,
        kProcessing,
    };
    // Parameter changes one process call can take apart at their frames; more are applied in
    // further passes over the rest of the block.
    static constexpr std::size_t kMaxChanges = 512;

    explicit ClapPlugin(const clap_host_t* host);
    ~ClapPlugin() = default;
    static ClapPlugin* Self(const clap_plugin_t* plugin);

    // clap_plugin
    static bool Init(const clap_plugin_t* plugin);
    static void Destroy(const clap_plugin_t* plugin);
    static bool Activate(const clap_plugin_t* plugin, double sampleRate, uint32_t minFrames,
                         uint32_t maxFrames);
    static void Deactivate(const clap_plugin_t* plugin);
    static bool StartProcessing(const clap_plugin_t* plugin);
    static void StopProcessing(const clap_plugin_t* plugin);
    static void Reset(const clap_plugin_t* plugin);
    static clap_process_status Process(const clap_plugin_t* plugin, const clap_process_t* process);
    static const void* GetExtension(const clap_plugin_t* plugin, const char* id);
    static void OnMainThread(const clap_plugin_t* plugin);

    // params
    static uint32_t ParamCount(const clap_plugin_t* plugin);
    static bool ParamInfo(const clap_plugin_t* plugin, uint32_t index, clap_param_info_t* info);
    static bool ParamValue(const clap_plugin_t* plugin, clap_id id, double* value);
    static bool ValueToText(const clap_plugin_t* plugin, clap_id id, double value, char* out,
                            uint32_t capacity);
    static bool TextToValue(const clap_plugin_t* plugin, clap_id id, const char* text, double* value);
    static void Flush(const clap_plugin_t* plugin, const clap_input_events_t* in,
                      const clap_output_events_t* out);
    // state
    static bool SaveState(const clap_plugin_t* plugin, const clap_ostream_t* stream);
    static bool LoadState(const clap_plugin_t* plugin, const clap_istream_t* stream);
    // audio ports, latency, render, preset load
    static uint32_t AudioPortCount(const clap_plugin_t* plugin, bool isInput);
    static bool AudioPortInfo(const clap_plugin_t* plugin, uint32_t index, bool isInput,
                              clap_audio_port_info_t* info);
    static uint32_t Latency(const clap_plugin_t* plugin);
    static bool HardRealtime(const clap_plugin_t* plugin);
    static bool SetRenderMode(const clap_plugin_t* plugin, clap_plugin_render_mode mode);
    static bool LoadPreset(const clap_plugin_t* plugin, uint32_t kind, const char* location, const char* key);
    // gui, timer, fd
    static bool GuiApiSupported(const clap_plugin_t* plugin, const char* api, bool floating);
    static bool GuiPreferredApi(const clap_plugin_t* plugin, const char** api, bool* floating);
    static bool GuiCreate(const clap_plugin_t* plugin, const char* api, bool floating);
    static void GuiDestroy(const clap_plugin_t* plugin);
    static bool GuiSetScale(const clap_plugin_t* plugin, double scale);
    static bool GuiGetSize(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);
    static bool GuiCanResize(const clap_plugin_t* plugin);
    static bool GuiResizeHints(const clap_plugin_t* plugin, clap_gui_resize_hints_t* hints);
    static bool GuiAdjustSize(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);
    static bool GuiSetSize(const clap_plugin_t* plugin, uint32_t width, uint32_t height);
    static bool GuiSetParent(const clap_plugin_t* plugin, const clap_window_t* window);
    static bool GuiSetTransient(const clap_plugin_t* plugin, const clap_window_t* window);
    static void GuiSuggestTitle(const clap_plugin_t* plugin, const char* title);
    static bool GuiShow(const clap_plugin_t* plugin);
    static bool GuiHide(const clap_plugin_t* plugin);
    static void OnTimer(const clap_plugin_t* plugin, clap_id timerId);
    static void OnFd(const clap_plugin_t* plugin, int fd, clap_posix_fd_flags_t flags);

    bool OnMainThread() const;
    bool OnAudioThread() const;
    template <typename Sample>
    void ProcessEvents(const clap_process_t& process, const AudioBlock<Sample>& block,
                       const TransportSnapshot& transport);
    // Reads value events into changes; host gestures and other events are not ours to act on.
    static bool ReadChange(const clap_event_header_t& event, ParamChange& out);
    void SendHostEvents(const clap_output_events_t* out);
    void HostEventsPending() override;
    template <typename T> const T* HostExtension(const char* id) const;

    clap_plugin_t plugin;
    const clap_host_t* host;
    const clap_host_params_t* hostParams = nullptr;
    const clap_host_thread_check_t* hostThreadCheck = nullptr;
    const clap_host_state_t* hostState = nullptr;
    const clap_host_preset_load_t* hostPresetLoad = nullptr;
    std::unique_ptr<PluginInstance> instance;
    ClapEditor editor;
    std::thread::id mainThread;
    std::atomic<Stage> stage{Stage::kCreated};
    std::array<ParamChange, kMaxChanges> changes{};
    // A host event the host's list refused, kept for the next chance.
    bool heldEventWaiting = false;
    HostEvent heldEvent;
    std::atomic<bool> flushRequested{false};
};
} // namespace tpm
