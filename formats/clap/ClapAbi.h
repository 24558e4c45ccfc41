// Our own declarations of the CLAP 1.2 binary interface: the structures, vtables, ids and numbers a
// CLAP host and plug-in exchange on 64-bit Linux and 64-bit Windows. CLAP uses the plain C calling
// convention there, so the function pointers carry no attribute. Sizes and offsets are checked at the end.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

// ---- version ----------------------------------------------------------------------------------

struct clap_version
{
    uint32_t major;
    uint32_t minor;
    uint32_t revision;
};
using clap_version_t = clap_version;

inline constexpr uint32_t kClapVersionMajor = 1;
inline constexpr uint32_t kClapVersionMinor = 2;
inline constexpr uint32_t kClapVersionRevision = 2;
inline constexpr clap_version_t kClapVersion = {kClapVersionMajor, kClapVersionMinor, kClapVersionRevision};

// Every 1.x release keeps the ABI; 0.x were development versions.
constexpr bool clap_version_is_compatible(clap_version_t v)
{
    return v.major >= 1;
}

// ---- common types and sizes -------------------------------------------------------------------

using clap_id = uint32_t;
inline constexpr clap_id kClapInvalidId = UINT32_MAX;

inline constexpr std::size_t kClapNameSize = 256;
inline constexpr std::size_t kClapPathSize = 1024;

using clap_beattime = int64_t;
using clap_sectime = int64_t;
inline constexpr int64_t kClapBeattimeFactor = int64_t{1} << 31;
inline constexpr int64_t kClapSectimeFactor = int64_t{1} << 31;

using clap_timestamp = uint64_t; // seconds since the UNIX epoch
inline constexpr clap_timestamp kClapTimestampUnknown = 0;

struct clap_universal_plugin_id
{
    const char* abi; // "clap", "vst3", "vst2", ...
    const char* id;
};
using clap_universal_plugin_id_t = clap_universal_plugin_id;

// ---- streams ----------------------------------------------------------------------------------

struct clap_istream
{
    void* ctx;
    // Bytes read, 0 at the end, -1 on error.
    int64_t (*read)(const clap_istream* stream, void* buffer, uint64_t size);
};
using clap_istream_t = clap_istream;

struct clap_ostream
{
    void* ctx;
    // Bytes written, -1 on error.
    int64_t (*write)(const clap_ostream* stream, const void* buffer, uint64_t size);
};
using clap_ostream_t = clap_ostream;

// ---- events -----------------------------------------------------------------------------------

struct clap_event_header
{
    uint32_t size; // including this header
    uint32_t time; // sample offset within the block
    uint16_t space_id;
    uint16_t type;
    uint32_t flags;
};
using clap_event_header_t = clap_event_header;

inline constexpr uint16_t kClapCoreEventSpaceId = 0;

inline constexpr uint32_t kClapEventIsLive = 1u << 0;
inline constexpr uint32_t kClapEventDontRecord = 1u << 1;

inline constexpr uint16_t kClapEventNoteOn = 0;
inline constexpr uint16_t kClapEventNoteOff = 1;
inline constexpr uint16_t kClapEventNoteChoke = 2;
inline constexpr uint16_t kClapEventNoteEnd = 3;
inline constexpr uint16_t kClapEventNoteExpression = 4;
inline constexpr uint16_t kClapEventParamValue = 5;
inline constexpr uint16_t kClapEventParamMod = 6;
inline constexpr uint16_t kClapEventParamGestureBegin = 7;
inline constexpr uint16_t kClapEventParamGestureEnd = 8;
inline constexpr uint16_t kClapEventTransport = 9;
inline constexpr uint16_t kClapEventMidi = 10;
inline constexpr uint16_t kClapEventMidiSysex = 11;
inline constexpr uint16_t kClapEventMidi2 = 12;

struct clap_event_param_value
{
    clap_event_header_t header;
    clap_id param_id;
    void* cookie;
    int32_t note_id; // -1: any
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double value;
};
using clap_event_param_value_t = clap_event_param_value;

struct clap_event_param_mod
{
    clap_event_header_t header;
    clap_id param_id;
    void* cookie;
    int32_t note_id;
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double amount;
};
using clap_event_param_mod_t = clap_event_param_mod;

