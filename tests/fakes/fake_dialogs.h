#pragma once
#include <deque>
#include <string>
#include <vector>

#include "app/dialogs.h"

namespace gantrel::testing {

// Records every box; input boxes answer from a script (an empty answer is Cancel).
class FakeDialogs : public Dialogs {
 public:
  struct Box {
    std::string text;
    std::string title;
    MsgIcon icon;
  };

  void MsgBox(const std::string& text, const std::string& title, MsgIcon icon) override {
    boxes.push_back({text, title, icon});
  }
  std::string InputBox(const std::string& prompt) override {
    prompts.push_back(prompt);
    if (answers.empty()) return "";
    std::string a = answers.front();
    answers.pop_front();
    return a;
  }

  std::vector<Box> boxes;
  std::vector<std::string> prompts;
  std::deque<std::string> answers;
};

}  // namespace gantrel::testing
