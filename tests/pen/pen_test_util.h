// Helpers of the pen executor tests: a Qt application for the fonts, command
// records as the interpreter fills them, a host that counts repaints and
// pixel probes.
#pragma once

#include <QImage>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "canvas.h"
#include "graph.h"
#include "host.h"
#include "procedure.h"

// Makes sure a QGuiApplication exists (fonts need one).
void EnsureGuiApp();

// A built-in record with id and integer arguments, as the interpreter passes
// it to Execute.
std::unique_ptr<TProcedure> Command(int id, std::initializer_list<int> args = {});

// Runs command id with args on the executor.
void Exec(TGraphGrondo& g, int id, std::initializer_list<int> args = {});

// The message of the executor error command id raises; empty when none.
std::string ErrorOf(TGraphGrondo& g, int id, std::initializer_list<int> args = {});

// A host that counts repaints and remembers the dirty rectangle each saw.
class TRecordingHost : public TNullHost {
 public:
  explicit TRecordingHost(const TCanvas& canvas) : canvas_(canvas) {}
  void RepaintField() override {
    ++Repaints;
    Dirty.push_back(canvas_.DirtyRect);
  }
  int Repaints = 0;
  std::vector<TDirtyRect> Dirty;

 private:
  const TCanvas& canvas_;
};

// Color of a pixel of the canvas as 0x00BBGGRR (-1 off the bitmap).
inline int At(const TCanvas& c, int x, int y) { return c.PixelColor(x, y); }

inline constexpr int kWhite = 0xFFFFFF;
inline constexpr int kBlack = 0x000000;
inline constexpr int kRed = 0x0000FF;

// Number of pixels of color in the rectangle (corners inclusive).
int CountColor(const TCanvas& c, int color, int x1 = 0, int y1 = 0, int x2 = -1, int y2 = -1);

// Where pictures for a look by eye go.
std::string PicturePath(const std::string& name);

// A pen executor of kind TPen on a canvas of the given size and origin,
// reporting to a recording host, with a Qt application for the fonts.
template <class TPen>
class TPenFixture : public ::testing::Test {
 protected:
  TPenFixture(int width, int height, int originX, int originY)
      : canvas(width, height, originX, originY), pen(canvas) {}
  void SetUp() override {
    EnsureGuiApp();
    pen.Host = &host;
  }
  TCanvas canvas;
  TRecordingHost host{canvas};
  TPen pen;
};

