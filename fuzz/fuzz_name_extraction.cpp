// The finger and assess name extractions on any text; the first byte picks the user's name.
#include <string_view>

#include "host/name_extraction.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  if (size == 0) return 0;
  std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string_view user = data[0] % 2 == 0 ? std::string_view("ann") : std::string_view();
  tessik::ExtractFingerName(text, user);
  tessik::ExtractAssessName(text, user);
  return 0;
}
