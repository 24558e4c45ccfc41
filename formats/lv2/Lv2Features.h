// The features a host offers a plug-in or an editor, looked up by URI.
#pragma once

#include <lv2/core/lv2.h>

namespace tpm
{
class Lv2Features
{
  public:
    // The feature's data; null when the host does not offer it (or offers it without data).
    static const void* Find(const LV2_Feature* const* features, const char* uri);
};
} // namespace tpm
