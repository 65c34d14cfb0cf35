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
  // A turn by two billion degrees must not loop for millions of steps, so
  // whole turns go at once; a positive whole number of turns still ends on
  // 360, as turning back one turn at a time would.
  if (std::fabs(v) > 720) {
    const bool positive = v > 0;
    v = std::fmod(v, 360.0);
    if (positive && v == 0) v = 360;
  }
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
