// The module's plug-in factory: one audio module class, the plug-in object that is component,
// processor and controller at once. One factory lives as long as the module; hosts count references
// on it all the same.
#pragma once

#include "formats/vst3/Vst3Abi.h"

#include <atomic>

class Vst3Factory final : public vst3::IPluginFactory3
{
  public:
    // The module's factory, with a reference for the caller.
    static Vst3Factory* Get();

    // FUnknown
    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) override;
    vst3::uint32 addRef() override;
    vst3::uint32 release() override;

    // IPluginFactory, 2 and 3
    vst3::tresult getFactoryInfo(vst3::PFactoryInfo* info) override;
    vst3::int32 countClasses() override;
    vst3::tresult getClassInfo(vst3::int32 index, vst3::PClassInfo* info) override;
    vst3::tresult createInstance(vst3::FIDString cid, vst3::FIDString iid, void** obj) override;
    vst3::tresult getClassInfo2(vst3::int32 index, vst3::PClassInfo2* info) override;
    vst3::tresult getClassInfoUnicode(vst3::int32 index, vst3::PClassInfoW* info) override;
    vst3::tresult setHostContext(vst3::FUnknown* context) override;

  private:
    Vst3Factory() = default;
    ~Vst3Factory() = default;

    std::atomic<vst3::uint32> refs{0};
};
