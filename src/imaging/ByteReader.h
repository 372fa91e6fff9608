#pragma once
// Little-endian reads from an untrusted byte buffer; private to the decoders.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zelvora::imaging_detail {

class TByteReader {
 public:
  explicit TByteReader(std::string_view bytes) : bytes_(bytes) {}

  std::size_t Size() const { return bytes_.size(); }
  // True when count bytes from offset lie inside the buffer (no overflow).
  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }
  // Reads assume Has() was checked by the caller.
  std::uint8_t U8(std::size_t offset) const { return static_cast<std::uint8_t>(bytes_[offset]); }
  std::uint16_t U16(std::size_t offset) const {
    return static_cast<std::uint16_t>(U8(offset) | (U8(offset + 1) << 8));
  }
  std::uint32_t U32(std::size_t offset) const {
    return static_cast<std::uint32_t>(U16(offset)) |
           (static_cast<std::uint32_t>(U16(offset + 2)) << 16);
  }
  std::int32_t I32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
  std::string_view View(std::size_t offset, std::size_t count) const {
    return bytes_.substr(offset, count);
  }
  const std::uint8_t* Data() const { return reinterpret_cast<const std::uint8_t*>(bytes_.data()); }

 private:
  std::string_view bytes_;
};

}  // namespace zelvora::imaging_detail
