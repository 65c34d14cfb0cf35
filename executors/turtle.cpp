#include "turtle.h"

#include <cmath>

#include "procedure.h"
#include "sprites.h"

const QImage& TTurtle::GetSprite(int& hotX, int& hotY) const {
  hotX = kTurtleHotX;
  hotY = kTurtleHotY;
  return TurtleSprite(Heading);
}

void TTurtle::SetHeading(double v) {
  // fmod first, so that a turn by two billion degrees does not loop for
  // millions of steps; the adjustments below then give the same result as
  // adding or subtracting 360 one turn at a time.
  if (std::fabs(v) > 720) v = std::fmod(v, 360.0);
  while (v < 0) v += 360;
  while (v > 360) v -= 360;
  Heading = v;
}

bool TTurtle::ExecuteOwn(int id, TProcedure& proc) {
  const double h = Heading * M_PI / 180;
  const double d = IntArg(proc, 0);
  switch (id) {
    case pnForward: StepTo(X + d * std::sin(h), Y + d * std::cos(h)); return true;
    case pnBack: StepTo(X - d * std::sin(h), Y - d * std::cos(h)); return true;
    case pnLeft: SetHeading(Heading - d); return true;
    case pnRight: SetHeading(Heading + d); return true;
    case pnHeading: SetHeading(d); return true;
    // вектор belongs to the Drawer.
    case pnVector: return true;
    default: return false;
  }
}
