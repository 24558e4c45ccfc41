// The product as every format sees it, against one reviewed file: every parameter's id, name, unit,
// range, default, steps, flags and list texts, and every program slot's name (byte for byte) and
// values. A change to any of them shows as a diff of tests/product/product.golden; to accept one,
// run with TPM_UPDATE_GOLDEN=1 and review the file's diff.
#include "plugin/PluginInstance.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace tpm
{
namespace
{
const char* const kGolden = TPM_SOURCE_DIR "/tests/product/product.golden";

// Texts as C string literals would spell them, so that every byte shows.
std::string Quoted(const char* text)
{
    std::string out = "\"";
    for (const unsigned char c : std::string(text))
    {
        if (c == '"' || c == '\\')
            out += std::string("\\") + static_cast<char>(c);
        else if (c < 0x20 || c >= 0x7F)
        {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            out += escape;
        }
        else
            out += static_cast<char>(c);
    }
    return out + "\"";
}

std::string Number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::string Describe(PluginInstance& product)
{
    std::ostringstream out;
    for (int i = 0; i < product.ParamCount(); ++i)
    {
        const Parameter& p = *product.Param(i);
        out << "param " << i << " " << p.StringId() << " " << Quoted(p.Name()) << " unit "
            << Quoted(p.Label()) << " min " << Number(p.Min()) << " max " << Number(p.Max()) << " default "
            << Number(p.DefaultValue()) << " steps " << p.StepCount() << " flags";
        const uint32_t flags = p.Flags();
        for (const auto& [bit, name] : {std::pair{Parameter::kAutomatable, "automatable"},
                                        {Parameter::kList, "list"},
                                        {Parameter::kHidden, "hidden"},
                                        {Parameter::kTrigger, "trigger"}})
            if (flags & bit)
                out << " " << name;
        out << "\n";
        for (int t = 0; t < p.DisplayTextCount(); ++t)
        {
            char text[64];
            product.FormatValue(i, p.Min() + t, text, sizeof text);
            out << "  text " << t << " " << Quoted(text) << "\n";
        }
    }
    for (int s = 0; s < product.Programs().Count(); ++s)
    {
        out << "program " << s << " " << Quoted(product.Programs().Name(s));
        if (product.Programs().InUse(s))
        {
            EXPECT_TRUE(product.Programs().Select(s));
            for (int i = 0; i < product.ParamCount(); ++i)
                out << " " << Number(product.ParamValue(i));
        }
        else
            out << " empty";
        out << "\n";
    }
    return out.str();
}
} // namespace

TEST(ProductGolden, ParametersAndProgramsMatchTheReviewedFile)
{
    const auto product = PluginInstance::Create();
    ASSERT_TRUE(product);
    const std::string now = Describe(*product);
    if (std::getenv("TPM_UPDATE_GOLDEN"))
        std::ofstream(kGolden, std::ios::binary) << now;
    std::ifstream file(kGolden, std::ios::binary);
    ASSERT_TRUE(file) << kGolden;
    const std::string golden((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // Line by line, so that a failure names the first line that differs.
    std::istringstream a(now), b(golden);
    std::string lineNow, lineGolden;
    for (int line = 1; std::getline(b, lineGolden); ++line)
    {
        ASSERT_TRUE(std::getline(a, lineNow)) << "missing from line " << line;
        ASSERT_EQ(lineNow, lineGolden) << "line " << line;
    }
    EXPECT_FALSE(std::getline(a, lineNow)) << "more than the file holds: " << lineNow;
}
} // namespace tpm
