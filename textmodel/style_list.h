// Character styles of the text control: what color and face each character
// is drawn with. Plain data, no window system: the highlighter and the line
// store hand out style indexes into this list, the widget turns them into
// pens and fonts.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// A color as 0xRRGGBB.
using TColor = std::uint32_t;
constexpr TColor RGBColor(int r, int g, int b) {
  return (TColor(r & 255) << 16) | (TColor(g & 255) << 8) | TColor(b & 255);
}
constexpr int RedOf(TColor c) { return int((c >> 16) & 255); }
constexpr int GreenOf(TColor c) { return int((c >> 8) & 255); }
constexpr int BlueOf(TColor c) { return int(c & 255); }

inline constexpr TColor clBlack = RGBColor(0, 0, 0);
inline constexpr TColor clWhite = RGBColor(255, 255, 255);
inline constexpr TColor clNavy = RGBColor(0, 0, 128);
inline constexpr TColor clBlue = RGBColor(0, 0, 255);
inline constexpr TColor clSilver = RGBColor(192, 192, 192);
inline constexpr TColor clGreen = RGBColor(0, 128, 0);
inline constexpr TColor clRed = RGBColor(255, 0, 0);
inline constexpr TColor clYellow = RGBColor(255, 255, 0);
inline constexpr TColor clFuchsia = RGBColor(255, 0, 255);
inline constexpr TColor clBtnFace = RGBColor(240, 240, 240);

// Font style set: any combination of these bits.
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TCharStyle {
  TColor TextColor = clBlack;
  TColor BkColor = clWhite;
  unsigned Style = 0;
  bool operator==(const TCharStyle&) const = default;
};

// An index outside a list of the control (styles or lines).
class EListError : public std::out_of_range {
 public:
  using std::out_of_range::out_of_range;
};

// The list of styles. Index 0 always exists: black on white, plain.
class TStyleList {
 public:
  TStyleList();
  // Appends a style and returns its index.
  int Add(TColor text, TColor bk, unsigned style);
  int Add(const TCharStyle& s) { return Add(s.TextColor, s.BkColor, s.Style); }
  int Count() const { return int(items_.size()); }
  // The style at index; raises EListError outside the list.
  const TCharStyle& Get(int index) const;
  void Set(int index, const TCharStyle& style);
  void SetTextColor(int index, TColor c);
  void SetBkColor(int index, TColor c);
  void SetStyle(int index, unsigned style);
  // The style at index, or style 0 when index is outside: for painting,
  // where a stale index must never bring the control down.
  const TCharStyle& SafeGet(int index) const;

 private:
  void Check(int index) const;
  std::vector<TCharStyle> items_;
};
