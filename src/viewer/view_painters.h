// GDI painters of a measurement view's picture elements, each into the rectangle it is given: the
// pixel diagram, an evaluation in the pixel, a ladder plot and a value grid.
#pragma once

#include <windows.h>

#include "analysis/session/measurement_view.h"

// The pixel is the largest centred square of area that leaves a margin for marks on its edges;
// where a point of it (0 .. 1 from its top-left corner) lands.
POINT DiagramPoint(const RECT& area, double x, double y);
void PaintDiagram(HDC dc, const RECT& area, const ViewDiagram& diagram);
void PaintEvaluation(HDC dc, const RECT& area, const ViewEvaluation& evaluation);

// Where the plot drawn into area puts value (0 .. the ladder's valueScale) at covered samples.
POINT LadderPoint(const RECT& area, const ViewLadder& ladder, double covered, double value);
void PaintLadder(HDC dc, const RECT& area, const ViewLadder& ladder);

// The block as the largest centred square of area; where cell (column, row) of it lies.
RECT GridCell(const RECT& area, const ViewGrid& grid, int column, int row);
void PaintGrid(HDC dc, const RECT& area, const ViewGrid& grid);

// The marks of the evaluations and of the ladders, for the picture's legend.
void PaintDot(HDC dc, POINT centre, int radius, COLORREF colour, bool filled);
void PaintDiamond(HDC dc, POINT centre, int radius, COLORREF colour);
void PaintCross(HDC dc, POINT centre, int radius, COLORREF colour, int width);
int MarkRadius(const RECT& area);

// Colours of the marks, for the legend and the tests.
constexpr COLORREF kSampleDotColour = RGB(200, 30, 30);
constexpr COLORREF kStandardRingColour = RGB(40, 90, 220);
constexpr COLORREF kTextureCrossColour = RGB(0, 150, 0);
constexpr COLORREF kUncoveredSampleColour = RGB(160, 160, 160);
constexpr COLORREF kEvaluatedColour = RGB(0, 120, 0);
constexpr COLORREF kCentroidMarkColour = RGB(230, 140, 0);
constexpr COLORREF kLadderValueColour = RGB(200, 30, 30);
constexpr COLORREF kStoredCurveColour = RGB(40, 90, 220);
constexpr COLORREF kLinearCurveColour = RGB(0, 150, 0);
constexpr COLORREF kGridBarColour = RGB(40, 90, 220);
constexpr COLORREF kNotDrawnColour = RGB(236, 236, 236);
