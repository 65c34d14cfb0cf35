// The program's own glyphs for tool-bar buttons and menu items, drawn by our
// code so that they stay crisp at any device pixel ratio.
#pragma once

#include <QIcon>
#include <string_view>

// The glyph of a button or item by its component name ("NewBtn", "RunBtn",
// "GrondoBtn", ...); an empty icon for a name without a glyph.
QIcon Glyph(std::string_view name);

// The program's icon (window, task bar, desktop entry).
QIcon AppIcon();
