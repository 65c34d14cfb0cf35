// The pictures of the pen executors, drawn by our own code.
//
// Each picture's background is the color of its bottom-left pixel, which
// transparent drawing leaves out (TCanvas::DrawTransparent).
#pragma once

#include <QImage>

#include <array>

// Hot spot of the turtle pictures: the pixel placed on the position.
inline constexpr int kTurtleHotX = 9;
inline constexpr int kTurtleHotY = 9;
// Hot spot of both Drawer pictures: the pencil's tip when it is lowered.
inline constexpr int kDrawerHotX = 20;
inline constexpr int kDrawerHotY = 17;

// The 16 turtle pictures, 18 x 18 on white, for headings 0, 22.5, ..., 337.5
// degrees clockwise from up: a dark red turtle with a yellow shell seen from
// above, head towards the heading. Built once, on first use.
const std::array<QImage, 16>& TurtleSprites();

// The turtle picture for a heading in degrees: entry Round(heading / 22.5)
// mod 16.
const QImage& TurtleSprite(double heading);

// The Drawer, 21 x 20 on light grey: a man in a black hat with a yellow
// pencil, lying along the bottom edge with its tip at the hot spot when the
// pen is lowered and held upright when it is raised.
const QImage& DrawerSprite(bool penDown);

// A picture turned 90 degrees clockwise: pixel (i, j) of the W x H source's
// H x W result is source pixel (j, H - 1 - i).
QImage TurnClockwise(const QImage& src);

// A picture turned 180 degrees.
QImage TurnHalf(const QImage& src);
