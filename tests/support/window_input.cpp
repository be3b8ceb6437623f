#include "support/window_input.h"

#include <gtest/gtest.h>

#include <QMenuBar>
#include <QTest>

namespace tessik {

void Click(QWidget* window, QPoint at) {
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
}

QPoint Spot(QWidget* widget) {
  const bool mark = widget->inherits("QCheckBox") || widget->inherits("QRadioButton");
  const QPoint middle = widget->rect().center();
  return widget->mapTo(widget->window(), mark ? QPoint(middle.y(), middle.y()) : middle);
}

void ClickOn(QWidget* widget) { Click(widget->window(), Spot(widget)); }

void Choose(CPluginDlg& window, const QString& menu, const QString& entry) {
  auto* bar = window.findChild<QMenuBar*>();
  QAction* title = window.MenuAction(menu);
  Click(&window, bar->mapTo(&window, bar->actionGeometry(title).center()));
  if (entry.isEmpty()) return;
  // On a real display the menu is a window of its own, shown a moment after the click.
  ASSERT_TRUE(QTest::qWaitForWindowExposed(title->menu()));
  Click(title->menu(), title->menu()->actionGeometry(window.MenuAction(entry)).center());
}

}  // namespace tessik
