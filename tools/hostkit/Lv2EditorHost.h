// The host side of an LV2 plug-in's X11 editor: the UI binary the bundle names, instantiated into a
// parent window with the features it asks for, told port values, and its port writes and gestures
// handed back to the owner. Lives on the user-interface thread only.
#pragma once

#include "tools/hostkit/Lv2UridMap.h"
#include "tools/hostkit/ModuleLibrary.h"

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/ui/ui.h>

#include <functional>
#include <memory>
#include <string>

namespace tpm
{
class Lv2EditorHost
{
  public:
    struct Callbacks
    {
        std::function<void(uint32_t port, float value)> write;  // the editor set a control input
        std::function<void(uint32_t port, bool grabbed)> touch; // a gesture began or ended
        // An atom the editor sends to an event port (atom:eventTransfer): its header and body.
        std::function<void(uint32_t port, const LV2_Atom& atom)> event;
    };

    // True when the plug-in has an X11 editor this host can load.
    static bool Available(LilvWorld* world, const LilvPlugin* plugin);
    // The editor as a child of the X11 window `parent`, told the scale as ui:scaleFactor when it is
    // above 0; null when there is none or it refused.
    static std::unique_ptr<Lv2EditorHost> Open(LilvWorld* world, const LilvPlugin* plugin, Lv2UridMap& map,
                                               void* parent, double scale, Callbacks callbacks);
    ~Lv2EditorHost();
    Lv2EditorHost(const Lv2EditorHost&) = delete;
    Lv2EditorHost& operator=(const Lv2EditorHost&) = delete;

    // The size the editor asked for through ui:resize (0 x 0 until it did).
    int Width() const { return width; }
    int Height() const { return height; }
    void Idle();
    // The size the editor asked for since last taken (ui:resize), once.
    bool TakeResize(int& newWidth, int& newHeight);
    // Gives the editor a size through its own ui:resize; false where it has none or refused. The
    // size it took is Width() x Height() after.
    bool ResizeTo(int width, int height);
    // A port's value, as the plug-in has it now.
    void Tell(uint32_t port, float value);

  private:
    Lv2EditorHost() = default;
    static int Resize(LV2UI_Feature_Handle self, int width, int height);
    static void Write(LV2UI_Controller self, uint32_t port, uint32_t size, uint32_t protocol,
                      const void* buffer);
    static void Touch(LV2UI_Feature_Handle self, uint32_t port, bool grabbed);

    std::unique_ptr<ModuleLibrary> library;
    const LV2UI_Descriptor* descriptor = nullptr;
    LV2UI_Handle handle = nullptr;
    const LV2UI_Idle_Interface* idle = nullptr;
    Callbacks callbacks;
    LV2UI_Resize resize{};
    LV2UI_Touch touch{};
    int width = 0;
    int height = 0;
    LV2_URID eventTransfer = 0;
    bool resized = false;
};
} // namespace tpm
