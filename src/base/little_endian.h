// Little-endian fields of the byte layouts the system shares with the host and keeps on disk:
// pipe headers, messages, thread messages, game records.
#pragma once

#include <cstddef>
#include <type_traits>

namespace tessik {

template <typename T>
void PutLittleEndian(unsigned char* out, T value) {
  auto bits = static_cast<std::make_unsigned_t<T>>(value);
  for (size_t i = 0; i < sizeof(T); ++i) out[i] = static_cast<unsigned char>(bits >> (8 * i));
}

template <typename T>
T GetLittleEndian(const unsigned char* in) {
  std::make_unsigned_t<T> bits = 0;
  for (size_t i = 0; i < sizeof(T); ++i) {
    bits = static_cast<std::make_unsigned_t<T>>(
        bits | (static_cast<std::make_unsigned_t<T>>(in[i]) << (8 * i)));
  }
  return static_cast<T>(bits);
}

}  // namespace tessik
