// The editor's three heaviest drawing steps: the full background, one knob, one value text.
#include "draw/BitmapCache.h"
#include "draw/DrawText.h"
#include "draw/FontCache.h"
#include "draw/Raster.h"
#include "draw/SystemSurface.h"

#include <benchmark/benchmark.h>

#include <numbers>

namespace tpm
{
namespace
{

void BackgroundBlit(benchmark::State& state)
{
    const tpm::BitmapRef bg = tpm::LoadBitmap(100, "img/bg.png", 1);
    auto dest = tpm::CreateSystemSurface(550, 363);
    if (!bg.Surface() || !dest)
    {
        state.SkipWithError("no background picture");
        return;
    }
    for (auto _ : state)
    {
        tpm::Blit(*dest, *bg.Surface(), 0, 0, {0, 0, 550, 363}, 1.0f, tpm::kBlendCopy);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 550 * 363);
}
BENCHMARK(BackgroundBlit);

void KnobRotatedBlit(benchmark::State& state)
{
    const tpm::BitmapRef knob = tpm::LoadBitmap(101, "../img/knob.png", 1);
    auto dest = tpm::CreateSystemSurface(550, 363);
    if (!knob.Surface() || !dest)
    {
        state.SkipWithError("no knob picture");
        return;
    }
    double value = 0.0;
    for (auto _ : state)
    {
        const double angle = (2.0 * value - 1.0) * 150.0 * std::numbers::pi / 180.0;
        tpm::RotatedBlit(*dest, *knob.Surface(), 20, 101, 57, 57, -0.3, -0.3, 57, 57, angle, false, 1.0f,
                         tpm::kBlendCopy | tpm::kBlendUseAlpha | tpm::kBlendFilter);
        value = value >= 1.0 ? 0.0 : value + 0.01;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 57 * 57);
}
BENCHMARK(KnobRotatedBlit);

void ValueTextLine(benchmark::State& state)
{
    tpm::TextStyle style("Arial", 15, tpm::Rgba(200, 255, 255, 255), 0, tpm::TextStyle::kAlignCentre);
    tpm::Font* font = tpm::FontCache::Instance().ForStyle(style);
    auto dest = tpm::CreateSystemSurface(550, 363);
    if (!font || !dest)
    {
        state.SkipWithError("no font");
        return;
    }
    for (auto _ : state)
    {
        tpm::DrawText(*dest, *font, style.colour.Packed(), "Gold. Triangle 432.0 Hz", {157, 163, 237, 178},
                      tpm::kTextAlignCentre | tpm::kTextNoClip | tpm::kTextUseAlpha);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ValueTextLine);

} // namespace
} // namespace tpm
