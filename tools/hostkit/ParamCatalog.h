// What a plug-in's parameters show a host, asked once and kept: names, ranges and each list
// parameter's texts. Listing a list's texts takes about a thousand calls into the plug-in, so a
// schedule of many lines resolves its settings through one catalog.
#pragma once

#include "tools/hostkit/ParamAssignment.h"
#include "tools/hostkit/Schedule.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tpm
{
class ParamCatalog
{
  public:
    explicit ParamCatalog(HostedInstance& plugin);

    HostedInstance& Plugin() { return plugin; }
    int Count() const { return static_cast<int>(lowerNames.size()); }
    // The indices of the parameters with this name, compared without regard to case.
    std::vector<int> IndicesNamed(const std::string& name) const;
    const ParamDescription& Describe(int index);
    // The normalised value that the list text `text` (one of Describe(index).texts) sets.
    double ListValue(int index, const std::string& text);

  private:
    HostedInstance& plugin;
    std::vector<std::string> lowerNames;
    std::vector<std::unique_ptr<ParamDescription>> descriptions;
    std::map<std::pair<int, std::string>, double> listValues;
};

std::string LowerCase(std::string text);

// How a schedule's names, values and program names resolve against the catalog's plug-in. The
// catalog must outlive the lookups; one catalog serves a whole file.
ScheduleLookups ScheduleLookupsFor(ParamCatalog& catalog);
} // namespace tpm
