#include "support/fake_main_window.h"

namespace tessik {

void FakeMainWindow::AddOutputLine(std::string_view line) {
  if (!text.empty()) text += "\r\n";
  text += line;
}

bool FakeMainWindow::AskYesNo(std::string_view boxText, std::string_view caption) {
  return AskRetryCancel(boxText, caption);
}

bool FakeMainWindow::AskRetryCancel(std::string_view boxText, std::string_view caption) {
  boxes.push_back({std::string(boxText), std::string(caption)});
  if (beforeAnswer) beforeAnswer();
  if (answers.empty()) return false;
  bool answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace tessik
