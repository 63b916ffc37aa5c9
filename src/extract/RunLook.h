#pragma once

#include <QStringView>

// How a run of text is set, as far as whether a reader of the printed page sees it:
// hidden or not, its colour, size and own background. Each field is either set or
// left to what the run inherits; Inherit lays a more specific look over a general one.
struct RunLook
{
    static constexpr int kUnset = -2;
    static constexpr int kAuto = -1; // the writer picks a colour that shows
    // Text at this size or smaller (hundredths of a point) cannot be read on paper.
    static constexpr int kTinySize = 200;

    int hidden = -1;         // 1 hidden, 0 shown, -1 inherited
    int color = kUnset;      // 0xRRGGBB, kAuto or kUnset
    int size = 0;            // hundredths of a point, 0 inherited
    int background = kUnset; // the run's own shading or highlight: 0xRRGGBB or kUnset

    // This look with every field that over sets taken from over.
    RunLook Over(const RunLook& over) const;
    // True when the run cannot be seen: hidden, tiny, or coloured as what lies under
    // it. behind is the colour under the run when it has none of its own.
    bool Invisible(int behind) const;

    // "RRGGBB" (an optional '#' first) as 0xRRGGBB; kAuto for "auto", kUnset otherwise.
    static int ParseHexColor(QStringView text);
    // True when two colours are too close to tell apart on paper.
    static bool SameColor(int a, int b);
};
