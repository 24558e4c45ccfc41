#include "plugin/EditorLayout.h"
#include "plugin/ProductInfo.h"

#include "editor/EditorWindow.h"
#include "editor/controls/BandText.h"
#include "editor/controls/Button.h"
#include "editor/controls/ButtonClick.h"
#include "editor/controls/ButtonHold.h"
#include "editor/controls/DropDown.h"
#include "editor/controls/KnobMulti.h"
#include "editor/controls/KnobRotVal.h"
#include "editor/controls/LfoMarkerControl.h"
#include "editor/controls/TextControl.h"
#include "editor/controls/WebLinkControl.h"
#include "engine/ParamId.h"
#include "plugin/ParameterTable.h"

#include <cstdio>
#include <memory>

namespace tpm
{
namespace
{
constexpr const char* kWebPage = "https://www.twinpulsetonemix.org/";
constexpr const char* kWebPageFallback = "http://twinpulsetonemix.org/";

const TextStyle kVersionStyle{"Verdana", 13, Rgba(100, 255, 255, 255), 0, TextStyle::kAlignLeft};
const TextStyle kBandStyle{"Arial", 15, Rgba(200, 255, 255, 255), 0, TextStyle::kAlignCentre};
const TextStyle kKnobStyle{"Arial", 15, Rgba(200, 255, 255, 255), 0, TextStyle::kAlignLeft};

KnobSetup Knob(int cx, int cy, const BitmapRef& bitmap, int width = 0)
{
    KnobSetup s;
    s.centerX = cx;
    s.centerY = cy;
    s.bitmap = bitmap;
    s.textStyle = kKnobStyle;
    s.width = width;
    return s;
}

std::string FormatVersionText()
{
    char text[32];
    std::snprintf(text, sizeof text, "v%d.%02d", product::kVersionMajor, product::kVersionMinor);
    return text;
}

// The parameters of one LFO panel; the second panel lies 304 pixels right of the first.
// The index of one of LFO k's parameters, named by LFO 1's.
int LfoParam(ParamId lfo1Param, int k)
{
    return ToIndex(lfo1Param) + k * kLfoParamStride;
}

template <class Control, class... Args> Control* Attach(EditorWindow& editor, Args&&... args)
{
    auto control = std::make_unique<Control>(editor, std::forward<Args>(args)...);
    Control* raw = control.get();
    editor.AttachControl(std::move(control));
    return raw;
}
} // namespace

std::unique_ptr<IEditorLink> EditorLayout::Build(IEditorController& controller, WindowLayerFactory factory)
{
    auto editor = std::make_unique<EditorWindow>(controller, kWidth, kHeight, 0, factory);
    EditorWindow& e = *editor;
    e.AttachBackground(100, "img/bg.png");
    Attach<LfoMarkerControl>(e, PixelBox{22, 322, 223, 324}, 0);
    Attach<LfoMarkerControl>(e, PixelBox{326, 322, 527, 324}, 1);
    Attach<TextControl>(e, PixelBox{45, 12, 95, 30}, kVersionStyle, FormatVersionText().c_str());
    Attach<WebLinkControl>(e, PixelBox{178, 15, 370, 62}, kWebPage, kWebPageFallback, "");
    Attach<BandText>(e, PixelBox{233, 298, 317, 313}, kBandStyle);

    const BitmapRef knob = e.LoadBitmap(101, "../img/knob.png");
    const BitmapRef knob2 = e.LoadBitmap(102, "../img/knob2.png");
    const BitmapRef target = e.LoadBitmap(107, "img/lfo_tg.png", 5);
    const BitmapRef targetList = e.LoadBitmap(108, "img/lfo_tg_.png", 5);
    const BitmapRef syncTab = e.LoadBitmap(109, "../img/rate_sync.png");
    const BitmapRef lfoWave = e.LoadBitmap(104, "../img/lfo_wave.png", 7);

    Attach<KnobRotVal>(e, ToIndex(ParamId::kBaseFreq), Knob(48, 129, knob));
    Attach<KnobRotVal>(e, ToIndex(ParamId::kBinaural), Knob(122, 129, knob));
    Attach<KnobMulti>(e, ToIndex(ParamId::kWave),
                      Knob(197, 129, e.LoadBitmap(103, "../img/wave.png", 8), 80));
    Attach<Button>(e, ToIndex(ParamId::kBeats), 235, 103, e.LoadBitmap(106, "../img/btn3.png"));
    Attach<Button>(e, ToIndex(ParamId::kPlayAnyway), 241, 144, e.LoadBitmap(105, "../img/btn.png"));
    Attach<KnobRotVal>(e, ToIndex(ParamId::kFade), Knob(352, 129, knob, 60));
    Attach<KnobRotVal>(e, ToIndex(ParamId::kBinauralPan), Knob(426, 129, knob));
    Attach<KnobRotVal>(e, ToIndex(ParamId::kMix), Knob(501, 129, knob));

    for (int k = 0; k < 2; ++k)
    {
        const int dx = k * 304;
        Attach<ButtonClick>(e, LfoParam(ParamId::kLfo1Sync, k), 183 + dx, 194, syncTab,
                            EditorCommand::kSyncClick);
        Attach<DropDown>(e, LfoParam(ParamId::kLfo1Target, k), 84 + dx, 214, target, targetList, 1,
                         DropDown::kBelowLeft);
        Attach<KnobRotVal>(e, LfoParam(ParamId::kLfo1Start, k), Knob(45 + dx, 277, knob2));
        Attach<KnobMulti>(e, LfoParam(ParamId::kLfo1Wave, k), Knob(97 + dx, 277, lfoWave, 60));
        Attach<KnobRotVal>(e, LfoParam(ParamId::kLfo1Depth, k), Knob(149 + dx, 277, knob2));
        // The synced and the millisecond rate share the spot; the display state hides one of them.
        Attach<KnobRotVal>(e, LfoParam(ParamId::kLfo1RateSync, k), Knob(201 + dx, 277, knob2));
        Attach<KnobRotVal>(e, LfoParam(ParamId::kLfo1RateMs, k), Knob(201 + dx, 277, knob2, 60));
    }
    Attach<ButtonHold>(e, ToIndex(ParamId::kRestartLfos), 235, 323, e.LoadBitmap(110, "../img/btn2.png"));
    e.ShowPluginState();
    e.CreateSurface();
    return editor;
}
} // namespace tpm
