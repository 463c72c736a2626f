// The stand-in for SvgPicture.cpp in builds without Qt's SVG module: pictures are PNG only.
#include "plot/ChartPicture.h"

#include <stdexcept>

bool SvgPictureAvailable() { return false; }

QByteArray SvgPicture(const TChartPicture&, const QString&)
{
    throw std::runtime_error("SVG pictures are not available in this build");
}
