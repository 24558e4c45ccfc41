// tpm_preview [OUTPUT.png]: opens the plug-in's real editor on the headless window, lets it paint
// everything once, and writes what it drew (editor-preview.png in the current folder by default), so
// a person can judge the look without a host.
#include "editor/IEditorWindow.h"
#include "editor/headless/HeadlessWindowLayer.h"
#include "formats/vst2/IEffectVST.h"
#include "plugin/PluginInstance.h"
#include "tools/hostkit/Vst2HostedPlugin.h"
#include "tools/preview/PngWriter.h"

#include <cstdio>
#include <string>

namespace
{
AEffect* MakePlugin(audioMasterCallback callback)
{
    return IEffectVST::Create(callback, PluginInstance::Create());
}
} // namespace

int main(int argc, char** argv)
{
    const std::string out = argc > 1 ? argv[1] : "editor-preview.png";
    std::string error;
    auto host = Vst2HostedPlugin::Create(&MakePlugin, error);
    if (!host)
    {
        std::fprintf(stderr, "tpm_preview: %s\n", error.c_str());
        return 1;
    }
    host->Start();
    auto* editor = static_cast<tpm::IEditorWindow*>(IEffectVST::FromEffect(host->Effect())->Editor());
    editor->SetWindowLayerFactory(&tpm::HeadlessWindowLayer::Create);
    if (host->Dispatch(vst::effEditOpen) != 1)
    {
        std::fprintf(stderr, "tpm_preview: the editor did not open\n");
        return 1;
    }
    editor->Idle(); // one frame tick paints the whole editor
    const tpm::ISurface* surface = editor->Surface();
    if (!surface || !tpm::WritePng(*surface, out))
    {
        std::fprintf(stderr, "tpm_preview: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%s\n", out.c_str());
    return 0;
}
