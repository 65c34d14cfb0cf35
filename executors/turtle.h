// The Turtle: a pen executor that moves by heading and distance.
#pragma once

#include "graph.h"

class TTurtle : public TGraphGrondo {
 public:
  // A Turtle at (0, 0) heading up, hidden, pen raised.
  explicit TTurtle(TCanvas& canvas) : TGraphGrondo(canvas) {}

  int Kind() const override { return ekTurtle; }
  // The picture for the heading (sixteen steps of 22.5 degrees); hot spot
  // at its centre.
  const QImage& GetSprite(int& hotX, int& hotY) const override;

  // Heading := v, brought into 0..360 (360 itself stays). The sprite turns
  // at the next move or show.
  void SetHeading(double v);

  // Degrees clockwise from up: 0 up, 90 right.
  double Heading = 0;

 protected:
  bool ExecuteOwn(int id, TProcedure& proc) override;
};
