#ifndef ZENTROVA_STORE_BYTE_ORDER_H_
#define ZENTROVA_STORE_BYTE_ORDER_H_

// Reading and writing fixed-size integers at a byte offset of a buffer, in either order.
// The caller guarantees the bytes are there.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zentrova::store {

inline uint64_t GetLittle(std::string_view bytes, size_t offset, int size) {
  uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  }
  return value;
}

inline uint64_t GetBig(std::string_view bytes, size_t offset, int size) {
  uint64_t value = 0;
  for (int i = 0; i < size; ++i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  }
  return value;
}

inline void PutLittle(std::string& bytes, size_t offset, uint64_t value, int size) {
  for (int i = 0; i < size; ++i) {
    bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

inline void PutBig(std::string& bytes, size_t offset, uint64_t value, int size) {
  for (int i = 0; i < size; ++i) {
    bytes[offset + i] = static_cast<char>((value >> (8 * (size - 1 - i))) & 0xFF);
  }
}

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_BYTE_ORDER_H_
