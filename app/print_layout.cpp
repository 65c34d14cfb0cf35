#include "print_layout.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>

#include "file_man.h"
#include "qtext.h"

namespace {

// The layout in centimetres from the top-left margin corner.
constexpr double kPageNumberY = -0.5;
constexpr double kTitleY = 0.5;
constexpr double kTitleRight = 17;
constexpr double kRuleY = 1;
constexpr double kFirstLineY = 1.5;
constexpr double kPageEndY = 26;

QFont HeaderFont() {
  QFont f;
  f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("sans-serif")});
  f.setPointSize(10);
  f.setItalic(true);
  return f;
}

double DotsPerCm(const QPaintDevice& device) { return device.logicalDpiY() / 2.54; }

}  // namespace

TProgramPrint::TProgramPrint(std::vector<std::string> lines, const QFont& font, QString programName)
    : font_(font), name_(std::move(programName)) {
  lines_.reserve(lines.size());
  for (const std::string& l : lines) lines_.push_back(FromCp1251(l));
}

void TProgramPrint::SetupPage(QPagedPaintDevice& device) {
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(25, 15, 10, 10),
                                   QPageLayout::Millimeter));
}

QFont TProgramPrint::PrintFont() const {
  QFont f = font_;
  // A font sized in screen pixels would come out a few printer dots high.
  if (f.pixelSize() > 0) f.setPointSizeF(f.pixelSize() * 72.0 / 96.0);
  return f;
}

int TProgramPrint::Paginate(QPagedPaintDevice& device) {
  dotsPerCm_ = DotsPerCm(device);
  pageStarts_.assign(1, 0);
  const double lineHeight = QFontMetricsF(PrintFont(), &device).height();
  double y = kFirstLineY * dotsPerCm_;
  for (int i = 0; i < int(lines_.size()); ++i) {
    y += lineHeight;
    if (y >= kPageEndY * dotsPerCm_ && i + 1 < int(lines_.size())) {
      pageStarts_.push_back(i + 1);
      y = kFirstLineY * dotsPerCm_;
    }
  }
  return PageCount();
}

int TProgramPrint::PageOfLine(int line) const {
  return int(std::upper_bound(pageStarts_.begin(), pageStarts_.end(), line) - pageStarts_.begin()) - 1;
}

void TProgramPrint::DrawPage(QPainter& p, int page) const {
  const double cm = dotsPerCm_;
  const double right = p.device()->width();
  p.save();
  p.setPen(Qt::black);
  const QFont header = HeaderFont();
  p.setFont(header);
  const QFontMetricsF hm(header, p.device());
  const QString number = QString::number(page + 1);
  p.drawText(QPointF(right - hm.horizontalAdvance(number), kPageNumberY * cm + hm.ascent()), number);
  const QString title = FilesText(sPrintHeader, {name_});
  p.drawText(QPointF(kTitleRight * cm - hm.horizontalAdvance(title), kTitleY * cm + hm.ascent()), title);
  p.setPen(QPen(Qt::black, std::max(1.0, 0.02 * cm)));
  p.drawLine(QPointF(0, kRuleY * cm), QPointF(kTitleRight * cm, kRuleY * cm));

  const QFont text = PrintFont();
  p.setFont(text);
  p.setPen(Qt::black);
  const QFontMetricsF tm(text, p.device());
  const int first = pageStarts_[size_t(page)];
  const int end = page + 1 < PageCount() ? pageStarts_[size_t(page + 1)] : int(lines_.size());
  double y = kFirstLineY * cm;
  for (int i = first; i < end; ++i) {
    p.drawText(QPointF(0, y + tm.ascent()), lines_[size_t(i)]);
    y += tm.height();
  }
  p.restore();
}

bool TProgramPrint::Print(QPagedPaintDevice& device) {
  Paginate(device);
  QPainter painter;
  if (!painter.begin(&device)) return false;
  for (int page = 0; page < PageCount(); ++page) {
    if (page > 0) device.newPage();
    DrawPage(painter, page);
  }
  return painter.end();
}

void ShowPrintPreview(QWidget* parent, const std::vector<std::string>& lines, const QFont& font,
                      const QString& programName) {
  QPrinter printer(QPrinter::HighResolution);
  TProgramPrint::SetupPage(printer);
  TProgramPrint print(lines, font, programName);
  QPrintPreviewDialog preview(&printer, parent);
  preview.setWindowTitle(FilesText(sPrintTitle));
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&print](QPrinter* target) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    target->setPageOrientation(QPageLayout::Portrait);
    print.Print(*target);
    QApplication::restoreOverrideCursor();
  });
  preview.exec();
}

bool PrintToPdf(const QString& path, const std::vector<std::string>& lines, const QFont& font,
                const QString& programName) {
  QPdfWriter pdf(path);
  pdf.setResolution(300);
  pdf.setTitle(FilesText(sPrintHeader, {programName}));
  TProgramPrint::SetupPage(pdf);
  TProgramPrint print(lines, font, programName);
  return print.Print(pdf);
}
