// One plug-in instance linked into the test, started as a host starts it, with its editor open on the
// headless window layer: tests play the user on the window and read what the host was told.
#pragma once

#include "editor/IControl.h"
#include "editor/IEditorWindow.h"
#include "editor/headless/HeadlessWindowLayer.h"
#include "support/LinkedPlugin.h"
#include "support/ParamIndex.h"
#include "tools/hostkit/HostedPlugin.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class EditorRig
{
  public:
    static constexpr tpm::IMouseMod kLeft{true, false, false, false, false};
    static constexpr tpm::IMouseMod kRight{false, true, false, false, false};
    static constexpr tpm::IMouseMod kLeftShift{true, false, true, false, false};
    static constexpr tpm::IMouseMod kNone{};

    explicit EditorRig(bool openWindow = true)
    {
        HostSettings settings;
        settings.blockSize = 256;
        settings.playing = true;
        std::string error;
        host = HostedPlugin::Create(&MakePlugin, error, settings);
        EXPECT_TRUE(host) << error;
        plug = ProductOf(host->Effect());
        host->Start();
        editor = static_cast<tpm::IEditorWindow*>(IEffectVST::FromEffect(host->Effect())->Editor());
        editor->SetWindowLayerFactory(&tpm::HeadlessWindowLayer::Create);
        if (openWindow)
            Open();
    }

    void Open()
    {
        EXPECT_EQ(host->Dispatch(vst::effEditOpen), 1);
        window = static_cast<tpm::HeadlessWindowLayer*>(editor->WindowLayer());
        Tick(2); // the first full paint, and the repeat that values from the plug-in ask for
        host->ClearCalls();
    }

    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            window->Tick();
    }
    // What a host's next process call does first: the engine takes up the changes made since.
    void ApplyPending()
    {
        float* none[] = {nullptr, nullptr};
        host->Effect()->processReplacing(host->Effect(), none, none, 0);
    }
    void Process(int blocks = 1)
    {
        std::vector<float> l(256), r(256);
        float* io[] = {l.data(), r.data()};
        for (int i = 0; i < blocks; ++i)
            host->Effect()->processReplacing(host->Effect(), io, io, 256);
    }
    void Click(int x, int y, const tpm::IMouseMod& mod = kLeft)
    {
        window->Press(x, y, mod);
        window->Release(x, y, mod);
    }
    void Drag(int x, int y, int dx, int dy, const tpm::IMouseMod& mod = kLeft)
    {
        window->Press(x, y, mod);
        window->Move(x + dx, y + dy, mod);
        window->Release(x + dx, y + dy, mod);
    }

    double Normalized(int param) { return plug->GetParam(param)->GetNormalized(); }
    double Real(int param) { return plug->GetParam(param)->Value(); }
    tpm::IControl& Control(int index) { return *editor->GetControl(index); }

    // The edit messages the host received, as "b0" (begin-edit), "a0" (automate), "e0" (end-edit).
    std::vector<std::string> Edits() const
    {
        std::vector<std::string> out;
        for (const HostCall& c : host->Calls())
        {
            if (c.opcode == vst::audioMasterBeginEdit)
                out.push_back("b" + std::to_string(c.index));
            else if (c.opcode == vst::audioMasterAutomate)
                out.push_back("a" + std::to_string(c.index));
            else if (c.opcode == vst::audioMasterEndEdit)
                out.push_back("e" + std::to_string(c.index));
        }
        return out;
    }
    float LastAutomation(int param) const
    {
        float v = -1.0f;
        for (const HostCall& c : host->Calls())
            if (c.opcode == vst::audioMasterAutomate && c.index == param)
                v = c.opt;
        return v;
    }

    std::unique_ptr<HostedPlugin> host;
    TwinPulseToneMix* plug = nullptr;
    tpm::IEditorWindow* editor = nullptr;
    tpm::HeadlessWindowLayer* window = nullptr;

  private:
    static AEffect* MakePlugin(audioMasterCallback callback) { return MakeLinkedPlugin(callback); }
};
