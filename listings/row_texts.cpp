// A row is stored as five lengths (7 bits a byte, the high bit set while more follow),
// then the five texts. Where it stands is the block's index in the upper 32 bits and the
// offset in the block in the lower ones; a row larger than a block gets a block of its own,
// so an offset always fits.
#include "listings/row_texts.h"

#include <cstring>

namespace {

constexpr size_t kBlockSize = 256 * 1024;
constexpr size_t kMaxLengthBytes = 10;  // a 64-bit length in 7-bit groups

char* PutLength(char* out, size_t length) {
  while (length >= 0x80) {
    *out++ = static_cast<char>((length & 0x7F) | 0x80);
    length >>= 7;
  }
  *out++ = static_cast<char>(length);
  return out;
}

const char* GetLength(const char* in, size_t& length) {
  length = 0;
  for (int shift = 0;; shift += 7) {
    const auto byte = static_cast<unsigned char>(*in++);
    length |= static_cast<size_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) return in;
  }
}

}  // namespace

uint64_t RowTexts::Add(const RowCellTexts& cells) {
  size_t bytes = RowTextCells * kMaxLengthBytes;
  for (const std::string_view cell : cells) bytes += cell.size();
  char* const start = Reserve(bytes);
  const uint64_t at = (static_cast<uint64_t>(blocks_.size() - 1) << 32) |
                      static_cast<uint64_t>(start - blocks_.back().get());
  char* out = start;
  for (const std::string_view cell : cells) out = PutLength(out, cell.size());
  for (const std::string_view cell : cells) {
    if (!cell.empty()) std::memcpy(out, cell.data(), cell.size());
    out += cell.size();
  }
  used_ += static_cast<size_t>(out - start);
  return at;
}

RowCellTexts RowTexts::Cells(uint64_t at) const {
  const char* in = blocks_[static_cast<size_t>(at >> 32)].get() + (at & 0xFFFFFFFFu);
  std::array<size_t, RowTextCells> lengths{};
  for (size_t& length : lengths) in = GetLength(in, length);
  RowCellTexts cells;
  for (size_t cell = 0; cell < RowTextCells; ++cell) {
    cells[cell] = std::string_view(in, lengths[cell]);
    in += lengths[cell];
  }
  return cells;
}

// Room for `bytes` at the end of the last block, or a new block; blocks never move, so
// texts that the new row copies from older rows stay where they are.
char* RowTexts::Reserve(size_t bytes) {
  if (blocks_.empty() || capacity_ - used_ < bytes) {
    capacity_ = bytes > kBlockSize ? bytes : kBlockSize;
    blocks_.emplace_back(new char[capacity_]);
    used_ = 0;
  }
  return blocks_.back().get() + used_;
}
