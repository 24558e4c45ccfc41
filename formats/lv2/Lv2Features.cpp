#include "formats/lv2/Lv2Features.h"

#include <cstring>

namespace tpm
{
const void* Lv2Features::Find(const LV2_Feature* const* features, const char* uri)
{
    for (const LV2_Feature* const* f = features; f && *f; ++f)
        if ((*f)->URI && std::strcmp((*f)->URI, uri) == 0)
            return (*f)->data;
    return nullptr;
}
} // namespace tpm
