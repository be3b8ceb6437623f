// The view's charts saved as pictures, for a post or a printout.
#pragma once

#include <QString>
#include <QtCharts/QChartView>

namespace tessik {

// Writes what chart shows to path: SVG when the name ends in .svg, else PNG. The file appears
// whole or not at all (it is written beside and renamed). An empty string when it was saved,
// else why not.
QString SavePicture(QChartView& chart, const QString& path);

}  // namespace tessik
