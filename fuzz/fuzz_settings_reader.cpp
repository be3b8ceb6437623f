// The settings file on any bytes, line by line as it is read, then written back.
#include <fcntl.h>

#include "scratch_directory.h"
#include "session/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  WriteBytes(ScratchDirectory() + "tessik.ini", data, size);
  tessik::settings = tessik::Settings{};
  static const int folder = open(ScratchDirectory().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  tessik::LoadSettings(folder);
  std::string written = tessik::FormatSettingsFile(tessik::settings);
  return written.empty() ? 1 : 0;
}
