#pragma once

#include <QWidget>
#include <functional>

class QPushButton;

namespace qm::ui {

// The note-mode window: one button that turns the main window into the note
// strip. Created hidden at start-up and kept until the program ends.
class TfrmMode : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmMode(QWidget* parent = nullptr);

  // The main window's SetMode, run by "Set Note Mode".
  void setNoteModeHandler(std::function<void()> setMode) { setMode_ = std::move(setMode); }

  // Set Note Mode: runs SetMode, then hides this window. When SetMode raises,
  // the window stays shown.
  void Button1Click(QObject* Sender);

  QPushButton* Button1 = nullptr;

 private:
  std::function<void()> setMode_;
};

}  // namespace qm::ui
