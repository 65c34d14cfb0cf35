#include "qtext.h"

#include <array>

#include "encoding.h"

namespace {

const std::array<QChar, 256>& UnicodeTable() {
  static const std::array<QChar, 256> table = [] {
    std::array<QChar, 256> t{};
    for (int b = 0; b < 256; ++b) t[b] = QChar(char16_t(Cp1251ToUnicode(static_cast<unsigned char>(b))));
    return t;
  }();
  return table;
}

}  // namespace

QString FromCp1251(std::string_view text) {
  const auto& table = UnicodeTable();
  QString out(qsizetype(text.size()), Qt::Uninitialized);
  QChar* d = out.data();
  for (size_t i = 0; i < text.size(); ++i) d[i] = table[static_cast<unsigned char>(text[i])];
  return out;
}

std::string ToCp1251(const QString& text) {
  std::string out;
  out.reserve(size_t(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t code = text[i].unicode();
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      code = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    out += static_cast<char>(UnicodeToCp1251(code));
  }
  return out;
}
