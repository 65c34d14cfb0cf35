// The field of the drawing runner: the executors, their canvas, the fonts
// and the pictures.
#include <QBuffer>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>

#include "canvas.h"
#include "field.h"
#include "graph.h"
#include "machine_grondo.h"
#include "maze_file.h"
#include "options.h"
#include "runfield.h"

static_assert(kMaxFieldSide == kMaxCanvasSide);

namespace {

// 96 dots per inch, as Qt rounds it; what a picture made on the offscreen
// platform always said.
constexpr int kDotsPerMeter = 3780;

void Mark(QImage& picture) {
  picture.setDotsPerMeterX(kDotsPerMeter);
  picture.setDotsPerMeterY(kDotsPerMeter);
}

// The program writes text on the field, whose fonts need a QGuiApplication.
bool WritesText(const TPseudoCode& code) {
  for (int i = 0; i < code.CallRecordCount(); ++i) {
    const TDatum* call = code.CallRecord(i);
    if (call && call->Kind == dkSysCall && call->IntValue >= 0 && call->IntValue < code.SysProcs.Count() &&
        code.SysProcs[call->IntValue].Id == pcTextOut)
      return true;
  }
  return false;
}

QtMessageHandler gQtMessages = nullptr;

// Scripts read standard error; Qt's remarks about the platform (a missing
// runtime folder, say) would come before the report on every run, so only
// its real failures get through.
void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if ((type == QtCriticalMsg || type == QtFatalMsg) && gQtMessages) gQtMessages(type, context, text);
}

// Fonts need an application object. Its start (the platform, the font
// configuration) costs more than the run of most pupils' programs, so only
// a program that writes text gets one. The runner never shows a window,
// so it asks for the platform that needs no display unless told otherwise.
std::unique_ptr<QGuiApplication> MakeApplication() {
  static int argc = 1;
  static char name[] = "tarmisy-run";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  gQtMessages = qInstallMessageHandler(OnQtMessage);
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

// Lines, figures, fills and pictures need no application object; only text
// does. The application comes first, so that it outlives the canvas and
// its fonts.
struct TRunField::TDrawing {
  std::unique_ptr<QGuiApplication> application;
  std::unique_ptr<TCanvas> canvas;
};

const bool TRunField::kDraws = true;

void TRunField::TDrawingDeleter::operator()(TDrawing* drawing) const { delete drawing; }

void TRunField::Prepare(const TPseudoCode& code) {
  if (!drawing_) drawing_.reset(new TDrawing);
  if (!drawing_->application && WritesText(code)) drawing_->application = MakeApplication();
  if (code.UsesExecutor) Canvas();
}

TCanvas& TRunField::Canvas() {
  if (!drawing_) drawing_.reset(new TDrawing);
  if (!drawing_->canvas) {
    drawing_->canvas = std::make_unique<TCanvas>(width_, height_, originX_, originY_);
    // A bitmap made before any application object would say 100: text is
    // laid out for the bitmap's resolution.
    Mark(drawing_->canvas->Bitmap());
  }
  return *drawing_->canvas;
}

TExecutorFactory TRunField::Factory() {
  return [this](int kind) -> std::unique_ptr<TGenericGrondo> {
    if (kind == ekGrondo) {
      grid_.Restore();
      // No field object: the cells are drawn from the grid when the picture
      // is written, which is all a run without a window ever shows.
      return std::make_unique<TMachine>(grid_, nullptr);
    }
    if (!drawing_ || !drawing_->canvas) return nullptr;
    return MakePenExecutor(kind, *drawing_->canvas);
  };
}

bool TRunField::SavePicture(int scale, const std::string& path) {
  QImage picture;
  if (kind_ == ekGrondo) {
    picture = RenderField(grid_, scale);
  } else {
    // A program that never drew has the white canvas it started with.
    const QImage& bitmap = Canvas().Bitmap();
    const TFieldPaint plan = ComputeFieldPaint(bitmap.size(), false, scale, false, 0, 0, 0, 0);
    picture = QImage(plan.PaneSize, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    PaintField(p, bitmap, plan);
  }
  Mark(picture);
  // PNG is built into Qt; without this the writer first opens every image
  // format plugin installed (SVG brings its own library), which costs more
  // than drawing the picture.
  QCoreApplication::setLibraryPaths({});
  QByteArray png;
  QBuffer buffer(&png);
  if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) return false;
  try {
    WriteFileSafely(path, std::string_view(png.constData(), static_cast<size_t>(png.size())));
  } catch (const EMazeFileError&) {
    return false;
  }
  return true;
}
