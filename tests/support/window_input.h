// A user's mouse on the plug-in's windows: clicks where a user would click, menu entries picked.
#pragma once

#include <QPoint>
#include <QString>
#include <QWidget>

#include "ui/plugin_dlg.h"

namespace tessik {

// A click through the window: it reaches whatever a user would hit at that point.
void Click(QWidget* window, QPoint at);
// Where a user clicks: a check or radio box on its mark at its left, anything else in its middle.
QPoint Spot(QWidget* widget);
void ClickOn(QWidget* widget);
// Picks an entry of a menu with the mouse, or without one an entry of the bar itself ("About").
void Choose(CPluginDlg& window, const QString& menu, const QString& entry = {});

}  // namespace tessik
