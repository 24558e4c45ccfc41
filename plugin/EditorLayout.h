// The plug-in's editor as designed: background, LFO markers, version and band texts, the web link and
// the 23 parameter controls at their places.
#pragma once

#include "editor/IEditorController.h"
#include "editor/IEditorLink.h"
#include "editor/IWindowLayer.h"

#include <memory>

namespace tpm
{
class EditorLayout
{
  public:
    static constexpr int kWidth = 550;
    static constexpr int kHeight = 363;

    // Builds the editor with its 29 controls, showing what the controller holds now; the format
    // binding owns it and must destroy it before the controller.
    static std::unique_ptr<IEditorLink>
    Build(tpm::IEditorController& controller,
          tpm::WindowLayerFactory factory = tpm::PlatformWindowLayerFactory());
};
} // namespace tpm
