#include "graph.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "drawer.h"
#include "host.h"
#include "procedure.h"
#include "string_table.h"
#include "turtle.h"

namespace {

// Resets Busy when a drawing step ends, also by an exception.
struct TBusyScope {
  explicit TBusyScope(bool& busy) : busy_(busy) { busy_ = true; }
  ~TBusyScope() { busy_ = false; }
  bool& busy_;
};

// Empties the dirty rectangle before a command and after it, also when it
// fails: a failed move has already repainted its block, and a rectangle left
// behind would make the next run's first repaint copy only that block.
struct TDirtyScope {
  explicit TDirtyScope(TDirtyRect& dirty) : dirty_(dirty) { dirty_.Clear(); }
  ~TDirtyScope() { dirty_.Clear(); }
  TDirtyRect& dirty_;
};

}  // namespace

TGraphGrondo::TGraphGrondo(TCanvas& canvas) : Canvas(canvas) {}

TGraphGrondo::~TGraphGrondo() = default;

bool TGraphGrondo::InField(int x, int y) const { return Canvas.InField(x, y); }

void TGraphGrondo::OnMain(const std::function<void()>& fn) {
  if (Host)
    Host->RunOnMain(fn);
  else
    fn();
}

int TGraphGrondo::IntArg(const TProcedure& proc, int i) {
  return i < proc.Vars.Count() ? proc.Vars[i].IntValue : 0;
}

void TGraphGrondo::Execute(TProcedure& proc) {
  TDirtyScope dirty(Canvas.DirtyRect);
  const int id = proc.Id;
  if (!ExecuteOwn(id, proc)) {
    switch (id) {
      case pnHome: StepTo(0, 0); break;
      case pnHide: SetShown(false); break;
      case pnShow: SetShown(true); break;
      case pnMoveToPoint: StepTo(IntArg(proc, 0), IntArg(proc, 1)); break;
      case pnPenUp: PenDown = false; break;
      case pnPenDown: PenDown = true; break;
      case pnFill: FloodAt(PaletteColor(IntArg(proc, 0))); break;
      case pnFillRGB: FloodAt(MakeRGB(IntArg(proc, 0), IntArg(proc, 1), IntArg(proc, 2))); break;
      case pnColor: PenColor = PaletteColor(IntArg(proc, 0)); break;
      // Checked like RGB: a component of 255 is full intensity, not 0.
      case pnColorRGB: PenColor = MakeRGB(IntArg(proc, 0), IntArg(proc, 1), IntArg(proc, 2)); break;
      case pnCircle: DrawCircle(IntArg(proc, 0)); break;
      default: break;
    }
  }
}

void TGraphGrondo::StepTo(double newX, double newY) {
  bool failed = false;
  if (!Canvas.InField(RoundEven(newX), RoundEven(newY))) {
    failed = true;
    const double ax = X, ay = Y;
    const double len = std::hypot(newX - ax, newY - ay);
    double lo = 0, hi = len;
    double px = ax, py = ay;
    // Bisection on the distance from the start, down to a hundredth of a
    // step: the last point tried is where the executor stops.
    while (std::fabs(lo - hi) > 0.01) {
      const double t = (lo + hi) / 2;
      px = ax + t * (newX - ax) / len;
      py = ay + t * (newY - ay) / len;
      if (Canvas.InField(RoundEven(px), RoundEven(py)))
        lo = t;
      else
        hi = t;
    }
    newX = px;
    newY = py;
  }
  {
    TBusyScope busy(Busy);
    if (Shown) HideSprite();
    if (PenDown) {
      const int x1 = Canvas.PixelX(X), y1 = Canvas.PixelY(Y);
      const int x2 = Canvas.PixelX(newX), y2 = Canvas.PixelY(newY);
      OnMain([&] {
        Canvas.SetPenColor(PenColor);
        Canvas.MoveTo(x1, y1);
        Canvas.LineTo(x2, y2);
      });
      const int m = PenMargin();
      Canvas.DirtyRect.Widen(std::min(x1, x2) - m, std::min(y1, y2) - m, std::max(x1, x2) + m,
                             std::max(y1, y2) + m);
    }
    X = newX;
    Y = newY;
  }
  if (Shown)
    ShowSprite();
  else if (PenDown)
    RequestRepaint();
  if (failed) RaiseError(Str(sPenCannotGoFurther));
}

// A wide pen paints beyond the end points of its path; the dirty rectangle
// must take that in, or the edges of a thick line would reach the screen
// only with the next whole repaint.
int TGraphGrondo::PenMargin() const {
  const int w = std::clamp(Canvas.PenWidth(), 1, 10000);
  return w > 1 ? w / 2 + 1 : 0;
}

void TGraphGrondo::SetShown(bool shown) {
  if (shown == Shown) return;
  Shown = shown;
  if (shown)
    ShowSprite();
  else
    HideSprite();
}

void TGraphGrondo::SpriteDirty(int left, int top) {
  Canvas.DirtyRect.Widen(left - 10, top - 10, left + 30, top + 30);
}

void TGraphGrondo::ShowSprite() {
  if (Drawn) RaiseError(Str(sPenAlreadyShown));
  const QImage& sprite = GetSprite(hotX_, hotY_);
  spriteLeft_ = Canvas.PixelX(X) - hotX_;
  spriteTop_ = Canvas.PixelY(Y) - hotY_;
  SpriteDirty(spriteLeft_, spriteTop_);
  OnMain([&] {
    background_ = Canvas.SaveBlock(spriteLeft_, spriteTop_, sprite.width(), sprite.height());
    Canvas.DrawTransparent(sprite, spriteLeft_, spriteTop_);
  });
  RequestRepaint();
  Drawn = true;
}

