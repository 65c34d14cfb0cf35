// The maze editor's tool bar and the small tool preview that follows the
// mouse over the field.
#pragma once

#include <QImage>
#include <QTimer>
#include <QToolBar>
#include <QWidget>

class QAction;
class QActionGroup;

// The design tool bar: six cell tools (exactly one down), four add and four
// remove buttons for columns and rows, new maze, undo, exit and help.
class TMazeToolBar : public QToolBar {
  Q_OBJECT
 public:
  explicit TMazeToolBar(QWidget* parent = nullptr);

  // The character of the tool that is down, tested in the order base,
  // Grondo ('0'), flower bed, garden bed, wall; '.' when none of these is.
  char ToolChar() const;

  // Puts down tool index (0..5 in the bar's order: empty, wall, garden bed,
  // flower bed, Grondo, base); other indexes are ignored.
  void SelectTool(int index);

  // The cell tools, in the bar's order.
  QAction* DEmptyBtn;
  QAction* DWallBtn;
  QAction* DTargetBtn;
  QAction* DPaintedBtn;
  QAction* DGrondoBtn;
  QAction* DBaseBtn;
  // Add and remove buttons; data() is the side (TLineSide).
  QAction* InsLBtn;
  QAction* InsRBtn;
  QAction* InsTBtn;
  QAction* InsBBtn;
  QAction* DelLBtn;
  QAction* DelRBtn;
  QAction* DelTBtn;
  QAction* DelBBtn;
  QAction* NewMazeBtn;
  QAction* DUndoBtn;
  QAction* DExitBtn;
  QAction* DHelpBtn;

 signals:
  void InsertLineClicked(int side);
  void DeleteLineClicked(int side);
  void ToolChanged();

 private:
  QActionGroup* tools_;
};

// What the preview shows for tool at scale s: the tool's cell picture
// (Grondo facing up on an empty cell for '0', a lone wall for 'w'), framed
// black round the edge and light grey one pixel inside.
QImage ToolPicture(char tool, int s);

// The tool preview: a borderless window one cell large beside the mouse.
// Mouse input passes through it to the field underneath.
class TCurForm : public QWidget {
  Q_OBJECT
 public:
  // field: the widget outside which the preview hides itself.
  explicit TCurForm(QWidget* field);

  // Shows tool's picture at scale max(s, 2), 5 pixels right of and below the
  // mouse at globalPos.
  void ShowFor(char tool, int s, QPoint globalPos);
  const QImage& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void HideOutsideField();

  QWidget* field_;
  QImage picture_;
  QTimer timer_;
};
