// One instance of the plug-in for a VST3 host: a single object that is the audio component, its
// processor and its edit controller, each a face over the Vst3Model the object owns. One reference
// count covers every interface it hands out; the object lives until the last is released, an open
// view's included. Component and controller are initialized and terminated each on its own, as hosts
// do with the two.
#pragma once

#include "formats/vst3/Vst3Component.h"
#include "formats/vst3/Vst3Controller.h"
#include "formats/vst3/Vst3Model.h"
#include "formats/vst3/Vst3Object.h"

namespace tpm
{
class Vst3Plugin : public Vst3Component, public Vst3Controller
{
  public:
    Vst3Plugin(const Vst3Plugin&) = delete;
    Vst3Plugin& operator=(const Vst3Plugin&) = delete;

  protected:
    // The faces keep a reference to the model, which they use only once the host calls them.
    Vst3Plugin() : Vst3Component(model), Vst3Controller(model) {}
    ~Vst3Plugin() = default;

  private:
    Vst3Model model;
};

// What hosts ask the plug-in object for: the component first, so FUnknown and IPluginBase are the
// component's.
using Vst3PluginObject =
    Vst3Object<Vst3Plugin, vst3::IComponent, vst3::IPluginBase, vst3::IAudioProcessor,
               vst3::IProcessContextRequirements, vst3::IEditController, vst3::IUnitInfo>;
} // namespace tpm