void TGraphGrondo::HideSprite() {
  if (!Drawn) RaiseError(Str(sPenAlreadyHidden));
  SpriteDirty(spriteLeft_, spriteTop_);
  OnMain([&] { Canvas.RestoreBlock(background_, spriteLeft_, spriteTop_); });
  RequestRepaint();
  Drawn = false;
}

void TGraphGrondo::DrawCircle(int r) {
  {
    TBusyScope busy(Busy);
    if (Shown) HideSprite();
    if (PenDown) {
      const int cx = Canvas.PixelX(X), cy = Canvas.PixelY(Y);
      OnMain([&] {
        Canvas.SetPenColor(PenColor);
        Canvas.Circle(cx, cy, r);
      });
      const long long R = std::llabs(static_cast<long long>(r)) + PenMargin();
      auto clampInt = [](long long v) { return static_cast<int>(std::clamp<long long>(v, INT32_MIN, INT32_MAX)); };
      Canvas.DirtyRect.Widen(clampInt(cx - R), clampInt(cy - R), clampInt(cx + R), clampInt(cy + R));
    }
  }
  if (Shown)
    ShowSprite();
  else if (PenDown)
    RequestRepaint();
}

void TGraphGrondo::FloodAt(int color) {
  {
    TBusyScope busy(Busy);
    if (Shown) HideSprite();
    if (PenDown) {
      const int px = Canvas.PixelX(X), py = Canvas.PixelY(Y);
      OnMain([&] {
        Canvas.SetBrushColor(color);
        Canvas.Fill(px, py);
      });
      Canvas.DirtyRect = {0, 0, Canvas.CanvasWidth() - 1, Canvas.CanvasHeight() - 1};
    }
  }
  if (Shown)
    ShowSprite();
  else if (PenDown)
    RequestRepaint();
}

void TGraphGrondo::ClearCanvas() {
  OnMain([&] {
    Canvas.ClearCanvas();
    // The saved pixels belong to the wiped picture: a sprite that stays
    // shown now stands on white, or hiding it would bring old lines back.
    if (Drawn) {
      background_.fill(Qt::white);
      Canvas.DrawTransparent(GetSprite(hotX_, hotY_), spriteLeft_, spriteTop_);
    }
  });
}

void TGraphGrondo::Framed(bool busy, const std::function<void()>& draw) {
  auto hideAndDraw = [&] {
    if (Shown) HideSprite();
    OnMain(draw);
  };
  if (busy) {
    TBusyScope scope(Busy);
    hideAndDraw();
  } else {
    hideAndDraw();
  }
  // The drawing may lie anywhere: the repaint copies the whole canvas, not
  // just the sprite's corner that hiding and showing mark.
  Canvas.DirtyRect = {0, 0, Canvas.CanvasWidth() - 1, Canvas.CanvasHeight() - 1};
  if (Shown)
    ShowSprite();
  else
    RequestRepaint();
}

void TGraphGrondo::Plot(int code, const TPlotArgs& a) {
  TDirtyScope dirty(Canvas.DirtyRect);
  PlotCommand(code, a);
}

void TGraphGrondo::PlotCommand(int code, const TPlotArgs& a) {
  const int* n = a.Int;
  switch (code) {
    case pcMoveTo: OnMain([&] { Canvas.MoveTo(n[0], n[1]); }); break;
    case pcLineTo: Framed(false, [&] { Canvas.LineTo(n[0], n[1]); }); break;
    case pcLine:
      Framed(true, [&] {
        Canvas.MoveTo(n[0], n[1]);
        Canvas.LineTo(n[2], n[3]);
      });
      break;
    case pcRectangle: Framed(true, [&] { Canvas.Rectangle(n[0], n[1], n[2], n[3]); }); break;
    case pcEllipse: Framed(true, [&] { Canvas.Ellipse(n[0], n[1], n[2], n[3]); }); break;
    case pcArc:
      Framed(true, [&] { Canvas.ArcByAngles(n[0], n[1], n[2], n[3], a.Real[0], a.Real[1]); });
      break;
    case pcPen:
      PenColor = n[0];
      OnMain([&] { Canvas.SetPen(n[0], n[1], n[2]); });
      break;
    case pcBrush: OnMain([&] { Canvas.SetBrush(n[0], n[1]); }); break;
    case pcFont: OnMain([&] { Canvas.SetFont(a.Text, n[0], n[1]); }); break;
    case pcTextColor: OnMain([&] { Canvas.SetTextColor(n[0]); }); break;
    case pcTextAngle: OnMain([&] { Canvas.SetTextAngle(n[0]); }); break;
    case pcTextOut: Framed(true, [&] { Canvas.TextOut(n[0], n[1], a.Text); }); break;
    case pcFill: Framed(true, [&] { Canvas.Fill(n[0], n[1]); }); break;
    case pcFillTo: Framed(true, [&] { Canvas.FillTo(n[0], n[1], n[2]); }); break;
    case pcPoint: Framed(true, [&] { Canvas.Point(n[0], n[1]); }); break;
    default: break;
  }
}

std::unique_ptr<TGraphGrondo> MakePenExecutor(int kind, TCanvas& canvas) {
  if (kind == ekTurtle) return std::make_unique<TTurtle>(canvas);
  if (kind == ekDrawer) return std::make_unique<TDrawer>(canvas);
  return nullptr;
}
