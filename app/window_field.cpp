#include "window_field.h"

#include <QPaintEvent>
#include <QPainter>

#include "canvas.h"
#include "field.h"
#include "graph.h"
#include "grid_robot.h"
#include "machine_grondo.h"
#include "maze_file.h"

TWindowField::TWindowField(TCanvasGeometry geometry)
    : geometry_(geometry),
      canvas_(std::make_unique<TCanvas>(geometry.Width, geometry.Height, geometry.OriginX, geometry.OriginY)),
      grondo_(std::make_unique<TGrondoField>(grid_, bitmap_)) {
  canvas_->Bind(&bitmap_);
  SizeCanvas();
}

TWindowField::~TWindowField() = default;

void TWindowField::SizeCanvas() {
  // The canvas resizes the bitmap it is bound to only when the size differs.
  canvas_->SetGeometry(geometry_.Width, geometry_.Height, geometry_.OriginX, geometry_.OriginY);
  if (bitmap_.size() != QSize(geometry_.Width, geometry_.Height)) {
    bitmap_ = QImage(geometry_.Width, geometry_.Height, QImage::Format_RGB32);
  }
  bitmap_.fill(Qt::white);
}

void TWindowField::SetGeometry(TCanvasGeometry geometry) {
  geometry_ = geometry;
  if (kind_ == ekGrondo) return;
  const QImage before = bitmap_;
  canvas_->SetGeometry(geometry_.Width, geometry_.Height, geometry_.OriginX, geometry_.OriginY);
  if (bitmap_.size() == before.size()) return;
  QPainter p(&bitmap_);
  p.drawImage(0, 0, before);
}

void TWindowField::SwitchTo(int kind, QSize box) {
  kind_ = kind;
  if (kind == ekGrondo) {
    grondo_->ScaleIndex = scale_;
    grondo_->DrawField(-1, 0, 0, 0, true, false, box);
    scale_ = grondo_->ScaleIndex;
  } else {
    SizeCanvas();
  }
}

void TWindowField::SetScale(int index) {
  scale_ = std::clamp(index, 0, 5);
  if (kind_ == ekGrondo) {
    grondo_->ScaleIndex = scale_;
    grondo_->DrawField(-1, 0, 0, 0, false, false);
  }
}

void TWindowField::LoadTask(const std::string& fileName, QSize box) {
  LoadMaze(grid_, fileName);
  Restore(true, box);
}

void TWindowField::Restore(bool autoScale, QSize box) {
  grondo_->ScaleIndex = scale_;
  grondo_->DrawField(-1, 0, 0, 0, true, autoScale, box);
  scale_ = grondo_->ScaleIndex;
}

void TWindowField::ResetForRun() {
  if (kind_ == ekGrondo) Restore(false, QSize());
}

void TWindowField::ClearCanvas() {
  if (kind_ != ekGrondo) canvas_->ClearCanvas();
}

TExecutorFactory TWindowField::Factory() {
  return [this](int kind) -> std::unique_ptr<TGenericGrondo> {
    if (kind == ekGrondo) return std::make_unique<TMachine>(grid_, grondo_.get());
    return MakePenExecutor(kind, *canvas_);
  };
}

bool TWindowField::Verdict(std::string& text) const {
  const TTaskVerdict verdict = TaskVerdict(grid_);
  text = verdict.Text;
  return verdict.Solved;
}

QRect TWindowField::DirtyPaneRect() const {
  if (kind_ == ekGrondo) return {};
  const TDirtyRect& d = canvas_->DirtyRect;
  if (d.IsEmpty()) return {};
  return ComputeFieldPaint(bitmap_.size(), false, scale_, true, d.Left, d.Top, d.Right, d.Bottom).Target;
}

QSize TWindowField::PaneSize() const {
  return ComputeFieldPaint(bitmap_.size(), kind_ == ekGrondo, scale_, false, 0, 0, 0, 0).PaneSize;
}

void TWindowField::Paint(QPainter& p, const QRect&) const {
  // Nearest-pixel stretching keeps the cells and lines sharp, also at a
  // device pixel ratio of 2.
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  PaintField(p, bitmap_, ComputeFieldPaint(bitmap_.size(), kind_ == ekGrondo, scale_, false, 0, 0, 0, 0));
}

namespace {

class TFieldBox : public QWidget {
 public:
  TFieldBox(TWindowField& field, QWidget* parent) : QWidget(parent), field_(field) {
    setObjectName(QStringLiteral("Field"));
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter p(this);
    field_.Paint(p, event->rect());
  }

 private:
  TWindowField& field_;
};

}  // namespace

TFieldPane::TFieldPane(TWindowField& field, QWidget* parent)
    : QScrollArea(parent), field_(field), box_(new TFieldBox(field, this)) {
  setObjectName(QStringLiteral("ScrollBox1"));
  setWidget(box_);
  setWidgetResizable(false);
  setBackgroundRole(QPalette::Dark);
  Refresh();
}

void TFieldPane::Refresh(bool partial) {
  const QSize size = field_.PaneSize();
  if (box_->size() != size) {
    box_->resize(size);
    partial = false;
  }
  const QRect dirty = partial ? field_.DirtyPaneRect() : QRect();
  if (dirty.isValid())
    box_->update(dirty);
  else
    box_->update();
}
