// tpm_preview [--scale S] [OUTPUT.png]: opens the plug-in's real editor on the headless window at scale
// S (1 to 3, default 1), lets it paint everything once, and writes what it drew at its physical size
// (editor-preview.png in the current folder by default), so a person can judge the look without a host.
#include "editor/EditorWindow.h"
#include "editor/headless/HeadlessWindowLayer.h"
#include "formats/vst2/Vst2Effect.h"
#include "plugin/PluginInstance.h"
#include "tools/hostkit/Vst2HostedPlugin.h"
#include "tools/preview/PngWriter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tpm
{
namespace
{
AEffect* MakePlugin(audioMasterCallback callback)
{
    return Vst2Effect::Create(callback, PluginInstance::Create());
}
} // namespace
} // namespace tpm

using namespace tpm;

int main(int argc, char** argv)
{
    std::string out = "editor-preview.png";
    double scale = 1.0;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc)
        {
            char* end = nullptr;
            scale = std::strtod(argv[++i], &end);
            if (end == argv[i] || *end != '\0' || !(scale >= 1.0 && scale <= 3.0))
            {
                std::fprintf(stderr, "tpm_preview: --scale takes a number from 1 to 3\n");
                return 2;
            }
        }
        else
            out = argv[i];
    }
    std::string error;
    auto host = Vst2HostedPlugin::Create(&MakePlugin, error);
    if (!host)
    {
        std::fprintf(stderr, "tpm_preview: %s\n", error.c_str());
        return 1;
    }
    host->Start();
    auto* editor = static_cast<tpm::EditorWindow*>(Vst2Effect::FromEffect(host->Effect())->Editor());
    editor->SetWindowLayerFactory(&tpm::HeadlessWindowLayer::Create);
    editor->SetScale(scale);
    if (host->Dispatch(vst::effEditOpen) != 1)
    {
        std::fprintf(stderr, "tpm_preview: the editor did not open\n");
        return 1;
    }
    editor->Idle(); // one frame tick paints the whole editor
    const tpm::PixelSurface* surface = editor->Surface();
    if (!surface || !tpm::WritePng(*surface, out))
    {
        std::fprintf(stderr, "tpm_preview: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%s\n", out.c_str());
    return 0;
}
