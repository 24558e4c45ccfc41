#include "tools/vsthost/HelpFormatter.h"

#include <array>
#include <utility>

namespace tpm
{
namespace
{
// The library's own names for values an option was given no word for.
constexpr std::array<std::pair<const char*, const char*>, 5> kPlainWords{{
    {"TEXT", "TEXT"},
    {"INT", "N"},
    {"UINT", "N"},
    {"FLOAT", "NUMBER"},
    {"BOOLEAN", "YES|NO"},
}};
} // namespace

std::string HelpFormatter::make_option_opts(const CLI::Option* option) const
{
    std::string text = CLI::Formatter::make_option_opts(option);
    // The type name comes with the checks' descriptions after a colon ("UINT:UINT in [16 - 8192]").
    const std::string full = option->get_type_name();
    const std::size_t at = full.empty() ? std::string::npos : text.find(full);
    if (at == std::string::npos)
        return text;
    std::string word = full.substr(0, full.find(':'));
    for (const auto& [library, plain] : kPlainWords)
        if (word == library)
            word = plain;
    text.replace(at, full.size(), word);
    return text;
}
} // namespace tpm
