#pragma once

#include <QIcon>

namespace tessik {

// The program's icon, drawn: a white pawn on a dark square.
QIcon TessikIcon();

}  // namespace tessik
