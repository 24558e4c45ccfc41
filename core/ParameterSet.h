// The plug-in's parameters by index, and the way every value gets in: each set tells the owner's
// change handler, which runs or marks the parameter's work (see PendingChanges). Values are atomics
// (Parameter), so any thread may read and set them; the parameters themselves are defined once,
// before any request comes, and never added or removed afterwards.
#pragma once

#include "core/ByteBuffer.h"
#include "core/Parameter.h"

#include <memory>
#include <vector>

namespace tpm
{
class ParameterSet
{
  public:
    // Hears of each value set, on the thread that set it.
    class IChangeHandler
    {
      public:
        virtual void ParameterChanged(int paramIdx) = 0;

      protected:
        ~IChangeHandler() = default;
    };

    ParameterSet(int count, IChangeHandler& handler);
    ~ParameterSet();
    ParameterSet(const ParameterSet&) = delete;
    ParameterSet& operator=(const ParameterSet&) = delete;

    int Count() const { return static_cast<int>(parameters.size()); }
    // Null when paramIdx is no parameter.
    Parameter* Get(int paramIdx);
    const Parameter* Get(int paramIdx) const;

    // On the host's 0..1 scale; never waits (hosts automate from the audio thread too).
    void SetNormalized(int paramIdx, double normalized);
    // In the parameter's own units, limited to its range.
    void SetValue(int paramIdx, double value);
    // Every parameter's handler, in index order, as after values changed all at once.
    void AnnounceAll();

    // Whole sets of values, as programs and chunks keep them (one double per parameter, index order).
    void CopyValues(std::vector<double>& out) const;
    // Limited, then every handler runs.
    void ApplyValues(const std::vector<double>& values);
    double Limit(int paramIdx, double value) const;
    // Appends every value; false when memory runs out.
    bool AppendValues(ByteBuffer& buffer) const;
    // Reads every value from pos on (the first that does not fit reads as 0, the ones after it keep
    // theirs), then every handler runs; the position after the last read, or < 0 when one ran short.
    int ReadValues(const ByteBuffer& buffer, int pos);

  private:
    std::vector<std::unique_ptr<Parameter>> parameters;
    IChangeHandler& changes;
};
} // namespace tpm
