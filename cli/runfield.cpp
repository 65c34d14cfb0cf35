#include "runfield.h"

#include <QPainter>

#include "field.h"
#include "graph.h"
#include "grid_robot.h"
#include "machine_grondo.h"
#include "maze_file.h"

namespace {

// 96 dots per inch, as Qt rounds it.
constexpr int kDotsPerMeter = 3780;

void Mark(QImage& picture) {
  picture.setDotsPerMeterX(kDotsPerMeter);
  picture.setDotsPerMeterY(kDotsPerMeter);
}

}  // namespace

TRunField::TRunField(int kind, int width, int height, int originX, int originY, const std::string& taskFile)
    : kind_(kind), width_(width), height_(height), originX_(originX), originY_(originY) {
  if (kind != ekGrondo) return;
  if (taskFile.empty())
    grid_.Restore();
  else
    LoadMaze(grid_, taskFile);
}

void TRunField::MakeCanvas() {
  if (canvas_ || kind_ == ekGrondo) return;
  canvas_ = std::make_unique<TCanvas>(width_, height_, originX_, originY_);
  // A bitmap made before any application object would say 100: text is
  // laid out for the bitmap's resolution.
  Mark(canvas_->Bitmap());
}

void TRunField::Prepare(const TPseudoCode& code) {
  if (code.UsesExecutor) MakeCanvas();
}

TExecutorFactory TRunField::Factory() {
  return [this](int kind) -> std::unique_ptr<TGenericGrondo> {
    if (kind == ekGrondo) {
      grid_.Restore();
      // No field object: the cells are drawn from the grid when the picture
      // is written, which is all a run without a window ever shows.
      return std::make_unique<TMachine>(grid_, nullptr);
    }
    if (!canvas_) return nullptr;
    return MakePenExecutor(kind, *canvas_);
  };
}

bool TRunField::Verdict(std::string& text) const {
  const TTaskVerdict verdict = TaskVerdict(grid_);
  text.clear();
  for (const char c : verdict.Text)
    if (c != '\r') text += c;
  return verdict.Solved;
}

QImage TRunField::Picture(int scale) {
  if (kind_ == ekGrondo) {
    QImage cells = RenderField(grid_, scale);
    Mark(cells);
    return cells;
  }
  MakeCanvas();
  const QImage& bitmap = canvas_->Bitmap();
  const TFieldPaint plan = ComputeFieldPaint(bitmap.size(), false, scale, false, 0, 0, 0, 0);
  QImage pane(plan.PaneSize, QImage::Format_RGB32);
  pane.fill(Qt::white);
  {
    QPainter p(&pane);
    PaintField(p, bitmap, plan);
  }
  Mark(pane);
  return pane;
}

bool TRunField::WritesText(const TPseudoCode& code) {
  for (int i = 0; i < code.CallRecordCount(); ++i) {
    const TDatum* call = code.CallRecord(i);
    if (call && call->Kind == dkSysCall && call->IntValue >= 0 && call->IntValue < code.SysProcs.Count() &&
        code.SysProcs[call->IntValue].Id == pcTextOut)
      return true;
  }
  return false;
}
