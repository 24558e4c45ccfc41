// vsthost info: what a host learns about a plug-in before using it, after an optional setup.
#include "tools/vsthost/Commands.h"

#include <cstdio>

int RunInfo(const std::string& module, const PluginSetup& setup, const CommonHostOptions& host)
{
    auto plugin = OpenModule(module, SettingsFor(host));
    if (!plugin)
        return 1;
    plugin->Dispatch(vst::effOpen);
    if (!ApplySetup(*plugin, setup))
        return 1;
    AEffect* e = plugin->Effect();
    char text[256] = {};
    plugin->Dispatch(vst::effGetEffectName, 0, 0, text);
    std::printf("effect name: %s\n", text);
    text[0] = '\0';
    plugin->Dispatch(vst::effGetVendorString, 0, 0, text);
    std::printf("vendor: %s\n", text);
    text[0] = '\0';
    plugin->Dispatch(vst::effGetProductString, 0, 0, text);
    std::printf("product: %s\n", text);
    std::printf("magic: 0x%08X\n", static_cast<unsigned>(e->magic));
    std::printf("unique id: 0x%08X\n", static_cast<unsigned>(e->uniqueID));
    std::printf("version: %d\n", e->version);
    std::printf("vendor version: %ld\n", static_cast<long>(plugin->Dispatch(vst::effGetVendorVersion)));
    std::printf("vst version: %ld\n", static_cast<long>(plugin->Dispatch(vst::effGetVstVersion)));
    std::printf("category: %ld\n", static_cast<long>(plugin->Dispatch(vst::effGetPlugCategory)));
    std::printf("flags: 0x%X\n", static_cast<unsigned>(e->flags));
    std::printf("inputs: %d\noutputs: %d\n", e->numInputs, e->numOutputs);
    std::printf("initial delay: %d\n", e->initialDelay);
    std::printf("io ratio: %g\n", static_cast<double>(e->ioRatio));
    std::printf("programs: %d\nparameters: %d\n", e->numPrograms, e->numParams);
    std::printf("current program: %ld\n", static_cast<long>(plugin->Dispatch(vst::effGetProgram)));
    std::printf("\n# index name | label | display | normalised\n");
    for (int i = 0; i < e->numParams; ++i)
        std::printf("param %2d %s | %s | %s | %.6f\n", i, plugin->ParamName(i).c_str(),
                    plugin->ParamLabel(i).c_str(), plugin->ParamDisplay(i).c_str(),
                    static_cast<double>(e->getParameter(e, i)));
    std::printf("\n# index name\n");
    for (int i = 0; i < e->numPrograms; ++i)
        std::printf("program %3d %s\n", i, plugin->ProgramName(i).c_str());
    return 0;
}
