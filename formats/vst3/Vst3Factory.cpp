#include "formats/vst3/Vst3Factory.h"

#include "formats/vst3/Vst3Identity.h"
#include "formats/vst3/Vst3Plugin.h"
#include "formats/vst3/Vst3Text.h"

#include <cstring>

namespace tpm
{
vst3::IPluginFactory* Vst3Factory::Get()
{
    return Vst3FactoryObject::OfModule();
}

vst3::tresult Vst3Factory::getFactoryInfo(vst3::PFactoryInfo* info)
{
    if (!info)
        return vst3::kInvalidArgument;
    *info = vst3::PFactoryInfo{};
    vst3text::CopyAscii(info->vendor, sizeof info->vendor, product::kVendor);
    vst3text::CopyAscii(info->url, sizeof info->url, product::kUrl);
    vst3text::CopyAscii(info->email, sizeof info->email, vst3identity::kEmail);
    info->flags = vst3::kDefaultFactoryFlags;
    return vst3::kResultOk;
}

vst3::int32 Vst3Factory::countClasses()
{
    return 1;
}

namespace
{
// What every version of the class info says alike: id, cardinality, category.
template <typename Info> void FillClassBasics(Info& info)
{
    info = Info{};
    std::memcpy(info.cid, vst3identity::kClassId.bytes, sizeof info.cid);
    info.cardinality = vst3::PClassInfo::kManyInstances;
    vst3text::CopyAscii(info.category, sizeof info.category, vst3::kVstAudioEffectClass);
}
} // namespace

vst3::tresult Vst3Factory::getClassInfo(vst3::int32 index, vst3::PClassInfo* info)
{
    if (index != 0 || !info)
        return vst3::kInvalidArgument;
    FillClassBasics(*info);
    vst3text::CopyAscii(info->name, sizeof info->name, product::kName);
    return vst3::kResultOk;
}

vst3::tresult Vst3Factory::getClassInfo2(vst3::int32 index, vst3::PClassInfo2* info)
{
    if (index != 0 || !info)
        return vst3::kInvalidArgument;
    FillClassBasics(*info);
    vst3text::CopyAscii(info->name, sizeof info->name, product::kName);
    vst3text::CopyAscii(info->subCategories, sizeof info->subCategories, vst3identity::kSubCategories);
    vst3text::CopyAscii(info->vendor, sizeof info->vendor, product::kVendor);
    vst3text::CopyAscii(info->version, sizeof info->version, product::kVersion);
    vst3text::CopyAscii(info->sdkVersion, sizeof info->sdkVersion, vst3::kVstVersionString);
    return vst3::kResultOk;
}

vst3::tresult Vst3Factory::getClassInfoUnicode(vst3::int32 index, vst3::PClassInfoW* info)
{
    if (index != 0 || !info)
        return vst3::kInvalidArgument;
    FillClassBasics(*info);
    vst3text::ToUtf16(product::kName, info->name, vst3::PClassInfo::kNameSize);
    vst3text::CopyAscii(info->subCategories, sizeof info->subCategories, vst3identity::kSubCategories);
    vst3text::ToUtf16(product::kVendor, info->vendor, vst3::PClassInfoW::kVendorSize);
    vst3text::ToUtf16(product::kVersion, info->version, vst3::PClassInfoW::kVersionSize);
    vst3text::ToUtf16(vst3::kVstVersionString, info->sdkVersion, vst3::PClassInfoW::kVersionSize);
    return vst3::kResultOk;
}

vst3::tresult Vst3Factory::createInstance(vst3::FIDString cid, vst3::FIDString iid, void** obj)
{
    if (!obj)
        return vst3::kInvalidArgument;
    *obj = nullptr;
    if (!vst3::SameUid(cid, vst3identity::kClassId) || !iid)
        return vst3::kInvalidArgument;
    Vst3PluginObject* plugin = Vst3PluginObject::Create();
    if (!plugin)
        return vst3::kOutOfMemory;
    // The host's reference comes from queryInterface; the one made with the object goes.
    const vst3::tresult result = plugin->queryInterface(iid, obj);
    plugin->release();
    return result;
}

vst3::tresult Vst3Factory::setHostContext(vst3::FUnknown* context)
{
    (void)context; // nothing of the host is needed before an instance exists
    return vst3::kResultOk;
}
} // namespace tpm