struct clap_event_param_gesture
{
    clap_event_header_t header;
    clap_id param_id;
};
using clap_event_param_gesture_t = clap_event_param_gesture;

inline constexpr uint32_t kClapTransportHasTempo = 1u << 0;
inline constexpr uint32_t kClapTransportHasBeatsTimeline = 1u << 1;
inline constexpr uint32_t kClapTransportHasSecondsTimeline = 1u << 2;
inline constexpr uint32_t kClapTransportHasTimeSignature = 1u << 3;
inline constexpr uint32_t kClapTransportIsPlaying = 1u << 4;
inline constexpr uint32_t kClapTransportIsRecording = 1u << 5;
inline constexpr uint32_t kClapTransportIsLoopActive = 1u << 6;
inline constexpr uint32_t kClapTransportIsWithinPreRoll = 1u << 7;

struct clap_event_transport
{
    clap_event_header_t header;
    uint32_t flags;
    clap_beattime song_pos_beats;
    clap_sectime song_pos_seconds;
    double tempo;     // beats per minute
    double tempo_inc; // per sample, until the next transport event
    clap_beattime loop_start_beats;
    clap_beattime loop_end_beats;
    clap_sectime loop_start_seconds;
    clap_sectime loop_end_seconds;
    clap_beattime bar_start;
    int32_t bar_number;
    uint16_t tsig_num;
    uint16_t tsig_denom;
};
using clap_event_transport_t = clap_event_transport;

struct clap_input_events
{
    void* ctx;
    uint32_t (*size)(const clap_input_events* list);
    const clap_event_header_t* (*get)(const clap_input_events* list, uint32_t index);
};
using clap_input_events_t = clap_input_events;

struct clap_output_events
{
    void* ctx;
    // Pushes a copy of the event; false when it could not be queued.
    bool (*try_push)(const clap_output_events* list, const clap_event_header_t* event);
};
using clap_output_events_t = clap_output_events;

// ---- audio and process ------------------------------------------------------------------------

struct clap_audio_buffer
{
    float** data32;
    double** data64;
    uint32_t channel_count;
    uint32_t latency;
    uint64_t constant_mask;
};
using clap_audio_buffer_t = clap_audio_buffer;

using clap_process_status = int32_t;
inline constexpr clap_process_status kClapProcessError = 0;
inline constexpr clap_process_status kClapProcessContinue = 1;
inline constexpr clap_process_status kClapProcessContinueIfNotQuiet = 2;
inline constexpr clap_process_status kClapProcessTail = 3;
inline constexpr clap_process_status kClapProcessSleep = 4;

struct clap_process
{
    int64_t steady_time; // -1 when not available
    uint32_t frames_count;
    const clap_event_transport_t* transport; // null for a free-running host
    const clap_audio_buffer_t* audio_inputs;
    clap_audio_buffer_t* audio_outputs;
    uint32_t audio_inputs_count;
    uint32_t audio_outputs_count;
    const clap_input_events_t* in_events;
    const clap_output_events_t* out_events;
};
using clap_process_t = clap_process;

// ---- host -------------------------------------------------------------------------------------

struct clap_host
{
    clap_version_t clap_version;
    void* host_data;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    const void* (*get_extension)(const clap_host* host, const char* extension_id);
    void (*request_restart)(const clap_host* host);
    void (*request_process)(const clap_host* host);
    void (*request_callback)(const clap_host* host);
};
using clap_host_t = clap_host;

// ---- plug-in ----------------------------------------------------------------------------------

inline constexpr char kClapPluginFeatureInstrument[] = "instrument";
inline constexpr char kClapPluginFeatureAudioEffect[] = "audio-effect";
inline constexpr char kClapPluginFeatureNoteEffect[] = "note-effect";
inline constexpr char kClapPluginFeatureAnalyzer[] = "analyzer";
inline constexpr char kClapPluginFeatureUtility[] = "utility";
inline constexpr char kClapPluginFeatureMono[] = "mono";
inline constexpr char kClapPluginFeatureStereo[] = "stereo";

struct clap_plugin_descriptor
{
    clap_version_t clap_version;
    const char* id;
    const char* name;
    const char* vendor;
    const char* url;
    const char* manual_url;
    const char* support_url;
    const char* version;
    const char* description;
    const char* const* features; // null-terminated
};
using clap_plugin_descriptor_t = clap_plugin_descriptor;

