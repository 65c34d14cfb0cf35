// The Drawer: a pen executor that moves to points and by vectors.
#pragma once

#include "graph.h"

class TDrawer : public TGraphGrondo {
 public:
  // A Drawer at (0, 0), hidden, pen raised.
  explicit TDrawer(TCanvas& canvas) : TGraphGrondo(canvas) {}

  int Kind() const override { return ekDrawer; }
  // The man with the pencil lowered or raised, as the pen is; hot spot at
  // the pencil's tip.
  const QImage& GetSprite(int& hotX, int& hotY) const override;

 protected:
  bool ExecuteOwn(int id, TProcedure& proc) override;

 private:
  void SetPen(bool down);
};
