// Text from outside the program (a handle, a line or a box text that holds one) as the window
// shows it.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tessik {

// The one rule for bytes as text in the window: UTF-8 when they are valid UTF-8, else each byte
// as its Latin-1 character (a handle from an old PGN, say).
QString TextOfBytes(std::string_view bytes);

// The way back, for a name the user types: UTF-8, so that a name shown as UTF-8 is found again
// (a name of plain ASCII is the same bytes either way).
std::string BytesOfText(const QString& text);

// A tooltip of text as it is. Qt takes a tooltip that looks like markup as markup: this one is
// escaped and marked as rich text, its line breaks kept.
QString PlainToolTip(const QString& text);

}  // namespace tessik
