// QString twins of the encoding helpers, for painting and the clipboard:
// the text itself stays Windows-1251 in std::string.
#pragma once

#include <QString>
#include <string>
#include <string_view>

QString FromCp1251(std::string_view text);
std::string ToCp1251(const QString& text);