struct clap_plugin
{
    const clap_plugin_descriptor_t* desc;
    void* plugin_data;
    bool (*init)(const clap_plugin* plugin);
    void (*destroy)(const clap_plugin* plugin);
    bool (*activate)(const clap_plugin* plugin, double sample_rate, uint32_t min_frames_count,
                     uint32_t max_frames_count);
    void (*deactivate)(const clap_plugin* plugin);
    bool (*start_processing)(const clap_plugin* plugin);
    void (*stop_processing)(const clap_plugin* plugin);
    void (*reset)(const clap_plugin* plugin);
    clap_process_status (*process)(const clap_plugin* plugin, const clap_process_t* process);
    const void* (*get_extension)(const clap_plugin* plugin, const char* id);
    void (*on_main_thread)(const clap_plugin* plugin);
};
using clap_plugin_t = clap_plugin;

// ---- entry and factories ----------------------------------------------------------------------

struct clap_plugin_entry
{
    clap_version_t clap_version;
    bool (*init)(const char* plugin_path);
    void (*deinit)();
    const void* (*get_factory)(const char* factory_id);
};
using clap_plugin_entry_t = clap_plugin_entry;

inline constexpr char kClapEntrySymbol[] = "clap_entry";

inline constexpr char kClapPluginFactoryId[] = "clap.plugin-factory";

struct clap_plugin_factory
{
    uint32_t (*get_plugin_count)(const clap_plugin_factory* factory);
    const clap_plugin_descriptor_t* (*get_plugin_descriptor)(const clap_plugin_factory* factory,
                                                             uint32_t index);
    const clap_plugin_t* (*create_plugin)(const clap_plugin_factory* factory, const clap_host_t* host,
                                          const char* plugin_id);
};
using clap_plugin_factory_t = clap_plugin_factory;

// ---- preset discovery factory -----------------------------------------------------------------

inline constexpr char kClapPresetDiscoveryFactoryId[] = "clap.preset-discovery-factory/2";
inline constexpr char kClapPresetDiscoveryFactoryIdCompat[] = "clap.preset-discovery-factory/draft-2";

inline constexpr uint32_t kClapPresetDiscoveryLocationFile = 0;
inline constexpr uint32_t kClapPresetDiscoveryLocationPlugin = 1; // location must be null

inline constexpr uint32_t kClapPresetDiscoveryIsFactoryContent = 1u << 0;
inline constexpr uint32_t kClapPresetDiscoveryIsUserContent = 1u << 1;
inline constexpr uint32_t kClapPresetDiscoveryIsDemoContent = 1u << 2;
inline constexpr uint32_t kClapPresetDiscoveryIsFavorite = 1u << 3;

struct clap_preset_discovery_metadata_receiver
{
    void* receiver_data;
    void (*on_error)(const clap_preset_discovery_metadata_receiver* receiver, int32_t os_error,
                     const char* error_message);
    // False: stop calling back into the receiver.
    bool (*begin_preset)(const clap_preset_discovery_metadata_receiver* receiver, const char* name,
                         const char* load_key);
    void (*add_plugin_id)(const clap_preset_discovery_metadata_receiver* receiver,
                          const clap_universal_plugin_id_t* plugin_id);
    void (*set_soundpack_id)(const clap_preset_discovery_metadata_receiver* receiver,
                             const char* soundpack_id);
    void (*set_flags)(const clap_preset_discovery_metadata_receiver* receiver, uint32_t flags);
    void (*add_creator)(const clap_preset_discovery_metadata_receiver* receiver, const char* creator);
    void (*set_description)(const clap_preset_discovery_metadata_receiver* receiver, const char* description);
    void (*set_timestamps)(const clap_preset_discovery_metadata_receiver* receiver,
                           clap_timestamp creation_time, clap_timestamp modification_time);
    void (*add_feature)(const clap_preset_discovery_metadata_receiver* receiver, const char* feature);
    void (*add_extra_info)(const clap_preset_discovery_metadata_receiver* receiver, const char* key,
                           const char* value);
};
using clap_preset_discovery_metadata_receiver_t = clap_preset_discovery_metadata_receiver;

struct clap_preset_discovery_filetype
{
    const char* name;
    const char* description;
    const char* file_extension; // without the dot; empty or null matches every file
};
using clap_preset_discovery_filetype_t = clap_preset_discovery_filetype;

