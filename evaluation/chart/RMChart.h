#pragma once

/*
 * RMChart 4.12: the chart component of Ponderix.
 *
 * A small C library that draws business charts off screen with QPainter and
 * writes them as PNG files, or paints them onto a caller's QPainter. The program loads it at run time and binds the
 * entry points below by name; nothing else calls the drawing code behind them.
 *
 * Life of a chart: RMC_CREATECHART, then any of the RMC_ADD... and RMC_CO...
 * calls, then RMC_DRAW2FILE or RMC_DRAW2PAINTER (as often as wanted), then
 * RMC_DELETECHART. A chart is known by the id given at creation; one id names
 * one chart at a time. Everything is drawn when RMC_DRAW2FILE or
 * RMC_DRAW2PAINTER runs, in this order: background,
 * plot areas with their grids, axes, series, custom objects (in object number
 * order), captions, the chart's frame. The library is not thread-safe; call it from one thread,
 * after a QGuiApplication exists (text needs the platform's fonts).
 *
 * Return values: 0 for success, otherwise one of the RMC_ERROR_ codes.
 *
 * Texts are UTF-8. Lists of labels separate their items with "*"; an empty
 * item leaves its tick unlabelled. No-break spaces (U+00A0) count as text, so
 * leading ones shift a centred caption to the right. An axis caption ending
 * in the two characters "\b" (backslash, b) is written in bold, without them.
 *
 * Colours are 32-bit values 0xAARRGGBB passed as int:
 *   alpha 00 (e.g. 0)  the element's default colour (dark grey for text,
 *                      #808080 for axis lines, #1E2A78 for XY symbols,
 *                      palette colour 1 for a bar series)
 *   -1 (0xFFFFFFFF)    opaque white, also the default background
 *   -2                 "none": a fill is left out (what lies below shows
 *                      through); for a bar series, each bar takes its own
 *                      colour from the palette below, bar k colour k mod 10
 *   any other          that colour; the alpha byte is honoured
 * The palette: #0000FF #FF0000 #00CD00 #FFA500 #D84FD9 #22D4DB #CAED0F
 * #9D9C5F #426EEE #009696.
 *
 * Font sizes are points at 96 pixels per inch (8 points = 11 pixels).
 *
 * Automatic layout. A plot area whose grid is added with left, top, width
 * and height all 0 is placed inside its region, leaving
 *   left:   4, plus 24 for the labels of a left axis, plus 26 for its caption
 *   right:  5, plus 11 under a numeric X axis (its last label is centred on
 *           the plot's right edge)
 *   top:    10, plus 23 for a region caption; a chart with a category axis
 *           adds 18 for that axis's caption and 14 for the bars' value labels
 *   bottom: 10, plus 14 for the labels and 15 for the caption of an X axis
 * So a 680 x 340 bar chart with a value axis plots from (28, 42) to (675, 330)
 * and a 340 x 340 XY chart with a caption from (54, 33) to (324, 301).
 */

