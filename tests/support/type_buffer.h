// Typing into the text model as a pupil would: characters one by one, a
// line break as Enter. The text is UTF-8 and reaches the buffer as
// Windows-1251.
#pragma once

#include <string_view>

#include "encoding.h"
#include "memo_buffer.h"

inline void Type(TMemoBuffer& b, std::string_view utf8) {
  for (char c : Utf8ToCp1251(utf8)) {
    if (c == '\n')
      b.NewLine();
    else
      b.TypeChar(c);
  }
}
