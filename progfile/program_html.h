// A program's HTML page coloured as the program editor colours it, for the
// tools without a window. A header of its own without the style list, so
// that code which also sees the canvas's font styles can include it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The bytes of the page for lines (Windows-1251) written to targetName.
std::string ProgramHtmlPage(std::string_view targetName, const std::vector<std::string>& lines);
