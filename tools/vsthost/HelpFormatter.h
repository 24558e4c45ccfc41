// The help text of the host tool: an option shows the kind of value it takes in words (HZ, FILE,
// SECONDS), not the command-line library's type and check descriptions.
#pragma once

#include <CLI/CLI.hpp>

namespace tpm
{
class HelpFormatter : public CLI::Formatter
{
  public:
    std::string make_option_opts(const CLI::Option* option) const override;
};
} // namespace tpm
