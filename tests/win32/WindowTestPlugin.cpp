// A minimal plug-in module with an editor made of the window test editor, for testing `vsthost editor`
// before the real editor exists: a left press at x tells the host begin-edit, automation of parameter 0
// with x / width, and end-edit on the release.
#include "WindowTestEditor.h"
#include "formats/vst2/VstAbi.h"

#include <memory>

namespace tpm
{
namespace
{

constexpr short kWidth = 320;
constexpr short kHeight = 200;

struct TestPlugin
{
    AEffect effect{};
    audioMasterCallback host = nullptr;
    ERect rect{0, 0, kHeight, kWidth};
    float value = 0.0f;
    std::unique_ptr<WindowTestEditor> editor;

    void Tell(int32_t opcode, float opt = 0.0f) { host(&effect, opcode, 0, 0, nullptr, opt); }
    void OnEditorEvent(const WindowTestEditor::Event& event)
    {
        if (event.kind == "down" && event.mod.L)
        {
            value = static_cast<float>(event.x) / kWidth;
            Tell(vst::audioMasterBeginEdit);
            Tell(vst::audioMasterAutomate, value);
        }
        else if (event.kind == "up" && event.mod.L)
        {
            Tell(vst::audioMasterEndEdit);
        }
    }
};

TestPlugin* From(AEffect* effect)
{
    return static_cast<TestPlugin*>(effect->object);
}

intptr_t Dispatch(AEffect* effect, int32_t opcode, int32_t, intptr_t, void* ptr, float)
{
    TestPlugin* plugin = From(effect);
    switch (opcode)
    {
    case vst::effClose:
        delete plugin;
        return 1;
    case vst::effEditGetRect:
        *static_cast<ERect**>(ptr) = &plugin->rect;
        return 1;
    case vst::effEditOpen:
        plugin->editor = std::make_unique<WindowTestEditor>(kWidth, kHeight);
        plugin->editor->onEvent = [plugin](const WindowTestEditor::Event& e) { plugin->OnEditorEvent(e); };
        if (!plugin->editor->Open(ptr, {0, 0, kWidth, kHeight}))
        {
            plugin->editor.reset();
            return 0;
        }
        return 1;
    case vst::effEditClose:
        plugin->editor.reset();
        return 1;
    default:
        return 0;
    }
}

void SetParameter(AEffect* effect, int32_t, float value)
{
    From(effect)->value = value;
}

float GetParameter(AEffect* effect, int32_t)
{
    return From(effect)->value;
}

} // namespace
} // namespace tpm

using namespace tpm;

extern "C" __declspec(dllexport) AEffect* VSTPluginMain(audioMasterCallback host)
{
    auto* plugin = new TestPlugin;
    plugin->host = host;
    AEffect& e = plugin->effect;
    e.magic = vst::kEffectMagic;
    e.dispatcher = &Dispatch;
    e.setParameter = &SetParameter;
    e.getParameter = &GetParameter;
    e.numParams = 1;
    e.flags = vst::effFlagsHasEditor;
    e.object = plugin;
    return &e;
}
