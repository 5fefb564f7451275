#pragma once

#include <QSize>
#include <string>

// The window's 272 by 304 pixels, shown as whole blocks on a screen.

// The largest whole scale at which the picture fits into `area`; at least 1.
int LargestWholeScale(QSize area);

struct ScaleFit {
    int scale;
    std::string note;  // why the scale was lowered; empty when it was not
};

// `wanted`, lowered to the largest whole scale at which the window fits into
// the screen's `available` area.
ScaleFit FitScaleToScreen(int wanted, QSize available);

// FitScaleToScreen on the primary screen; a lowered scale is said on
// standard error.
int ScaleForPrimaryScreen(int wanted);
