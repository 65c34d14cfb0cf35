#include "drawer.h"

#include "procedure.h"
#include "sprites.h"

const QImage& TDrawer::GetSprite(int& hotX, int& hotY) const {
  hotX = kDrawerHotX;
  hotY = kDrawerHotY;
  return DrawerSprite(PenDown);
}

// The picture shows the pencil's position, so a shown Drawer is redrawn at
// once.
void TDrawer::SetPen(bool down) {
  PenDown = down;
  if (!Shown) return;
  {
    Busy = true;
    struct TReset {
      bool& busy;
      ~TReset() { busy = false; }
    } reset{Busy};
    HideSprite();
    ShowSprite();
  }
  RequestRepaint();
}

bool TDrawer::ExecuteOwn(int id, TProcedure& proc) {
  switch (id) {
    case pnVector: StepTo(X + IntArg(proc, 0), Y + IntArg(proc, 1)); return true;
    case pnPenUp: SetPen(false); return true;
    case pnPenDown: SetPen(true); return true;
    // The Turtle's own commands and 2012..2014 mean nothing here.
    case pnForward: case pnBack: case pnLeft: case pnRight: case pnHeading: return true;
    default: return false;
  }
}
