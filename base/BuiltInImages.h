#pragma once

#include <QImage>

#include <array>

namespace ponderix {

// The eighteen pictures the program carries, drawn by the program itself at
// start-up. Icons are 32-bit ARGB with transparency; the three backgrounds are
// opaque gradients whose colours the pages and cells rely on.
struct BuiltInImages {
    enum Toolbar { New, Open, Save, Results, Profile, Report, ToolbarCount };

    QImage addIcon;                                // 24 x 24, the add-option and add-criterion buttons
    QImage deleteIcon;                             // 24 x 24, delete buttons of options and criteria
    QImage logo;                                   // 64 x 64, top right of the main window; also the window icon
    QImage commentPresent;                         // 24 x 24
    QImage commentAbsent;                          // 24 x 24
    std::array<QImage, ToolbarCount> toolbarIcons; // 48 x 48 each, all different

    QImage scaleBackground;   // 120 x 20: red, orange, yellow (middle), yellow-green, green
    QImage detailBackground;  // 340 x 340: white, coloured square (54,35)-(325,298)
    QImage profileBackground; // 400 x 400: radial disc from light red to light green

    QImage arrowLeft; // 12 x 12 each
    QImage arrowRight;
    QImage arrowUp;
    QImage arrowDown;

    // Drawn once, on first use. Shapes only, so no QGuiApplication is needed.
    static const BuiltInImages& instance();

    // The pictures a widget shows, which a dense screen needs with more pixels.
    enum class Picture {
        Add,
        Delete,
        Logo,
        CommentPresent,
        CommentAbsent,
        ToolbarNew,
        ToolbarOpen,
        ToolbarSave,
        ToolbarResults,
        ToolbarProfile,
        ToolbarReport,
        Scale,
        ProfileBackground,
        ArrowLeft,
        ArrowRight,
        ArrowUp,
        ArrowDown,
    };
    static Picture toolbarPicture(Toolbar which);

    // `which` drawn anew for a screen of `ratio` device pixels per pixel: the
    // same size in pixels of the layout, ratio times the pixels each way (whole
    // pixels, rounded up), carrying that ratio. At 1 it is the picture above,
    // pixel for pixel. Ratios below 1 or above 8, or not a number, draw at the
    // nearer of those two, 1 for not a number.
    static QImage draw(Picture which, qreal ratio);
};

} // namespace ponderix
