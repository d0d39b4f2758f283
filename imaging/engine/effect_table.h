// SPDX-License-Identifier: MIT
#pragma once

#include <span>

namespace imaging {

/// The effects window's operations, each giving a new DIB (the caller frees both) or none.
enum class Effect { Brightness, Gamma, Greyscale, MirrorLeftRight, FlipTopBottom, Blur, Sharpen };

/// What the effects window offers, one row each: the engine's export, what the control
/// that runs it is called and shows, its tab, and the value it takes.
struct EffectRow {
    /// How the window runs it.
    enum class Action {
        Tone,   // a slider; the tones act together, last
        Effect, // the engine's effect of `Id`
        Invert, // the engine's inversion
        Rotate, // the engine's turn by the value in degrees
    };
    enum class Tab { Tones, Colours, Geometry };

    const char* Name;  // the control's object name
    const char* Label; // its caption, with its access key
    Tab Page;
    Action Does;
    const char* Export; // the effects engine's function
    Effect Id = Effect::Brightness;
    /// The value it takes; Low == High: none. Shown divided by Scale with Decimals places.
    int Low = 0, High = 0, Initial = 0, Scale = 1, Decimals = 0;
    const char* Suffix = "";
    /// Valued operations in a group box are captioned by this; null: on a line of their own.
    const char* ValueLabel = nullptr;
    bool TakesValue() const { return Low != High; }
};

/// Every operation, in the order the window shows them.
std::span<const EffectRow> EffectRows();
/// The row of an engine effect.
const EffectRow& RowOf(Effect effect);

} // namespace imaging
