// Grondo's rules: walking, turning, planting, the sensors and the verdict.
//
// TGrondoRobot works on the shared TGrid and knows nothing of windows or
// threads: whatever must be drawn, shown or waited for goes through a
// TGrondoView. The executor of a run (TMachine) adapts the view to the host;
// tests record it.
#pragma once

#include <string>
#include <string_view>

#include "grid.h"
#include "string_table.h"

// Built-in codes of Grondo's commands and sensors.
enum TGrondoCommandId : int {
  gcForward = 4001, gcBack = 4002, gcLeft = 4003, gcRight = 4004, gcAround = 4005,
  gcPlant = 4006,
  gcWallAhead = 4008, gcWallBehind = 4009, gcWallLeft = 4010, gcWallRight = 4011,
  gcFlowersAhead = 4012, gcFlowersBehind = 4013, gcFlowersLeft = 4014, gcFlowersRight = 4015,
  gcFreeAhead = 4016, gcFreeBehind = 4017, gcFreeLeft = 4018, gcFreeRight = 4019,
  gcOnBed = 4020, gcOnFlowers = 4021, gcOnBase = 4022
};

// Sides relative to Grondo's heading.
enum TGrondoSide : int { gsLeft = 0, gsAhead = 1, gsRight = 2, gsBehind = 3 };

enum TGrondoTurn : int { gtLeft, gtRight, gtAround };

// Cell classes of the commands.
inline constexpr std::string_view kWallSet = "w";
inline constexpr std::string_view kFlowerSet = "Pp";
inline constexpr std::string_view kBlockedSet = "Ppw";
inline constexpr std::string_view kBedSet = "x";
inline constexpr std::string_view kPlantedSet = "p";
inline constexpr std::string_view kBaseSet = "b";

// Animation pauses in milliseconds.
inline constexpr int kWalkStepPause = 200;
inline constexpr int kWalkEndPause = 100;
inline constexpr int kTurnStepPause = 200;

// What the rules ask of the world around them.
class TGrondoView {
 public:
  virtual ~TGrondoView() = default;
  // Cell (x, y) changed (Grondo left or entered it, turned on it, planted).
  virtual void CellChanged(int x, int y) = 0;
  // Show the field as it now is.
  virtual void Repaint() = 0;
  // Wait ms milliseconds of animation.
  virtual void Pause(int ms) = 0;
};

// What CellKind answers.
enum TCellKind : int { ckEnterable = 0, ckOutside = 1, ckWall = 2, ckFlowers = 3 };

class TGrondoRobot {
 public:
  TGrondoRobot(TGrid& grid, TGrondoView& view) : grid_(grid), view_(view) {}

  // True for the ids of the logical sensors (4008..4022).
  static bool IsSensor(int id) { return id >= gcWallAhead && id <= gcOnBase; }
  // True for every id Grondo knows.
  static bool IsCommand(int id) { return (id >= gcForward && id <= gcPlant) || IsSensor(id); }

  // Runs command id with its integer argument n (used by вперед and назад)
  // after checking that a task is loaded and Grondo stands on it; returns a
  // sensor's answer, false for the other commands. An id Grondo does not
  // know does nothing. Failures raise EGrondoException.
  bool Execute(int id, int n = 0);

  // Walks count cells forward (or backward), stopping with an error before a
  // cell that cannot be entered; always repaints and pauses at the end.
  void Walk(bool backward, long long count);
  void Turn(TGrondoTurn kind);
  // Turns the garden bed under Grondo into flowers.
  void Plant();

  // The neighbour on side holds one of set, or lies outside the field.
  bool Probe(TGrondoSide side, std::string_view set) const;
  TCellKind CellKind(int x, int y) const;

 private:
  [[noreturn]] void RaiseError(TStrId message) const;
  void CheckReady() const;
  // The absolute neighbour (0 left, 1 up, 2 right, 3 down on screen) of
  // Grondo's cell on side.
  int Neighbour(TGrondoSide side) const;

  TGrid& grid_;
  TGrondoView& view_;
};

// The end-of-run judgement of a Grondo task.
struct TTaskVerdict {
  bool Solved = false;
  std::string Text;  // the message box text, Windows-1251, lines split by CR LF
};

// Every garden bed planted and, when the task has a base, Grondo on it.
TTaskVerdict TaskVerdict(const TGrid& grid);