struct clap_preset_discovery_location
{
    uint32_t flags;
    const char* name;
    uint32_t kind;
    const char* location;
};
using clap_preset_discovery_location_t = clap_preset_discovery_location;

struct clap_preset_discovery_soundpack
{
    uint32_t flags;
    const char* id;
    const char* name;
    const char* description;
    const char* homepage_url;
    const char* vendor;
    const char* image_path;
    clap_timestamp release_timestamp;
};
using clap_preset_discovery_soundpack_t = clap_preset_discovery_soundpack;

struct clap_preset_discovery_provider_descriptor
{
    clap_version_t clap_version;
    const char* id;
    const char* name;
    const char* vendor;
};
using clap_preset_discovery_provider_descriptor_t = clap_preset_discovery_provider_descriptor;

struct clap_preset_discovery_provider
{
    const clap_preset_discovery_provider_descriptor_t* desc;
    void* provider_data;
    bool (*init)(const clap_preset_discovery_provider* provider);
    void (*destroy)(const clap_preset_discovery_provider* provider);
    bool (*get_metadata)(const clap_preset_discovery_provider* provider, uint32_t location_kind,
                         const char* location,
                         const clap_preset_discovery_metadata_receiver_t* metadata_receiver);
    const void* (*get_extension)(const clap_preset_discovery_provider* provider, const char* extension_id);
};
using clap_preset_discovery_provider_t = clap_preset_discovery_provider;

struct clap_preset_discovery_indexer
{
    clap_version_t clap_version;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    void* indexer_data;
    bool (*declare_filetype)(const clap_preset_discovery_indexer* indexer,
                             const clap_preset_discovery_filetype_t* filetype);
    bool (*declare_location)(const clap_preset_discovery_indexer* indexer,
                             const clap_preset_discovery_location_t* location);
    bool (*declare_soundpack)(const clap_preset_discovery_indexer* indexer,
                              const clap_preset_discovery_soundpack_t* soundpack);
    const void* (*get_extension)(const clap_preset_discovery_indexer* indexer, const char* extension_id);
};
using clap_preset_discovery_indexer_t = clap_preset_discovery_indexer;

struct clap_preset_discovery_factory
{
    uint32_t (*count)(const clap_preset_discovery_factory* factory);
    const clap_preset_discovery_provider_descriptor_t* (*get_descriptor)(
        const clap_preset_discovery_factory* factory, uint32_t index);
    const clap_preset_discovery_provider_t* (*create)(const clap_preset_discovery_factory* factory,
                                                      const clap_preset_discovery_indexer_t* indexer,
                                                      const char* provider_id);
};
using clap_preset_discovery_factory_t = clap_preset_discovery_factory;

// ---- extension: audio-ports -------------------------------------------------------------------

inline constexpr char kClapExtAudioPorts[] = "clap.audio-ports";
inline constexpr char kClapPortMono[] = "mono";
inline constexpr char kClapPortStereo[] = "stereo";

inline constexpr uint32_t kClapAudioPortIsMain = 1u << 0;
inline constexpr uint32_t kClapAudioPortSupports64Bits = 1u << 1;
inline constexpr uint32_t kClapAudioPortPrefers64Bits = 1u << 2;
inline constexpr uint32_t kClapAudioPortRequiresCommonSampleSize = 1u << 3;

inline constexpr uint32_t kClapAudioPortsRescanNames = 1u << 0;
inline constexpr uint32_t kClapAudioPortsRescanFlags = 1u << 1;
inline constexpr uint32_t kClapAudioPortsRescanChannelCount = 1u << 2;
inline constexpr uint32_t kClapAudioPortsRescanPortType = 1u << 3;
inline constexpr uint32_t kClapAudioPortsRescanInPlacePair = 1u << 4;
inline constexpr uint32_t kClapAudioPortsRescanList = 1u << 5;

struct clap_audio_port_info
{
    clap_id id;
    char name[kClapNameSize];
    uint32_t flags;
    uint32_t channel_count;
    const char* port_type; // null or a known type such as kClapPortStereo
    clap_id in_place_pair; // kClapInvalidId when none
};
using clap_audio_port_info_t = clap_audio_port_info;

