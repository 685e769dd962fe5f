#pragma once
// The read-ahead buffer every table, memo and index file is read through. The buffer
// holds one contiguous span of the file: a read that lies inside the span is served
// from it, any other read refills it from the requested offset. Writes go to the file
// at once and update the buffered copy where they overlap it.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_io.h"

namespace morven {

class BufferedFile {
 public:
  explicit BufferedFile(size_t capacity) : capacity_(capacity) {}
  BufferedFile(const BufferedFile&) = delete;
  BufferedFile& operator=(const BufferedFile&) = delete;

  int32_t Open(const std::string& host_path, platform::Access access, bool create, bool truncate,
               uint8_t sharing);
  int32_t Close();
  bool IsOpen() const { return file_.IsOpen(); }

  // Reads up to count bytes at offset; got is less than count at the end of the file.
  int32_t Read(int64_t offset, void* data, size_t count, size_t& got);
  // Writes count bytes at offset; a short write gives code 101.
  int32_t Write(int64_t offset, const void* data, size_t count);
  int32_t Size(int64_t& size) const { return file_.Size(size); }
  int32_t Truncate(int64_t size);

  // A different buffer size from now on (the buffered span is dropped).
  void SetCapacity(size_t capacity);

 private:
  platform::File file_;
  size_t capacity_;
  std::vector<uint8_t> buffer_;
  int64_t start_ = 0;
  size_t valid_ = 0;
};

}  // namespace morven
