#pragma once

#include <QFont>

namespace ponderix {

// The fonts the program draws with, by what they are for. Sizes are the
// classic point sizes at 96 pixels per inch, turned into pixel sizes so that
// pages and cells come out the same on every screen and in every image.
enum class FontRole {
    Banner,            // Arial 12 bold: project banner, corner captions
    CellTitle,         // Microsoft Sans Serif 8 bold: titles of option, criterion and rating cells
    Legend,            // Microsoft Sans Serif 7: legend and scale labels under sliders
    PageHeader,        // Arial 12 bold, white on the header colour
    PageLabel,         // Arial 10 bold
    PageValue,         // Arial 10
    PageScale,         // Arial 8
    PageScaleBold,     // Arial 8 bold
    ProfileLegendBold, // Arial 9 bold
    ProfileLegend,     // Arial 9
};

QFont programFont(FontRole role);

// A font given the classic way, by face, points and weight.
QFont classicFont(const QString& face, int points, bool bold);

} // namespace ponderix