struct clap_plugin_audio_ports
{
    uint32_t (*count)(const clap_plugin_t* plugin, bool is_input);
    bool (*get)(const clap_plugin_t* plugin, uint32_t index, bool is_input, clap_audio_port_info_t* info);
};
using clap_plugin_audio_ports_t = clap_plugin_audio_ports;

struct clap_host_audio_ports
{
    bool (*is_rescan_flag_supported)(const clap_host_t* host, uint32_t flag);
    void (*rescan)(const clap_host_t* host, uint32_t flags);
};
using clap_host_audio_ports_t = clap_host_audio_ports;

// ---- extension: params ------------------------------------------------------------------------

inline constexpr char kClapExtParams[] = "clap.params";

using clap_param_info_flags = uint32_t;
inline constexpr clap_param_info_flags kClapParamIsStepped = 1u << 0;
inline constexpr clap_param_info_flags kClapParamIsPeriodic = 1u << 1;
inline constexpr clap_param_info_flags kClapParamIsHidden = 1u << 2;
inline constexpr clap_param_info_flags kClapParamIsReadonly = 1u << 3;
inline constexpr clap_param_info_flags kClapParamIsBypass = 1u << 4;
inline constexpr clap_param_info_flags kClapParamIsAutomatable = 1u << 5;
inline constexpr clap_param_info_flags kClapParamIsAutomatablePerNoteId = 1u << 6;
inline constexpr clap_param_info_flags kClapParamIsAutomatablePerKey = 1u << 7;
inline constexpr clap_param_info_flags kClapParamIsAutomatablePerChannel = 1u << 8;
inline constexpr clap_param_info_flags kClapParamIsAutomatablePerPort = 1u << 9;
inline constexpr clap_param_info_flags kClapParamIsModulatable = 1u << 10;
inline constexpr clap_param_info_flags kClapParamIsModulatablePerNoteId = 1u << 11;
inline constexpr clap_param_info_flags kClapParamIsModulatablePerKey = 1u << 12;
inline constexpr clap_param_info_flags kClapParamIsModulatablePerChannel = 1u << 13;
inline constexpr clap_param_info_flags kClapParamIsModulatablePerPort = 1u << 14;
inline constexpr clap_param_info_flags kClapParamRequiresProcess = 1u << 15;
inline constexpr clap_param_info_flags kClapParamIsEnum = 1u << 16;

struct clap_param_info
{
    clap_id id;
    clap_param_info_flags flags;
    void* cookie;
    char name[kClapNameSize];
    char module[kClapPathSize]; // '/'-separated group path
    double min_value;
    double max_value;
    double default_value;
};
using clap_param_info_t = clap_param_info;

struct clap_plugin_params
{
    uint32_t (*count)(const clap_plugin_t* plugin);
    bool (*get_info)(const clap_plugin_t* plugin, uint32_t param_index, clap_param_info_t* param_info);
    bool (*get_value)(const clap_plugin_t* plugin, clap_id param_id, double* out_value);
    bool (*value_to_text)(const clap_plugin_t* plugin, clap_id param_id, double value, char* out_buffer,
                          uint32_t out_buffer_capacity);
    bool (*text_to_value)(const clap_plugin_t* plugin, clap_id param_id, const char* param_value_text,
                          double* out_value);
    void (*flush)(const clap_plugin_t* plugin, const clap_input_events_t* in,
                  const clap_output_events_t* out);
};
using clap_plugin_params_t = clap_plugin_params;

using clap_param_rescan_flags = uint32_t;
inline constexpr clap_param_rescan_flags kClapParamRescanValues = 1u << 0;
inline constexpr clap_param_rescan_flags kClapParamRescanText = 1u << 1;
inline constexpr clap_param_rescan_flags kClapParamRescanInfo = 1u << 2;
inline constexpr clap_param_rescan_flags kClapParamRescanAll = 1u << 3;

using clap_param_clear_flags = uint32_t;
inline constexpr clap_param_clear_flags kClapParamClearAll = 1u << 0;
inline constexpr clap_param_clear_flags kClapParamClearAutomations = 1u << 1;
inline constexpr clap_param_clear_flags kClapParamClearModulations = 1u << 2;

struct clap_host_params
{
    void (*rescan)(const clap_host_t* host, clap_param_rescan_flags flags);
    void (*clear)(const clap_host_t* host, clap_id param_id, clap_param_clear_flags flags);
    // Asks for a process call or a params flush; never from the audio thread.
    void (*request_flush)(const clap_host_t* host);
};
using clap_host_params_t = clap_host_params;

