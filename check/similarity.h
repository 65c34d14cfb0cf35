// Copied work: programs whose translated code is the same once names,
// layout and comments are taken out of it, and programs that are nearly so.
//
// The p-code already forgets names (variables and procedures are numbers)
// and comments; layout lives only in the line markers, which are dropped,
// and jump targets become distances in instructions, so a blank line moves
// nothing. Globals and procedures are renumbered by their first use, so
// declaring them in another order does not hide a copy either.
#pragma once

#include <string>
#include <vector>

#include "pcode.h"

// The program as a list of instructions, each one text, without what a
// copy can change freely.
std::vector<std::string> NormalisedCode(const TPseudoCode& code);

// How alike two normalised programs are, 0..1: twice the longest common
// subsequence of instructions over the two lengths (1 for equal lists).
// Very long programs are compared by their runs of three instructions.
double Similarity(const std::vector<std::string>& a, const std::vector<std::string>& b);

struct TNearMatch {
  int A = 0, B = 0;  // indexes, A < B
  double Score = 0;
};

struct TSimilarity {
  std::vector<std::vector<int>> Groups;  // two or more programs with the same code, by index
  std::vector<TNearMatch> Near;          // pairs at or above the threshold not in one group, best first
};

// codes[i] empty means program i has no code (it did not translate): it
// joins nothing.
TSimilarity FindSimilar(const std::vector<std::vector<std::string>>& codes, double threshold);