#ifdef __cplusplus
extern "C" {
#endif

#define RMC_VERSION 4.12

#define RMC_ERROR_NO_CHART -1  /* no chart with that id, or no such region */
#define RMC_ERROR_ARGUMENT -2  /* a size, count, range or pointer is unusable */
#define RMC_ERROR_FILE -3      /* a picture cannot be read or a file cannot be written */
#define RMC_ERROR_ID_IN_USE -4 /* a chart with that id exists already */
#define RMC_ERROR_NO_GUI -5    /* no QGuiApplication: nothing can be drawn */

/* Creates an empty chart of width x height pixels (1 .. 10000 each).
 *   parent            the window the chart would belong to; charts here are
 *                     never shown, so it is only kept. May be null.
 *   x, y              its position in that window; kept, not used.
 *   backColour        background colour; -1 white.
 *   style             0: a thin grey frame around the chart;
 *                     4: no frame, the background picture untouched at the
 *                        edges. Other values are taken as 0.
 *   offscreen         1: the chart is only drawn into files (the only mode;
 *                     0 is accepted and means the same).
 *   backgroundPicture a picture file (BMP, PNG) drawn over the background at
 *                     (0, 0), stretched when its size differs; "" for none.
 *                     A named picture that cannot be read fails the call with
 *                     RMC_ERROR_FILE: a chart whose meaning rests on it is
 *                     better not drawn at all.
 *   fontName          the face of every text of the chart; "" for Arial.
 *   reserved          pass 0.
 *   textColour        colour of every text; alpha 00 for dark grey. */
int RMC_CREATECHART(void* parent, int id, int x, int y, int width, int height, int backColour, int style, int offscreen,
                    const char* backgroundPicture, const char* fontName, int reserved, int textColour);

/* Adds a region, the frame for one plot, captions and axes. Regions are
 * numbered from 1 in the order they are added.
 *   left, top, width, height  in chart pixels; width or height 0 (or less)
 *                     means "to the chart's right or bottom edge".
 *   footer            a line of small text under the region; "" for none.
 *   border            0: none; 1: a thin grey rectangle around the region. */
int RMC_ADDREGION(int id, int left, int top, int width, int height, const char* footer, int border);

/* A caption centred over the region's top edge.
 *   backColour        a band behind the caption; alpha 00 or -2 for none.
 *   fontSize          in points; 0 for 10.
 *   bold              0 or 1. */
int RMC_ADDCAPTION(int id, int region, const char* text, int backColour, int textColour, int fontSize, int bold);

/* The region's plot area and its grid.
 *   backColour        fill of the plot area; -2 for none, so that the chart's
 *                     background picture stays visible through the plot.
 *   gradient          0: plain fill; 1: the fill fades from white at the top
 *                     to backColour at the bottom.
 *   left, top, width, height  the plot area in chart pixels; all 0 for the
 *                     automatic layout (see above).
 *   gridLines         0: none; 1: a crisp 1-pixel line at every tick of the
 *                     value (or Y) axis, and a frame around the plot. */
int RMC_ADDGRID(int id, int region, int backColour, int gradient, int left, int top, int width, int height,
                int gridLines);

/* The value axis of a bar chart.
 *   alignment         1: left of the plot (the only place; others are taken
 *                     as 1).
 *   minimum, maximum  the values at the plot's bottom and top edges.
 *   tickCount         ticks from minimum to maximum inclusive, evenly spaced
 *                     (2 .. 1000). 6 ticks over -100 .. 100 mark -100, -60,
 *                     -20, 20, 60 and 100.
 *   fontSize          of the labels, in points; 0 for 8.
 *   lineStyle         0: no axis line; 2: the axis line; 6: the axis line and
 *                     a 3-pixel tick mark at every tick.
 *   decimals          digits after the point in generated labels (0 .. 6).
 *   unit              appended to every generated label ("%").
 *   caption           written up the left side; "" for none.
 *   labels            "*"-separated labels from the bottom tick up, replacing
 *                     the generated ones; "" to generate them.
 *   flags             pass 0. */
int RMC_ADDDATAAXIS(int id, int region, int alignment, double minimum, double maximum, int tickCount, int fontSize,
                    int textColour, int lineColour, int lineStyle, int decimals, const char* unit, const char* caption,
                    const char* labels, int flags);

/* The category axis of a bar chart: one slot per tick, bar k in slot k.
 *   labels            "*"-separated labels of the slots, left to right.
 *   labelStep         1: every label; k: every k-th. Labels that would run
 *                     into each other are thinned further automatically.
 *   tickCount         the number of slots (at least 1); a bar series with
 *                     more values widens it to one slot per value.
 *   alignment         7: the labels stand at the value axis's zero line, each
 *                     on the side away from its bar (under a rising bar, over
 *                     a falling one), so they never collide with the bars;
 *                     the caption stands above the plot at its left. Other
 *                     values are taken as 7. The first slot starts 20 pixels
 *                     into the plot, leaving the plot's left edge free for
 *                     custom text objects.
 *   fontSize          of the labels, in points; 0 for 8.
 *   textAngle         0: horizontal labels (the only kind; others are taken
 *                     as 0).
 *   lineStyle         0: no line; 2: a line along the plot's bottom edge. */
int RMC_ADDLABELAXIS(int id, int region, const char* labels, int labelStep, int tickCount, int alignment, int fontSize,
                     int textColour, int textAngle, int lineColour, int lineStyle, const char* caption);

/* The axes of an XY chart. alignment is the axis code the XY series names:
 * 12 for an X axis along the bottom, 9 for a Y axis at the left (others are
 * taken as these). Labels are given from minimum to maximum, "*"-separated;
 * "" generates them from the values. The X axis's caption is centred on the
 * region's width (leading no-break spaces move it over the plot); the Y
 * axis's is written upwards, centred on the plot's height. The other
 * arguments mean what they mean for RMC_ADDDATAAXIS. */
int RMC_ADDXAXIS(int id, int region, int alignment, double minimum, double maximum, int tickCount, int fontSize,
                 int textColour, int lineColour, int lineStyle, int decimals, const char* unit, const char* caption,
                 const char* labels, int flags);
int RMC_ADDYAXIS(int id, int region, int alignment, double minimum, double maximum, int tickCount, int fontSize,
                 int textColour, int lineColour, int lineStyle, int decimals, const char* unit, const char* caption,
                 const char* labels);

/* A bar series on the region's category and value axes.
 *   values, count     the bars, in slot order (count 0 .. 1000000).
 *   seriesType        1: one bar per value (the only kind).
 *   look              0: flat; 1: flat with a darker outline; 2: shaded
 *                     like a rounded column, with a darker outline.
 *   valueLabels       0: none; 1: each bar's value at its outer end, with the
 *                     value axis's decimals and unit.
 *   colour            the bars' colour; -2: bar k in palette colour k mod 10.
 *   horizontal        0: upright bars (the only kind).
 *   shadow            0: none; 1: a soft shadow to the lower right.
 *   fromZero          1: bars grow from the value 0 (up or down); 0: from the
 *                     value axis's minimum.
 *   width             0: narrow (40 % of a slot); 1: normal (60 %); 2: wide
 *                     (80 %).
 *   transparency      0 .. 100 percent. */
int RMC_ADDBARSERIES(int id, int region, const double* values, int count, int seriesType, int look, int valueLabels,
                     int colour, int horizontal, int shadow, int fromZero, int width, int transparency);

/* An XY series: point k at (xValues[k], yValues[k]); the counts must match
 * (0 .. 1000000).
 *   lineStyle         0: points only; 1: points joined by a thin line.
 *   symbol            tens digit the shape (7 circle, 8 square, 9 diamond),
 *                     units digit 1 for a white rim that keeps the symbol
 *                     readable on any background, 0 for none. 0: no symbol.
 *   colour            of symbols and line; alpha 00 for #1E2A78.
 *   symbolSize        the symbol's diameter in pixels (2 .. 40).
 *   xAxis, yAxis      the alignment codes of the axes the values refer to
 *                     (12 and 9); the series waits for those axes.
 *   valueLabels       0: none; 1: each point's Y value beside it. */
int RMC_ADDXYSERIES(int id, int region, const double* xValues, int xCount, const double* yValues, int yCount,
                    int lineStyle, int symbol, int colour, int symbolSize, int xAxis, int yAxis, int valueLabels);

/* Custom line through count points given in chart pixels. An object number
 * that exists already is replaced.
 *   lineStyle         21: solid with square ends, every pixel from the first
 *                     point to the last covered (lines along a pixel row or
 *                     column are drawn exactly, without smoothing);
 *                     22: dashed; 23: dotted.
 *   transparency      0 .. 100 percent.
 *   width             in pixels (1 .. 20); a horizontal line of width w at y
 *                     covers rows y .. y + w - 1.
 *   startArrow, endArrow  0: none; 1: an arrow head at that end. */
int RMC_COLINE(int id, int object, const int* xValues, const int* yValues, int count, int lineStyle, int colour,
               int transparency, int width, int startArrow, int endArrow);

/* Custom text in a box given in chart pixels.
 *   textColour        alpha 00 for the chart's text colour.
 *   frameColour       alpha 00 for no frame.
 *   transparency      of the box fill, 0 .. 100 percent.
 *   shadow            0: none; 1: a soft shadow to the lower right.
 *   boxShape          0: no box; 1: a rounded box; 2: a square box.
 *   fillColour        the box's fill.
 *   fontCode          two digits, the size in points, then letters: B bold,
 *                     I italic, C centred in the box (else top left). A box
 *                     at least twice as tall as wide writes its text upwards
 *                     (turned a quarter left). Text that does not fit is
 *                     written smaller, down to 6 pixels, then clipped. */
int RMC_COTEXT(int id, int object, const char* text, int x, int y, int width, int height, int textColour,
               int frameColour, int transparency, int shadow, int boxShape, int fillColour, const char* fontCode);

/* Draws the chart and writes it as a PNG file (8-bit RGB, no alpha).
 *   width, height     the picture's size; 0 for the chart's own. A larger
 *                     size in the chart's proportions (the same factor both
 *                     ways, to a pixel) draws the chart at that factor, as
 *                     sharp as at its own size: 680 x 340 at 1360 x 680 is
 *                     the chart for a 2x screen. Any other size stretches
 *                     the drawing.
 *   speed             1 .. 100: 100 writes fastest (zlib level 1), 1 smallest
 *                     (level 9); 0 for zlib's default. */
int RMC_DRAW2FILE(int id, const char* path, int width, int height, int speed);

/* Draws the chart onto `painter`, a QPainter* active on any device (a
 * printer, a PDF writer), at the chart's own size from the painter's origin:
 * lines and text go to the device as they are, outlines on a PDF. The
 * background picture is scaled smoothly to `pictureRatio` device pixels per
 * chart pixel, once for every chart with the same picture and ratio, so a
 * document of many charts holds it once. The painter's state is as it was.
 *   pictureRatio      1 .. 10 */
int RMC_DRAW2PAINTER(int id, void* painter, double pictureRatio);

/* The texts the chart's last draw wrote, for a caller that checks its
 * captions fit: axis labels and captions, region captions and footers and
 * custom texts (not the numbers on bars and points). One line each, ended
 * by "\n", of tab-separated fields:
 *   left, top, width, height  the rectangle the letters' ink covers, in
 *                     chart pixels (a text written upwards covers a tall
 *                     one)
 *   pixels, asked     the letter size written and the size asked, in pixels;
 *                     a custom text that was written smaller differs
 *   clipped           1 when the text did not fit its room even so, else 0
 *   text              UTF-8; tabs and line breaks in it become blanks
 * Up to size - 1 bytes of the list and a terminating zero go into buffer
 * (nothing when size is 0). Returns the length of the whole list, so that
 * a caller can ask again with room for it; empty before any draw. */
int RMC_GETTEXTS(int id, char* buffer, int size);

/* Releases the chart. */
int RMC_DELETECHART(int id);

/* The version of this library, 4.12. */
double RMC_GETVERSION(void);

#ifdef __cplusplus
}
#endif