// ---- extension: state -------------------------------------------------------------------------

inline constexpr char kClapExtState[] = "clap.state";

struct clap_plugin_state
{
    bool (*save)(const clap_plugin_t* plugin, const clap_ostream_t* stream);
    bool (*load)(const clap_plugin_t* plugin, const clap_istream_t* stream);
};
using clap_plugin_state_t = clap_plugin_state;

struct clap_host_state
{
    void (*mark_dirty)(const clap_host_t* host);
};
using clap_host_state_t = clap_host_state;

// ---- extension: latency -----------------------------------------------------------------------

inline constexpr char kClapExtLatency[] = "clap.latency";

struct clap_plugin_latency
{
    uint32_t (*get)(const clap_plugin_t* plugin);
};
using clap_plugin_latency_t = clap_plugin_latency;

struct clap_host_latency
{
    void (*changed)(const clap_host_t* host);
};
using clap_host_latency_t = clap_host_latency;

// ---- extension: render ------------------------------------------------------------------------

inline constexpr char kClapExtRender[] = "clap.render";

using clap_plugin_render_mode = int32_t;
inline constexpr clap_plugin_render_mode kClapRenderRealtime = 0;
inline constexpr clap_plugin_render_mode kClapRenderOffline = 1;

struct clap_plugin_render
{
    bool (*has_hard_realtime_requirement)(const clap_plugin_t* plugin);
    bool (*set)(const clap_plugin_t* plugin, clap_plugin_render_mode mode);
};
using clap_plugin_render_t = clap_plugin_render;

// ---- extension: gui ---------------------------------------------------------------------------

inline constexpr char kClapExtGui[] = "clap.gui";
inline constexpr char kClapWindowApiWin32[] = "win32";
inline constexpr char kClapWindowApiCocoa[] = "cocoa";
inline constexpr char kClapWindowApiX11[] = "x11";
inline constexpr char kClapWindowApiWayland[] = "wayland";

using clap_hwnd = void*;
using clap_nsview = void*;
using clap_xwnd = unsigned long; // the X11 Window type, as the ABI declares it

struct clap_window
{
    const char* api;
    union
    {
        clap_nsview cocoa;
        clap_xwnd x11;
        clap_hwnd win32;
        void* ptr;
    };
};
using clap_window_t = clap_window;

struct clap_gui_resize_hints
{
    bool can_resize_horizontally;
    bool can_resize_vertically;
    bool preserve_aspect_ratio;
    uint32_t aspect_ratio_width;
    uint32_t aspect_ratio_height;
};
using clap_gui_resize_hints_t = clap_gui_resize_hints;

struct clap_plugin_gui
{
    bool (*is_api_supported)(const clap_plugin_t* plugin, const char* api, bool is_floating);
    bool (*get_preferred_api)(const clap_plugin_t* plugin, const char** api, bool* is_floating);
    bool (*create)(const clap_plugin_t* plugin, const char* api, bool is_floating);
    void (*destroy)(const clap_plugin_t* plugin);
    bool (*set_scale)(const clap_plugin_t* plugin, double scale);
    bool (*get_size)(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);
    bool (*can_resize)(const clap_plugin_t* plugin);
    bool (*get_resize_hints)(const clap_plugin_t* plugin, clap_gui_resize_hints_t* hints);
    bool (*adjust_size)(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);
    bool (*set_size)(const clap_plugin_t* plugin, uint32_t width, uint32_t height);
    bool (*set_parent)(const clap_plugin_t* plugin, const clap_window_t* window);
    bool (*set_transient)(const clap_plugin_t* plugin, const clap_window_t* window);
    void (*suggest_title)(const clap_plugin_t* plugin, const char* title);
    bool (*show)(const clap_plugin_t* plugin);
    bool (*hide)(const clap_plugin_t* plugin);
};
using clap_plugin_gui_t = clap_plugin_gui;

struct clap_host_gui
{
    void (*resize_hints_changed)(const clap_host_t* host);
    bool (*request_resize)(const clap_host_t* host, uint32_t width, uint32_t height);
    bool (*request_show)(const clap_host_t* host);
    bool (*request_hide)(const clap_host_t* host);
    void (*closed)(const clap_host_t* host, bool was_destroyed);
};
using clap_host_gui_t = clap_host_gui;

