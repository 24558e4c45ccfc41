// The module's plug-in factory: one audio module class, the plug-in object that is component,
// processor and controller at once. One factory lives as long as the module; hosts count references
// on it all the same.
#pragma once

#include "formats/vst3/Vst3Abi.h"
#include "formats/vst3/Vst3Object.h"

namespace tpm
{
class Vst3Factory : public vst3::IPluginFactory3
{
  public:
    // The module's factory, with a reference for the caller.
    static vst3::IPluginFactory* Get();

    Vst3Factory(const Vst3Factory&) = delete;
    Vst3Factory& operator=(const Vst3Factory&) = delete;

    // IPluginFactory, 2 and 3
    vst3::tresult getFactoryInfo(vst3::PFactoryInfo* info) override;
    vst3::int32 countClasses() override;
    vst3::tresult getClassInfo(vst3::int32 index, vst3::PClassInfo* info) override;
    vst3::tresult createInstance(vst3::FIDString cid, vst3::FIDString iid, void** obj) override;
    vst3::tresult getClassInfo2(vst3::int32 index, vst3::PClassInfo2* info) override;
    vst3::tresult getClassInfoUnicode(vst3::int32 index, vst3::PClassInfoW* info) override;
    vst3::tresult setHostContext(vst3::FUnknown* context) override;

  protected:
    Vst3Factory() = default;
    ~Vst3Factory() = default;
};

using Vst3FactoryObject =
    Vst3ModuleObject<Vst3Factory, vst3::IPluginFactory3, vst3::IPluginFactory2, vst3::IPluginFactory>;
} // namespace tpm
