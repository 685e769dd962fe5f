#include "data/dbase_file.h"

#include <algorithm>
#include <cstring>

#include "data/dbase_error.h"

namespace morven {

int32_t BufferedFile::Open(const std::string& host_path, platform::Access access, bool create, bool truncate,
                           uint8_t sharing) {
  valid_ = 0;
  return file_.Open(host_path, access, create, truncate, sharing);
}

int32_t BufferedFile::Close() {
  valid_ = 0;
  return file_.Close();
}

void BufferedFile::SetCapacity(size_t capacity) {
  capacity_ = capacity;
  valid_ = 0;
  buffer_.clear();
  buffer_.shrink_to_fit();
}

int32_t BufferedFile::Read(int64_t offset, void* data, size_t count, size_t& got) {
  got = 0;
  if (offset < 0) return 131;
  if (offset >= start_ && static_cast<uint64_t>(offset - start_) + count <= valid_) {
    std::memcpy(data, buffer_.data() + (offset - start_), count);
    got = count;
    return 0;
  }
  if (count > capacity_) {
    // Larger than the buffer: straight from the file.
    if (int32_t code = file_.Seek(offset)) return code;
    return file_.Read(data, count, got);
  }
  buffer_.resize(capacity_);
  valid_ = 0;
  start_ = offset;
  if (int32_t code = file_.Seek(offset)) return code;
  if (int32_t code = file_.Read(buffer_.data(), capacity_, valid_)) {
    valid_ = 0;
    return code;
  }
  got = std::min(count, valid_);
  std::memcpy(data, buffer_.data(), got);
  return 0;
}

int32_t BufferedFile::Write(int64_t offset, const void* data, size_t count) {
  if (offset < 0) return 131;
  if (int32_t code = file_.Seek(offset)) return code;
  size_t put = 0;
  if (int32_t code = file_.Write(data, count, put)) return code;
  if (put < count) return kDbShortWrite;
  // Keep the buffered copy in step where the written bytes overlap it.
  int64_t from = std::max(offset, start_);
  int64_t to = std::min(offset + static_cast<int64_t>(count), start_ + static_cast<int64_t>(valid_));
  if (from < to)
    std::memcpy(buffer_.data() + (from - start_), static_cast<const uint8_t*>(data) + (from - offset),
                static_cast<size_t>(to - from));
  return 0;
}

int32_t BufferedFile::Truncate(int64_t size) {
  if (size < start_ + static_cast<int64_t>(valid_)) valid_ = size > start_ ? static_cast<size_t>(size - start_) : 0;
  return file_.Truncate(size);
}

}  // namespace morven