// ---- extension: timer-support -----------------------------------------------------------------

inline constexpr char kClapExtTimerSupport[] = "clap.timer-support";

struct clap_plugin_timer_support
{
    void (*on_timer)(const clap_plugin_t* plugin, clap_id timer_id);
};
using clap_plugin_timer_support_t = clap_plugin_timer_support;

struct clap_host_timer_support
{
    bool (*register_timer)(const clap_host_t* host, uint32_t period_ms, clap_id* timer_id);
    bool (*unregister_timer)(const clap_host_t* host, clap_id timer_id);
};
using clap_host_timer_support_t = clap_host_timer_support;

// ---- extension: posix-fd-support --------------------------------------------------------------

inline constexpr char kClapExtPosixFdSupport[] = "clap.posix-fd-support";

using clap_posix_fd_flags_t = uint32_t;
inline constexpr clap_posix_fd_flags_t kClapPosixFdRead = 1u << 0;
inline constexpr clap_posix_fd_flags_t kClapPosixFdWrite = 1u << 1;
inline constexpr clap_posix_fd_flags_t kClapPosixFdError = 1u << 2;

struct clap_plugin_posix_fd_support
{
    void (*on_fd)(const clap_plugin_t* plugin, int fd, clap_posix_fd_flags_t flags);
};
using clap_plugin_posix_fd_support_t = clap_plugin_posix_fd_support;

struct clap_host_posix_fd_support
{
    bool (*register_fd)(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags);
    bool (*modify_fd)(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags);
    bool (*unregister_fd)(const clap_host_t* host, int fd);
};
using clap_host_posix_fd_support_t = clap_host_posix_fd_support;

// ---- extension: thread-check ------------------------------------------------------------------

inline constexpr char kClapExtThreadCheck[] = "clap.thread-check";

struct clap_host_thread_check
{
    bool (*is_main_thread)(const clap_host_t* host);
    bool (*is_audio_thread)(const clap_host_t* host);
};
using clap_host_thread_check_t = clap_host_thread_check;

// ---- extension: log ---------------------------------------------------------------------------

inline constexpr char kClapExtLog[] = "clap.log";

using clap_log_severity = int32_t;
inline constexpr clap_log_severity kClapLogDebug = 0;
inline constexpr clap_log_severity kClapLogInfo = 1;
inline constexpr clap_log_severity kClapLogWarning = 2;
inline constexpr clap_log_severity kClapLogError = 3;
inline constexpr clap_log_severity kClapLogFatal = 4;
inline constexpr clap_log_severity kClapLogHostMisbehaving = 5;
inline constexpr clap_log_severity kClapLogPluginMisbehaving = 6;

struct clap_host_log
{
    void (*log)(const clap_host_t* host, clap_log_severity severity, const char* msg);
};
using clap_host_log_t = clap_host_log;

// ---- extension: preset-load -------------------------------------------------------------------

inline constexpr char kClapExtPresetLoad[] = "clap.preset-load/2";
inline constexpr char kClapExtPresetLoadCompat[] = "clap.preset-load.draft/2";

struct clap_plugin_preset_load
{
    // location_kind is one of kClapPresetDiscoveryLocation*.
    bool (*from_location)(const clap_plugin_t* plugin, uint32_t location_kind, const char* location,
                          const char* load_key);
};
using clap_plugin_preset_load_t = clap_plugin_preset_load;

struct clap_host_preset_load
{
    void (*on_error)(const clap_host_t* host, uint32_t location_kind, const char* location,
                     const char* load_key, int32_t os_error, const char* msg);
    void (*loaded)(const clap_host_t* host, uint32_t location_kind, const char* location,
                   const char* load_key);
};
using clap_host_preset_load_t = clap_host_preset_load;

} // extern "C"

// ---- layout checks (x86_64 Linux and Windows: 8-byte pointers, 8-byte doubles) ----------------

