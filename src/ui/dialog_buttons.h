#pragma once

#include <QBoxLayout>
#include <QDialog>

namespace tessik {

// The "OK" (default) and "Cancel" buttons of an option dialog, at the left of a row of their
// own at the end of layout.
void AddOkCancel(QDialog* dialog, QBoxLayout* layout);

}  // namespace tessik
