// Feeds arbitrary bytes to the localisation reader, both as the plain text
// and as a scrambled file, and checks what the program relies on: every
// entry it keeps names a text of the program and has that text's
// placeholders, so filling it with the built-in text's arguments reads
// nothing that is not there; the texts it installs are those entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "localisation.h"
#include "string_table.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void Try(std::string_view text) {
  const auto entries = ParseLocalisation(text);
  for (const auto& [id, value] : entries) {
    Check(IsStrId(id));
    Check(SamePlaceholders(BuiltinStr(static_cast<TStrId>(id)), value));
  }
  InstallLocalisation(entries);
  for (const auto& [id, value] : entries) {
    const std::string& now = Str(static_cast<TStrId>(id));
    Check(value.empty() ? now == BuiltinStr(static_cast<TStrId>(id)) : now == value);
    (void)FormatStr(static_cast<TStrId>(id), {1, "x", 2.5, 'c'});
  }
  InstallLocalisation({});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Try(bytes);
  Try(ScrambleLocalisation(bytes));
  return 0;
}
