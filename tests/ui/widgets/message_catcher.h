// Collects the messages a window shows and answers them, instead of modal boxes.
#pragma once

#include <QStringList>

#include "ui/widgets/messages.h"

namespace velaron::test {

class MessageCatcher {
 public:
  explicit MessageCatcher(QMessageBox::StandardButton answer = QMessageBox::Ok) : answer_(answer) { listen(); }
  // Takes the messages again after a test put in a sink of its own.
  void listen() {
    ui::SetMessageSink([this](const ui::MessageRequest& r) {
      requests.push_back(r);
      return answer_;
    });
  }
  ~MessageCatcher() { ui::SetMessageSink(nullptr); }
  void setAnswer(QMessageBox::StandardButton a) { answer_ = a; }
  QStringList texts() const {
    QStringList out;
    for (const auto& r : requests) out << r.text;
    return out;
  }
  std::vector<ui::MessageRequest> requests;

 private:
  QMessageBox::StandardButton answer_;
};

}  // namespace velaron::test
