// What the plug-in core asks of its host, whatever the plug-in format: the binding implements it
// and translates each call into the host's own protocol.
#pragma once

#include <cstdint>

// The host's transport and tempo as the core uses them.
struct HostTimeInfo
{
    double samplePos = 0.0;
    double tempo = 0.0;
    int32_t timeSigNumerator = 0;
    int32_t timeSigDenominator = 0;
    bool playing = false;
    bool recording = false;
    bool tempoValid = false;
    bool timeSigValid = false;
};

// Which part of the time information a query needs (hosts may fill in only what was asked).
enum class TimeRequest
{
    kTransport,
    kTempo,
    kTimeSignature,
};

class IHostLink
{
  public:
    virtual void Automate(int paramIdx, double normalized) = 0;
    virtual void BeginEdit(int paramIdx) = 0;
    virtual void EndEdit(int paramIdx) = 0;
    virtual void UpdateDisplay() = 0;
    // False when the host gives no time information.
    virtual bool GetTime(TimeRequest request, HostTimeInfo& out) = 0;

  protected:
    ~IHostLink() = default;
};
