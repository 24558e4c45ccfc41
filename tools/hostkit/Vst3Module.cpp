#include "tools/hostkit/Vst3Module.h"

#include "tools/hostkit/HostPlatform.h"

namespace tpm
{
namespace
{
#if defined(_WIN32)
constexpr const char* kArchitectureFolder = "x86_64-win";
constexpr const char* kBinarySuffix = ".vst3";
constexpr const char* kEntryName = vst3::kInitDllProcName;
constexpr const char* kExitName = vst3::kExitDllProcName;
#else
constexpr const char* kArchitectureFolder = "x86_64-linux";
constexpr const char* kBinarySuffix = ".so";
constexpr const char* kEntryName = vst3::kModuleEntryProcName;
constexpr const char* kExitName = vst3::kModuleExitProcName;
#endif

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

// The path without separators at its end.
std::string Trimmed(std::string path)
{
    while (path.size() > 1 && IsSeparator(path.back()))
        path.pop_back();
    return path;
}

std::string LastPart(const std::string& path)
{
    std::size_t at = path.size();
    while (at > 0 && !IsSeparator(path[at - 1]))
        --at;
    return path.substr(at);
}

std::string Parent(const std::string& path)
{
    std::size_t at = path.size();
    while (at > 0 && !IsSeparator(path[at - 1]))
        --at;
    return at > 0 ? path.substr(0, at - 1) : "";
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix)
{
    if (text.size() < suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i)
    {
        char c = text[text.size() - suffix.size() + i];
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (c != suffix[i])
            return false;
    }
    return true;
}
} // namespace

bool Vst3Module::IsVst3Path(const std::string& path)
{
    const std::string trimmed = Trimmed(path);
    if (EndsWithNoCase(trimmed, ".vst3"))
        return true;
    // .../Name.vst3/Contents/<architecture>/Name.so
    const std::string folder = Parent(trimmed);
    return EndsWithNoCase(Parent(Parent(folder)), ".vst3") && LastPart(Parent(folder)) == "Contents";
}

std::string Vst3Module::BinaryPath(const std::string& path)
{
    std::string trimmed = Trimmed(path);
    if (!IsFolder(trimmed))
        return trimmed;
    std::string name = LastPart(trimmed);
    name = name.substr(0, name.size() - (EndsWithNoCase(name, ".vst3") ? 5 : 0));
    return trimmed + "/Contents/" + kArchitectureFolder + "/" + name + kBinarySuffix;
}

std::shared_ptr<Vst3Module> Vst3Module::Load(const std::string& path, std::string& error)
{
    const std::string binary = BinaryPath(path);
    auto library = ModuleLibrary::Open(binary, error, vst3::kGetFactoryProcName);
    if (!library)
    {
        if (binary != Trimmed(path))
            error += " (in bundle '" + path + "')";
        return nullptr;
    }
    std::shared_ptr<Vst3Module> module(new Vst3Module);
    module->library = std::move(library);
    // The entry function is optional to the loader, but one that is there and fails means no plug-in.
    if (void* entry = module->library->Symbol(kEntryName))
    {
#if defined(_WIN32)
        const bool entered = reinterpret_cast<vst3::InitDllProc>(entry)();
#else
        const bool entered = reinterpret_cast<vst3::LinuxModuleEntryProc>(entry)(module->library->Handle());
#endif
        if (!entered)
        {
            error = "module '" + path + "': " + kEntryName + " failed";
            return nullptr;
        }
        module->entered = true;
    }
    const auto getFactory = reinterpret_cast<vst3::GetFactoryProc>(module->library->EntrySymbol());
    module->factory = getFactory();
    if (!module->factory || module->factory->countClasses() <= 0)
    {
        error = "module '" + path + "' offers no VST3 plug-in";
        return nullptr;
    }
    void* asked = nullptr;
    if (module->factory->queryInterface(vst3::IPluginFactory2::iid.bytes, &asked) == vst3::kResultOk)
        module->factory2 = static_cast<vst3::IPluginFactory2*>(asked);
    return module;
}

Vst3Module::~Vst3Module()
{
    if (factory2)
        factory2->release();
    if (factory)
        factory->release();
    if (entered)
        if (void* exit = library->Symbol(kExitName))
            reinterpret_cast<vst3::ModuleExitProc>(exit)();
}
} // namespace tpm
