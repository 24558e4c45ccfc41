// One automatable value of the plug-in: held in real units, mapped to and from the host's
// normalised 0..1 scale through a curve, rounded to its step and formatted for display.
#pragma once

#include "core/FixedText.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace tpm
{
class Parameter
{
  public:
    enum Kind : int32_t
    {
        kNone = 0,
        kBool = 1,
        kInt = 2,
        kEnum = 3,
        kDouble = 4,
    };
    // What a host may do with the parameter, whatever the format.
    enum Flag : uint32_t
    {
        kAutomatable = 1u << 0,
        kList = 1u << 1,    // a fixed list of texts, one per step
        kHidden = 1u << 2,  // not shown to users
        kTrigger = 1u << 3, // setting it runs an action; its value means nothing
    };
    static constexpr int kTextField = 32;
    using Text = FixedText<kTextField>;

    void DefineDouble(const char* name, double defaultValue, double min, double max, double step,
                      const char* label);
    void DefineInt(const char* name, int defaultValue, int min, int max, const char* label);
    void DefineEnum(const char* name, int defaultValue, int count, const char* label);
    void SetCurve(double shape);
    void AddValueText(int value, const char* text);
    // A name that never changes, for formats that identify parameters by text.
    void SetStringId(const char* id) { stringId.Set(id); }

    double GetNormalized() const { return ToNormalized(value); }
    double ToNormalized(double v) const;
    double FromNormalized(double x) const;
    void SetNormalized(double x);
    // The real value SetNormalized(x) stores: mapped, rounded to the step for whole-number kinds.
    double StoredValue(double x) const;
    // The real value limited to the range; not-a-number gives the minimum.
    double Limit(double v) const;
    // Any thread may read the value; it is written by one thread at a time.
    void SetValue(double v) { value.store(v, std::memory_order_relaxed); }
    double Value() const { return value.load(std::memory_order_relaxed); }
    double DefaultValue() const { return defaultValue; }

    // Writes at most outSize bytes including the terminator.
    void FormatDisplay(double v, bool isNormalized, char* out, std::size_t outSize) const;
    std::string FormatDisplay(double v, bool isNormalized) const;
    double ParseDisplay(const char* text) const;
    // A list text or a number (a decimal comma reads as a point), limited to the range; false for
    // text that is neither, which leaves out untouched.
    bool ParseEntry(const char* text, double& out) const;

    int DisplayTextCount() const { return static_cast<int>(displayTexts.size()); }
    const char* GetDisplayText(int v) const;
    bool FindDisplayValue(const char* text, int& out) const;

    Kind GetKind() const { return kind; }
    uint32_t Flags() const;
    // Steps between the ends of the range; 0 for a continuous value.
    int StepCount() const;
    const char* StringId() const { return stringId.Get(); }
    const char* Name() const { return name.Get(); }
    const char* Label() const { return label.Get(); }
    double Min() const { return min; }
    double Max() const { return max; }
    double Step() const { return step; }
    double Shape() const { return shape; }
    int DisplayPrecision() const { return displayPrecision; }

  private:
    struct DisplayText
    {
        int32_t value;
        Text text;
    };

    Kind kind = kNone;
    std::atomic<double> value{0.0};
    double defaultValue = 0.0;
    double min = 0.0;
    double max = 1.0;
    double step = 1.0;
    double shape = 1.0;
    int32_t displayPrecision = 0;
    Text name;
    Text label;
    Text stringId;
    bool negateDisplay = false;
    std::vector<DisplayText> displayTexts;
};
} // namespace tpm
