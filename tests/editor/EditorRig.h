// One product instance, started as a binding starts it, with its editor made, owned and opened the way a
// binding does it, on the headless window layer: tests play the user on the window and read the host
// events the product queued.
#pragma once

#include "editor/Control.h"
#include "editor/EditorWindow.h"
#include "editor/headless/HeadlessWindowLayer.h"
#include "plugin/PluginInstance.h"
#include "support/ParamIndex.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tpm
{
class EditorRig
{
  public:
    static constexpr tpm::MouseMod kLeft{true, false, false, false, false};
    static constexpr tpm::MouseMod kRight{false, true, false, false, false};
    static constexpr tpm::MouseMod kLeftShift{true, false, true, false, false};
    static constexpr tpm::MouseMod kNone{};
    static constexpr int kBlock = 256;

    explicit EditorRig(bool openWindow = true) : product(PluginInstance::Create())
    {
        EXPECT_TRUE(product && product->Activate(44100.0, kBlock));
        product->StartProcessing();
        transport.available = transport.playing = transport.tempoValid = true;
        transport.tempo = 120.0;
        link = product->CreateEditor();
        editor = dynamic_cast<tpm::EditorWindow*>(link.get());
        EXPECT_TRUE(editor);
        editor->SetWindowLayerFactory(&tpm::HeadlessWindowLayer::Create);
        if (openWindow)
            Open();
    }

    void Open()
    {
        EXPECT_TRUE(editor->OpenWindow(nullptr, false));
        window = static_cast<tpm::HeadlessWindowLayer*>(editor->WindowLayer());
        Tick(2); // the first full paint, and the repeat that values from the plug-in ask for
        ClearEvents();
    }

    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            window->Tick();
    }
    // An empty block: the engine takes up the changes made since the last one.
    void ApplyPending() { ProcessFrames(0); }
    void Process(int blocks = 1)
    {
        for (int i = 0; i < blocks; ++i)
            ProcessFrames(kBlock);
    }
    void Click(int x, int y, const tpm::MouseMod& mod = kLeft)
    {
        window->Press(x, y, mod);
        window->Release(x, y, mod);
    }
    void Drag(int x, int y, int dx, int dy, const tpm::MouseMod& mod = kLeft)
    {
        window->Press(x, y, mod);
        window->Move(x + dx, y + dy, mod);
        window->Release(x + dx, y + dy, mod);
    }

    // A host's change on its 0..1 scale, stored as the parameter stores it.
    void SetNormalized(int param, double x)
    {
        product->SetParamValue(param, product->Param(param)->StoredValue(x));
    }
    double Normalized(int param) { return product->ParamNormalized(param); }
    double Real(int param) { return product->ParamValue(param); }
    tpm::Control& Control(int index) { return *editor->GetControl(index); }

    // Drains the host events into the record Edits() and LastValue() read.
    void ClearEvents()
    {
        Drain();
        events.clear();
    }
    // The edit events the host would hear, as "b0" (begin), "a0" (value), "e0" (end).
    std::vector<std::string> Edits()
    {
        Drain();
        std::vector<std::string> out;
        for (const HostEvent& e : events)
            if (e.kind != HostEvent::Kind::kDisplayChanged)
                out.push_back((e.kind == HostEvent::Kind::kBeginEdit ? "b"
                               : e.kind == HostEvent::Kind::kValue   ? "a"
                                                                     : "e") +
                              std::to_string(e.paramIdx));
        return out;
    }
    double LastValue(int param)
    {
        Drain();
        double v = -1.0;
        for (const HostEvent& e : events)
            if (e.kind == HostEvent::Kind::kValue && e.paramIdx == param)
                v = e.normalized;
        return v;
    }

    std::unique_ptr<PluginInstance> product;
    TransportSnapshot transport;
    std::unique_ptr<IEditorLink> link; // owned as a binding owns it, destroyed before the product
    tpm::EditorWindow* editor = nullptr;
    tpm::HeadlessWindowLayer* window = nullptr;

  private:
    void ProcessFrames(int frames)
    {
        std::vector<float> l(kBlock), r(kBlock);
        float* io[] = {l.data(), r.data()};
        product->Process(AudioBlock<float>{io, 2, io, 2, frames}, transport, {});
    }
    void Drain()
    {
        for (HostEvent e; product->PopHostEvent(e);)
            events.push_back(e);
    }
    std::vector<HostEvent> events;
};
} // namespace tpm
