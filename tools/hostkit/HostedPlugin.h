// The host side of one plug-in instance: creates it through the module's entry point, answers
// its callbacks (time, identity, automation) as a host would, and closes it again.
#pragma once

#include "tools/hostkit/ModuleLibrary.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// What the host tells the plug-in about itself and its transport.
struct HostSettings
{
    double sampleRate = 44100.0;
    int blockSize = 1024;
    double tempo = 120.0;
    bool tempoValid = true;
    bool playing = false;
    bool recording = false;
    bool timeInfoAvailable = true;
    int timeSigNumerator = 4;
    int timeSigDenominator = 4;
    std::string productName = "vsthost";
    std::string vendorName = "twinPulseToneMix developers";
    int vendorVersion = 10000;
    bool logToStderr = false;
    // Keeps every callback for Calls(). Long renders and real-time hosts turn it off: the list grows
    // with every block, and keeping it locks and allocates on the audio thread.
    bool recordCalls = true;
};

// One callback the plug-in made, as the host saw it.
struct HostCall
{
    int32_t opcode;
    int32_t index;
    intptr_t value;
    float opt;
};

class HostedPlugin
{
  public:
    static std::unique_ptr<HostedPlugin> Load(const std::string& modulePath, std::string& error,
                                              const HostSettings& settings = {});
    // For hosts that link the plug-in in: the entry point is given directly.
    static std::unique_ptr<HostedPlugin> Create(VstEntryProc entry, std::string& error,
                                                const HostSettings& settings = {});
    ~HostedPlugin();
    HostedPlugin(const HostedPlugin&) = delete;
    HostedPlugin& operator=(const HostedPlugin&) = delete;

    AEffect* Effect() { return effect; }
    intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);
    // effOpen, then sample rate, block size and switching on, as hosts do before processing.
    void Start();
    // Closes the instance (effClose); later calls do nothing.
    void Close();

    std::string ParamName(int index);
    std::string ParamLabel(int index);
    std::string ParamDisplay(int index);
    std::string ProgramName(int index);
    // Sets a parameter from its display text (through effString2Parameter); false if refused.
    bool SetParamText(int index, const std::string& text);
    int FindParam(const std::string& name);

    // A second, opened instance from the same entry point, for questions whose asking changes
    // parameters (what each value displays as); this instance is left as it is. Null if refused.
    HostedPlugin* Spare();

    // Moves the transport on by a block, as a host does between process calls.
    void Advance(int frames);
    // Called on a real-time thread: callbacks made on it are answered without printing anything.
    static void MarkRealTimeThread();

    HostSettings settings;
    std::vector<HostCall> Calls() const;
    void ClearCalls();
    int CountCalls(int32_t opcode) const;

  private:
    HostedPlugin() = default;
    static intptr_t Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                             float opt);
    intptr_t Answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    std::unique_ptr<ModuleLibrary> library;
    VstEntryProc entry = nullptr;
    std::unique_ptr<HostedPlugin> spare; // closed before the library is let go
    AEffect* effect = nullptr;
    VstTimeInfo timeInfo{};
    double samplePosition = 0.0;
    mutable std::mutex callsMutex;
    std::vector<HostCall> calls;
};
