#include "core/Parameter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tpm
{
namespace
{
int PrecisionOfStep(double step)
{
    int places = 0;
    while (step != std::floor(step) && places < 6)
    {
        ++places;
        step *= 10.0;
    }
    return places;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The leading decimal number of a text (optional sign, fraction and exponent); false, with out
// left alone, when there is none or it is too large for a double. Only plain decimal forms count:
// no hexadecimal, no "inf" or "nan", whatever the locale.
bool ParseLeadingNumber(const char* text, double& out)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v')
        ++p;
    const char* start = p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = (*p++ == '-');
    const char* digits = p;
    while (IsDigit(*p))
        ++p;
    bool any = p != digits;
    if (*p == '.')
    {
        const char* fraction = ++p;
        while (IsDigit(*p))
            ++p;
        any = any || p != fraction;
    }
    if (!any)
        return false;
    if (*p == 'e' || *p == 'E')
    {
        const char* e = p + 1;
        if (*e == '+' || *e == '-')
            ++e;
        if (IsDigit(*e))
        {
            while (IsDigit(*e))
                ++e;
            p = e;
        }
    }
    double v = 0.0;
    const char* from = (*start == '+' || *start == '-') ? start + 1 : start;
    if (std::from_chars(from, p, v, std::chars_format::general).ec != std::errc{})
        return false; // too large for a double
    out = negative ? -v : v;
    return true;
}
} // namespace

void Parameter::DefineDouble(const char* newName, double defaultValue, double newMin, double newMax,
                             double newStep, const char* newLabel)
{
    if (kind == kNone)
        kind = kDouble;
    name.Set(newName);
    label.Set(newLabel);
    min = newMin;
    step = newStep;
    SetValue(defaultValue);
    this->defaultValue = defaultValue;
    max = newMax < newMin + newStep ? newMin + newStep : newMax;
    displayPrecision = PrecisionOfStep(newStep);
}

void Parameter::DefineInt(const char* newName, int defaultValue, int newMin, int newMax, const char* newLabel)
{
    if (kind == kNone)
        kind = kInt;
    DefineDouble(newName, defaultValue, newMin, newMax, 1.0, newLabel);
}

void Parameter::DefineEnum(const char* newName, int defaultValue, int count, const char* newLabel)
{
    if (kind == kNone)
        kind = kEnum;
    DefineDouble(newName, defaultValue, 0.0, count - 1, 1.0, newLabel);
}

void Parameter::SetCurve(double newShape)
{
    if (newShape != 0.0)
        shape = newShape;
}

void Parameter::AddValueText(int v, const char* text)
{
    displayTexts.push_back(DisplayText{v, Text(text)});
}

double Parameter::Limit(double v) const
{
    if (std::isnan(v) || v < min)
        return min;
    return v > max ? max : v;
}

double Parameter::ToNormalized(double v) const
{
    return std::pow((Limit(v) - min) / (max - min), 1.0 / shape);
}

double Parameter::FromNormalized(double x) const
{
    return std::pow(x, shape) * (max - min) + min;
}

void Parameter::SetNormalized(double x)
{
    // A host may send anything: not-a-number is ignored and the open lower end is closed at 0,
    // so no curve can fold a negative input back into the range.
    if (std::isnan(x))
        return;
    SetValue(StoredValue(x));
}

double Parameter::StoredValue(double x) const
{
    if (x < 0.0)
        x = 0.0;
    double v = FromNormalized(x);
    if (kind != kDouble)
        v = std::floor(v / step + 0.5) * step;
    return v >= max ? max : v;
}

uint32_t Parameter::Flags() const
{
    if (kind == kNone)
        return kHidden | kTrigger;
    return kAutomatable | (displayTexts.empty() ? 0u : static_cast<uint32_t>(kList));
}

int Parameter::StepCount() const
{
    if (kind == kNone || kind == kDouble)
        return 0;
    return static_cast<int>(std::lround((max - min) / step));
}

void Parameter::FormatDisplay(double v, bool isNormalized, char* out, std::size_t outSize) const
{
    if (!out || outSize == 0)
        return;
    if (isNormalized)
        v = FromNormalized(v);
    if (!displayTexts.empty() && std::isfinite(v) && std::fabs(v) < 2147483648.0)
    {
        const char* text = GetDisplayText(static_cast<int>(v));
        if (text[0] != '\0')
        {
            std::snprintf(out, outSize, "%s", text);
            return;
        }
    }
    if (negateDisplay)
        v = -v;
    if (v == 0.0 || std::isnan(v))
        std::snprintf(out, outSize, "0");
    else if (displayPrecision > 0)
        std::snprintf(out, outSize, "%.*f", displayPrecision, v);
    else if (std::fabs(v) < 2147483648.0)
        std::snprintf(out, outSize, "%d", static_cast<int>(v));
    else
        std::snprintf(out, outSize, "%.0f", std::trunc(v));
}

std::string Parameter::FormatDisplay(double v, bool isNormalized) const
{
    char text[64];
    FormatDisplay(v, isNormalized, text, sizeof text);
    return text;
}

double Parameter::ParseDisplay(const char* text) const
{
    if (!text)
        return 0.0;
    int listed = 0;
    if (FindDisplayValue(text, listed))
        return listed;
    double v = 0.0;
    ParseLeadingNumber(text, v);
    return negateDisplay ? -v : v;
}

bool Parameter::ParseEntry(const char* text, double& out) const
{
    if (!text)
        return false;
    int listed = 0;
    if (FindDisplayValue(text, listed))
    {
        out = Limit(listed);
        return true;
    }
    // People who write "136,1" mean a decimal comma.
    char number[64];
    std::snprintf(number, sizeof number, "%s", text);
    for (char* c = number; *c != '\0'; ++c)
        if (*c == ',')
            *c = '.';
    double v = 0.0;
    if (!ParseLeadingNumber(number, v))
        return false;
    out = Limit(negateDisplay ? -v : v);
    return true;
}

const char* Parameter::GetDisplayText(int v) const
{
    for (const DisplayText& entry : displayTexts)
        if (entry.value == v)
            return entry.text.Get();
    return "";
}

bool Parameter::FindDisplayValue(const char* text, int& out) const
{
    for (const DisplayText& entry : displayTexts)
        if (entry.text == text)
        {
            out = entry.value;
            return true;
        }
    return false;
}
} // namespace tpm
