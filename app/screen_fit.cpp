#include "app/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdio>

#include "play/game.h"

namespace {

const QSize Picture(ViewSize, ViewSize + StatusHeight);

std::string SizeText(QSize size) { return std::to_string(size.width()) + " by " + std::to_string(size.height()); }

}  // namespace

int LargestWholeScale(QSize area)
{
    return std::max(1, std::min(area.width() / Picture.width(), area.height() / Picture.height()));
}

ScaleFit FitScaleToScreen(int wanted, QSize available)
{
    const int fitting = LargestWholeScale(available);
    if (wanted <= fitting) return {wanted, {}};
    return {fitting, "--scale " + std::to_string(wanted) + " makes a " + SizeText(Picture * wanted) +
                         " window, larger than the screen's " + SizeText(available) + "; using scale " +
                         std::to_string(fitting)};
}

int ScaleForPrimaryScreen(int wanted)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return wanted;
    const ScaleFit fit = FitScaleToScreen(wanted, screen->availableGeometry().size());
    if (!fit.note.empty()) std::fprintf(stderr, "burrowkin: %s\n", fit.note.c_str());
    return fit.scale;
}
