// The program's own glyphs for tool-bar buttons and menu items, drawn by our
// code so that they stay crisp at any device pixel ratio.
#pragma once

#include <QIcon>
#include <QStringList>
#include <string_view>

// The glyph of a button or item by its component name ("NewBtn", "RunBtn",
// "GrondoBtn", ...); an empty icon for a name without a glyph. Menu items
// with a tool-button twin use the button's name; the others have their own
// ("FontMI", "HelpMI", "OperatorsMI", "FunctionsMI", "WhatsThisMI",
// "DesignMI", "ParamMI", "StringsMI", "GraphicsMI", "FindMI", "ReplaceMI").
// The maze editor's buttons ("DWallBtn", "InsLBtn", "DExitBtn", ...) too.
QIcon Glyph(std::string_view name);

// Every name Glyph knows, in a stable order.
QStringList GlyphNames();

// The program's icon (window, task bar, desktop entry).
QIcon AppIcon();
