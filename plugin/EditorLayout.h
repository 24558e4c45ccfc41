// The plug-in's editor as designed: background, LFO markers, version and band texts, the web link and
// the 23 parameter controls at their places, and the hand-over of what the engine shows (band name,
// LFO markers) into those controls.
#pragma once

#include "editor/IWindowLayer.h"

class IEditorLink;
class IEffectBase;
class ToneEngine;

namespace tpm
{
class IEditorWindow;
class ILfoMarker;
class ITextControl;
} // namespace tpm

class EditorLayout
{
  public:
    static constexpr int kWidth = 550;
    static constexpr int kHeight = 363;

    // Builds the editor with its 29 controls for a plug-in and its engine; the caller hands it to the
    // plug-in (AttachEditor), which then owns it.
    IEditorLink* Build(IEffectBase& plugin, ToneEngine& engine,
                       tpm::WindowLayerFactory factory = tpm::PlatformWindowLayerFactory());

    // Copies the band name and the LFO markers from the engine into their controls. Called under the
    // plug-in lock by whichever thread changed them; the controls only store, so it never waits on drawing.
    void ShowEngineState(const ToneEngine& engine);

  private:
    tpm::ITextControl* bandText = nullptr;
    tpm::ILfoMarker* markers[2] = {nullptr, nullptr};
    const char* shownBand = nullptr;
};
