// SPDX-License-Identifier: MIT
#include "imaging/engine/effect_table.h"

namespace imaging {

namespace {

using A = EffectRow::Action;
using T = EffectRow::Tab;

const EffectRow kRows[] = {
    {.Name = "Brightness",
     .Label = "&Brightness",
     .Page = T::Tones,
     .Does = A::Tone,
     .Export = "ILBrightness",
     .Low = -255,
     .High = 255},
    {.Name = "Contrast",
     .Label = "C&ontrast",
     .Page = T::Tones,
     .Does = A::Tone,
     .Export = "ILBrightness",
     .Low = -100,
     .High = 100},
    {.Name = "Gamma",
     .Label = "G&amma",
     .Page = T::Tones,
     .Does = A::Tone,
     .Export = "ILGamma",
     .Id = Effect::Gamma,
     .Low = 10,
     .High = 400,
     .Initial = 100,
     .Scale = 100,
     .Decimals = 2},
    {.Name = "Greyscale",
     .Label = "&Greyscale",
     .Page = T::Colours,
     .Does = A::Effect,
     .Export = "ILGrayscale",
     .Id = Effect::Greyscale},
    {.Name = "Invert",
     .Label = "&Invert",
     .Page = T::Colours,
     .Does = A::Invert,
     .Export = "ILInvert"},
    {.Name = "Mirror",
     .Label = "&Mirror",
     .Page = T::Geometry,
     .Does = A::Effect,
     .Export = "ILMirror",
     .Id = Effect::MirrorLeftRight},
    {.Name = "Flip",
     .Label = "&Flip",
     .Page = T::Geometry,
     .Does = A::Effect,
     .Export = "ILMirror",
     .Id = Effect::FlipTopBottom},
    {.Name = "Rotate",
     .Label = "&Rotate",
     .Page = T::Geometry,
     .Does = A::Rotate,
     .Export = "ILRotate",
     .Low = -360,
     .High = 360,
     .Initial = 90,
     .Decimals = 1,
     .Suffix = "\u00B0"},
    {.Name = "Blur",
     .Label = "&Blur",
     .Page = T::Geometry,
     .Does = A::Effect,
     .Export = "Blur",
     .Id = Effect::Blur,
     .Low = 1,
     .High = 32,
     .Initial = 2,
     .ValueLabel = "Radius"},
    {.Name = "Sharpen",
     .Label = "&Sharpen",
     .Page = T::Geometry,
     .Does = A::Effect,
     .Export = "Sharpen",
     .Id = Effect::Sharpen,
     .Low = 1,
     .High = 500,
     .Initial = 100,
     .Suffix = " %",
     .ValueLabel = "Amount"},
};

} // namespace

std::span<const EffectRow> EffectRows() {
    return kRows;
}

const EffectRow& RowOf(Effect effect) {
    for (const EffectRow& row : kRows)
        if ((row.Does == EffectRow::Action::Effect || row.Does == EffectRow::Action::Tone) &&
            row.Id == effect)
            return row;
    return kRows[0]; // unreachable: every effect has its row (the table test checks)
}

} // namespace imaging
