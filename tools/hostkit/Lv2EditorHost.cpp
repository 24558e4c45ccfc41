#include "tools/hostkit/Lv2EditorHost.h"

#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <new>

namespace tpm
{
namespace
{
// The plug-in's first UI of the X11 type, or null.
const LilvUI* X11Ui(LilvWorld* world, const LilvUIs* uis)
{
    LilvNode* x11 = lilv_new_uri(world, LV2_UI__X11UI);
    const LilvUI* found = nullptr;
    LILV_FOREACH(uis, i, uis)
    {
        const LilvUI* ui = lilv_uis_get(uis, i);
        if (lilv_ui_is_a(ui, x11))
        {
            found = ui;
            break;
        }
    }
    lilv_node_free(x11);
    return found;
}

std::string PathOf(const LilvNode* fileUri)
{
    char* path = fileUri ? lilv_file_uri_parse(lilv_node_as_uri(fileUri), nullptr) : nullptr;
    std::string text = path ? path : "";
    lilv_free(path);
    return text;
}
} // namespace

bool Lv2EditorHost::Available(LilvWorld* world, const LilvPlugin* plugin)
{
    LilvUIs* uis = plugin ? lilv_plugin_get_uis(plugin) : nullptr;
    const bool found = uis && X11Ui(world, uis);
    lilv_uis_free(uis);
    return found;
}

std::unique_ptr<Lv2EditorHost> Lv2EditorHost::Open(LilvWorld* world, const LilvPlugin* plugin,
                                                   Lv2UridMap& map, void* parent, double scale,
                                                   Callbacks callbacks)
{
    LilvUIs* uis = plugin ? lilv_plugin_get_uis(plugin) : nullptr;
    const LilvUI* ui = uis ? X11Ui(world, uis) : nullptr;
    std::unique_ptr<Lv2EditorHost> self(ui ? new (std::nothrow) Lv2EditorHost() : nullptr);
    std::string error;
    if (self)
        self->library = ModuleLibrary::Open(PathOf(lilv_ui_get_binary_uri(ui)), error, "lv2ui_descriptor");
    if (self && self->library)
    {
        const auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(self->library->EntrySymbol());
        const std::string uri = lilv_node_as_uri(lilv_ui_get_uri(ui));
        for (uint32_t i = 0; const LV2UI_Descriptor* d = entry(i); ++i)
            if (d->URI && uri == d->URI)
            {
                self->descriptor = d;
                break;
            }
    }
    if (!self || !self->descriptor)
    {
        lilv_uis_free(uis);
        return nullptr;
    }
    self->callbacks = std::move(callbacks);
    self->eventTransfer = map.Map(LV2_ATOM__eventTransfer);
    self->resize = {self.get(), &Resize};
    self->touch = {self.get(), &Touch};
    const LV2_Feature parentFeature{LV2_UI__parent, parent};
    const LV2_Feature mapFeature{LV2_URID__map, map.Feature()};
    const LV2_Feature resizeFeature{LV2_UI__resize, &self->resize};
    const LV2_Feature touchFeature{LV2_UI__touch, &self->touch};
    static const LV2_Feature idleFeature{LV2_UI__idleInterface, nullptr};
    const float scaleFactor = static_cast<float>(scale);
    const LV2_Options_Option options[] = {{LV2_OPTIONS_INSTANCE, 0, map.Map(LV2_UI__scaleFactor),
                                           sizeof scaleFactor, map.Map(LV2_ATOM__Float), &scaleFactor},
                                          {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    const LV2_Feature optionsFeature{LV2_OPTIONS__options, const_cast<LV2_Options_Option*>(options)};
    const LV2_Feature* features[] = {&parentFeature, &mapFeature,  &resizeFeature,
                                     &touchFeature,  &idleFeature, scale > 0.0 ? &optionsFeature : nullptr,
                                     nullptr};
    const std::string bundlePath = PathOf(lilv_ui_get_bundle_uri(ui));
    LV2UI_Widget widget = nullptr;
    self->handle =
        self->descriptor->instantiate(self->descriptor, lilv_node_as_uri(lilv_plugin_get_uri(plugin)),
                                      bundlePath.c_str(), &Write, self.get(), &widget, features);
    lilv_uis_free(uis);
    if (!self->handle)
        return nullptr;
    if (self->descriptor->extension_data)
        self->idle =
            static_cast<const LV2UI_Idle_Interface*>(self->descriptor->extension_data(LV2_UI__idleInterface));
    return self;
}

Lv2EditorHost::~Lv2EditorHost()
{
    if (handle && descriptor->cleanup)
        descriptor->cleanup(handle);
}

void Lv2EditorHost::Idle()
{
    if (idle && idle->idle)
        idle->idle(handle);
}

bool Lv2EditorHost::TakeResize(int& newWidth, int& newHeight)
{
    if (!resized)
        return false;
    resized = false;
    newWidth = width;
    newHeight = height;
    return true;
}

bool Lv2EditorHost::ResizeTo(int newWidth, int newHeight)
{
    const auto* own = descriptor->extension_data
                          ? static_cast<const LV2UI_Resize*>(descriptor->extension_data(LV2_UI__resize))
                          : nullptr;
    if (!own || !own->ui_resize)
        return false;
    // 0: taken as given; else it tells the size it took through our own ui:resize.
    if (own->ui_resize(handle, newWidth, newHeight) == 0)
    {
        width = newWidth;
        height = newHeight;
    }
    resized = false; // the host asked: nothing for it to follow
    return width > 0 && height > 0;
}

void Lv2EditorHost::Tell(uint32_t port, float value)
{
    if (descriptor->port_event)
        descriptor->port_event(handle, port, sizeof value, 0, &value);
}

int Lv2EditorHost::Resize(LV2UI_Feature_Handle self, int width, int height)
{
    auto* host = static_cast<Lv2EditorHost*>(self);
    if (width <= 0 || height <= 0)
        return 1;
    host->width = width;
    host->height = height;
    host->resized = true;
    return 0;
}

void Lv2EditorHost::Write(LV2UI_Controller self, uint32_t port, uint32_t size, uint32_t protocol,
                          const void* buffer)
{
    // Protocol 0 is a float for a control port; atom:eventTransfer an atom for an event port.
    auto* host = static_cast<Lv2EditorHost*>(self);
    if (protocol == host->eventTransfer && protocol != 0 && buffer && size >= sizeof(LV2_Atom) &&
        host->callbacks.event)
    {
        const auto* atom = static_cast<const LV2_Atom*>(buffer);
        if (sizeof(LV2_Atom) + atom->size <= size)
            host->callbacks.event(port, *atom);
        return;
    }
    if (protocol != 0 || size != sizeof(float) || !buffer || !host->callbacks.write)
        return;
    float value = 0.0f;
    std::memcpy(&value, buffer, sizeof value);
    host->callbacks.write(port, value);
}

void Lv2EditorHost::Touch(LV2UI_Feature_Handle self, uint32_t port, bool grabbed)
{
    auto* host = static_cast<Lv2EditorHost*>(self);
    if (host->callbacks.touch)
        host->callbacks.touch(port, grabbed);
}
} // namespace tpm
