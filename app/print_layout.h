// Printing the program text: pages with a header (page number, "Программа"
// and the program's name, a rule) and the lines in the editor's font, a new
// page when the text reaches 26 cm. Drawn with QPainter on any paint device
// (a printer, a PDF writer, the print preview).
#pragma once

#include <QFont>
#include <QString>
#include <string>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

class TProgramPrint {
 public:
  // lines are Windows-1251; font is the editor's (a pixel-sized font is
  // printed at the same size in points as on a 96 pixels-per-inch screen).
  TProgramPrint(std::vector<std::string> lines, const QFont& font, QString programName);

  // Sets A4 portrait and the margins: left 25 mm, top 15 mm, right 10 mm.
  static void SetupPage(QPagedPaintDevice& device);

  // Splits the lines into pages for device's resolution; at least one page.
  int Paginate(QPagedPaintDevice& device);
  int PageCount() const { return int(pageStarts_.size()); }
  // The page (0-based) each line falls on after Paginate.
  int PageOfLine(int line) const;

  // Draws page (0-based) with painter, whose origin is the margin corner.
  void DrawPage(QPainter& painter, int page) const;
  // Paginates and draws every page, with a page break between pages.
  bool Print(QPagedPaintDevice& device);

 private:
  QFont PrintFont() const;
  std::vector<QString> lines_;
  QFont font_;
  QString name_;
  std::vector<int> pageStarts_{0};
  double dotsPerCm_ = 0;
};

// The print command: Qt's print preview dialog for the program; printing
// from it prints every page.
void ShowPrintPreview(QWidget* parent, const std::vector<std::string>& lines, const QFont& font,
                      const QString& programName);

// Writes the printed pages to a PDF file (no printer needed).
bool PrintToPdf(const QString& path, const std::vector<std::string>& lines, const QFont& font,
                const QString& programName);
