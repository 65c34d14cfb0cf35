// Value hints: the value of the variable whose name is under the mouse in
// the editor while a run is paused.
#pragma once

#include <QWidget>
#include <string>

#include "host.h"

// The word of line (Windows-1251) around the 0-based column; empty when the
// column is outside the line or on a word delimiter.
std::string WordAt(const std::string& line, int column);

// The hint text (Windows-1251) for word hovered on editor line hintLine, or
// empty when no variable of that name is in sight there: the kind, CR LF,
// the name with its dimensions, " = " and the value, cut after 200
// characters with " ...".
std::string ValueHintText(const TPauseView& view, int hintLine, const std::string& word);

// A small borderless note in light yellow with a navy frame.
class TVarHintForm : public QWidget {
  Q_OBJECT
 public:
  explicit TVarHintForm(QWidget* parent = nullptr);
  // Shows text with the window's left edge at x and its bottom at y (screen
  // coordinates), its top kept at 30 or below.
  void ShowAt(int x, int y, const QString& text);
  QString Text() const { return text_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Where the text goes inside a window of height h.
  QRect TextRect(int h) const;

  QString text_;
};
