// One automatable value of the plug-in: held in real units, mapped to and from the host's
// normalised 0..1 scale through a curve, rounded to its step and formatted for display.
#pragma once

#include "core/FixedText.h"

#include <cstdint>
#include <string>
#include <vector>

class IParameter
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
    static constexpr int kTextField = 32;
    using Text = FixedText<kTextField>;

    void DefineDouble(const char* name, double defaultValue, double min, double max, double step,
                      const char* label);
    void DefineInt(const char* name, int defaultValue, int min, int max, const char* label);
    void DefineEnum(const char* name, int defaultValue, int count, const char* label);
    void SetCurve(double shape);
    void AddValueText(int value, const char* text);

    double GetNormalized() const { return ToNormalized(value); }
    double ToNormalized(double v) const;
    double FromNormalized(double x) const;
    void SetNormalized(double x);
    // The real value limited to the range; not-a-number gives the minimum.
    double Limit(double v) const;
    void SetValue(double v) { value = v; }
    double Value() const { return value; }

    // Writes at most outSize bytes including the terminator.
    void FormatDisplay(double v, bool isNormalized, char* out, std::size_t outSize) const;
    std::string FormatDisplay(double v, bool isNormalized) const;
    double ParseDisplay(const char* text) const;

    int DisplayTextCount() const { return static_cast<int>(displayTexts.size()); }
    const char* GetDisplayText(int v) const;
    bool FindDisplayValue(const char* text, int& out) const;

    Kind GetKind() const { return kind; }
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
    double value = 0.0;
    double min = 0.0;
    double max = 1.0;
    double step = 1.0;
    double shape = 1.0;
    int32_t displayPrecision = 0;
    Text name;
    Text label;
    bool negateDisplay = false;
    std::vector<DisplayText> displayTexts;
};
