#include "ui/host_text.h"

#include <QStringDecoder>
#include <QTextDocument>

namespace tessik {

QString TextOfBytes(std::string_view bytes) {
  const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
  QString text = utf8.decode(view);
  return utf8.hasError() ? QString::fromLatin1(view) : text;
}

std::string BytesOfText(const QString& text) { return text.toUtf8().toStdString(); }

QString PlainToolTip(const QString& text) {
  return Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap);
}

}  // namespace tessik
