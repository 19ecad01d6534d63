#pragma once
// The boxes that tell the user something: a warning or an error with OK, a question with
// Yes and No. Texts are UTF-8. The program shows them as message boxes; tests script them.

#include <deque>
#include <string>
#include <vector>

namespace qj {

enum class MessageKind { Warning, Error, Confirm, Information };

class Messages {
 public:
  virtual ~Messages() = default;
  virtual void warning(const std::string& text) = 0;
  virtual void error(const std::string& text) = 0;
  // True for Yes.
  virtual bool confirm(const std::string& text) = 0;
  virtual void information(const std::string& text) = 0;
  // News that nobody asked for (what became of a print job), of the given kind but never a
  // question: it keeps away from the keys that the user types for another window.
  virtual void notice(MessageKind kind, const std::string& text) = 0;
};

// Records every box shown and answers questions from a queue (No when it runs dry).
class ScriptedMessages : public Messages {
 public:
  struct Shown {
    MessageKind kind;
    std::string text;
    bool unasked = false;  // a notice
  };

  void warning(const std::string& text) override { shown.push_back({MessageKind::Warning, text}); }
  void error(const std::string& text) override { shown.push_back({MessageKind::Error, text}); }
  void information(const std::string& text) override {
    shown.push_back({MessageKind::Information, text});
  }
  void notice(MessageKind kind, const std::string& text) override {
    shown.push_back({kind, text, true});
  }
  bool confirm(const std::string& text) override {
    shown.push_back({MessageKind::Confirm, text});
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& s : shown) out.push_back(s.text);
    return out;
  }
  const Shown& last() const { return shown.back(); }
  void clear() { shown.clear(); }

  std::vector<Shown> shown;
  std::deque<bool> answers;
};

}  // namespace qj
