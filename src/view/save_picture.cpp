#include "view/save_picture.h"

#include <QPainter>
#include <QSaveFile>
#include <QtSvg/QSvgGenerator>

namespace tessik {

QString SavePicture(QChartView& chart, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  bool drawn = true;
  if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(chart.size());
    svg.setViewBox(chart.rect());
    svg.setTitle(chart.window()->windowTitle());
    QPainter painter;
    drawn = painter.begin(&svg);
    if (drawn) chart.render(&painter);
  } else {
    drawn = chart.grab().save(&file, "PNG");
  }
  // Nothing replaces the file the name had unless the whole picture was written.
  if (!drawn || file.error() != QFileDevice::NoError) {
    const QString why = file.error() != QFileDevice::NoError
                            ? file.errorString()
                            : QStringLiteral("it could not be drawn");
    file.cancelWriting();
    return why;
  }
  return file.commit() ? QString() : file.errorString();
}

}  // namespace tessik