static_assert(sizeof(void*) == 8, "the layouts below are the 64-bit ones");
static_assert(sizeof(clap_version_t) == 12);
static_assert(sizeof(clap_event_header_t) == 16 && offsetof(clap_event_header_t, type) == 10);
static_assert(sizeof(clap_event_param_value_t) == 56 && offsetof(clap_event_param_value_t, cookie) == 24 &&
              offsetof(clap_event_param_value_t, note_id) == 32 &&
              offsetof(clap_event_param_value_t, key) == 40 &&
              offsetof(clap_event_param_value_t, value) == 48);
static_assert(sizeof(clap_event_param_mod_t) == 56 && offsetof(clap_event_param_mod_t, amount) == 48);
static_assert(sizeof(clap_event_param_gesture_t) == 20);
static_assert(sizeof(clap_event_transport_t) == 104 &&
              offsetof(clap_event_transport_t, song_pos_beats) == 24 &&
              offsetof(clap_event_transport_t, tempo) == 40 &&
              offsetof(clap_event_transport_t, bar_start) == 88 &&
              offsetof(clap_event_transport_t, bar_number) == 96 &&
              offsetof(clap_event_transport_t, tsig_denom) == 102);
static_assert(sizeof(clap_input_events_t) == 24 && sizeof(clap_output_events_t) == 16);
static_assert(sizeof(clap_audio_buffer_t) == 32 && offsetof(clap_audio_buffer_t, constant_mask) == 24);
static_assert(sizeof(clap_process_t) == 64 && offsetof(clap_process_t, frames_count) == 8 &&
              offsetof(clap_process_t, transport) == 16 &&
              offsetof(clap_process_t, audio_inputs_count) == 40 &&
              offsetof(clap_process_t, in_events) == 48);
static_assert(sizeof(clap_host_t) == 88 && offsetof(clap_host_t, host_data) == 16 &&
              offsetof(clap_host_t, get_extension) == 56);
static_assert(sizeof(clap_plugin_descriptor_t) == 88 && offsetof(clap_plugin_descriptor_t, id) == 16 &&
              offsetof(clap_plugin_descriptor_t, features) == 80);
static_assert(sizeof(clap_plugin_t) == 96 && offsetof(clap_plugin_t, process) == 72 &&
              offsetof(clap_plugin_t, on_main_thread) == 88);
static_assert(sizeof(clap_plugin_entry_t) == 40 && offsetof(clap_plugin_entry_t, init) == 16);
static_assert(sizeof(clap_plugin_factory_t) == 24);
static_assert(sizeof(clap_audio_port_info_t) == 288 && offsetof(clap_audio_port_info_t, flags) == 260 &&
              offsetof(clap_audio_port_info_t, port_type) == 272 &&
              offsetof(clap_audio_port_info_t, in_place_pair) == 280);
static_assert(sizeof(clap_param_info_t) == 1320 && offsetof(clap_param_info_t, cookie) == 8 &&
              offsetof(clap_param_info_t, name) == 16 && offsetof(clap_param_info_t, module) == 272 &&
              offsetof(clap_param_info_t, min_value) == 1296 &&
              offsetof(clap_param_info_t, default_value) == 1312);
static_assert(sizeof(clap_plugin_params_t) == 48 && sizeof(clap_host_params_t) == 24);
static_assert(sizeof(clap_window_t) == 16 && offsetof(clap_window_t, ptr) == 8);
static_assert(sizeof(clap_gui_resize_hints_t) == 12 &&
              offsetof(clap_gui_resize_hints_t, aspect_ratio_width) == 4);
static_assert(sizeof(clap_plugin_gui_t) == 15 * 8 && sizeof(clap_host_gui_t) == 40);
static_assert(sizeof(clap_preset_discovery_location_t) == 32 &&
              offsetof(clap_preset_discovery_location_t, kind) == 16);
static_assert(sizeof(clap_preset_discovery_soundpack_t) == 64 &&
              offsetof(clap_preset_discovery_soundpack_t, release_timestamp) == 56);
static_assert(sizeof(clap_preset_discovery_provider_descriptor_t) == 40);
static_assert(sizeof(clap_preset_discovery_provider_t) == 48);
static_assert(sizeof(clap_preset_discovery_indexer_t) == 88 &&
              offsetof(clap_preset_discovery_indexer_t, declare_filetype) == 56);
static_assert(sizeof(clap_preset_discovery_metadata_receiver_t) == 88);
static_assert(sizeof(clap_preset_discovery_factory_t) == 24);
static_assert(sizeof(clap_universal_plugin_id_t) == 16);
