// A row is stored as one byte of the cells kept as views, the address of each viewed
// text's first byte, five lengths (7 bits a byte, the high bit set while more follow),
// then the texts of the other cells. Where it stands is the block's index in the upper
// 32 bits and the offset in the block in the lower ones; a row larger than a block gets a
// block of its own, so an offset always fits.
#include "listings/row_texts.h"

#include <cstdint>
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

/// The five lengths at `in`; returns where they end. Most often each is one byte, and
/// then all are taken from one read of eight bytes: `Add` leaves eight written bytes
/// after the lengths of every row, whatever follows them.
const char* GetLengths(const char* in, RowCellLengths& lengths) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  uint64_t eight = 0;
  std::memcpy(&eight, in, sizeof eight);
  if ((eight & 0x8080808080ULL) == 0) {
    for (size_t cell = 0; cell < RowTextCells; ++cell) lengths[cell] = (eight >> (8 * cell)) & 0xFF;
    return in + RowTextCells;
  }
#endif
  for (size_t& length : lengths) in = GetLength(in, length);
  return in;
}

/// Number of cells in `cells`.
size_t CellCount(RowCellSet cells) {
  size_t count = 0;
  for (size_t cell = 0; cell < RowTextCells; ++cell) count += (cells >> cell) & 1u;
  return count;
}

}  // namespace

uint64_t RowTexts::Add(const RowCellTexts& cells, RowCellSet viewed) {
  size_t bytes = 1 + RowTextCells * kMaxLengthBytes + 8;  // 8: the bytes written after the lengths
  for (size_t cell = 0; cell < RowTextCells; ++cell) {
    if (cells[cell].empty()) viewed &= static_cast<RowCellSet>(~RowCell(cell));
    bytes += (viewed & RowCell(cell)) != 0 ? sizeof(const char*) : cells[cell].size();
  }
  char* const start = Reserve(bytes);
  const uint64_t at = (static_cast<uint64_t>(blocks_.size() - 1) << 32) |
                      static_cast<uint64_t>(start - blocks_.back().get());
  char* out = start;
  *out++ = static_cast<char>(viewed);
  for (size_t cell = 0; cell < RowTextCells; ++cell) {
    if ((viewed & RowCell(cell)) == 0) continue;
    const char* const data = cells[cell].data();
    std::memcpy(out, &data, sizeof data);
    out += sizeof data;
  }
  for (const std::string_view cell : cells) out = PutLength(out, cell.size());
  std::memset(out, 0, 8);  // written, for `GetLengths`; texts may follow over them
  for (size_t cell = 0; cell < RowTextCells; ++cell) {
    if ((viewed & RowCell(cell)) != 0 || cells[cell].empty()) continue;
    std::memcpy(out, cells[cell].data(), cells[cell].size());
    out += cells[cell].size();
  }
  used_ += static_cast<size_t>(out - start);
  return at;
}

// The viewed set, the viewed cells' addresses and the five lengths, read from `in`; `in`
// is then at the copied texts.
RowTexts::RowHead RowTexts::ReadHead(const char*& in) {
  RowHead head;
  head.Viewed = static_cast<RowCellSet>(*in++);
  for (size_t cell = 0; cell < RowTextCells; ++cell) {
    if ((head.Viewed & RowCell(cell)) == 0) continue;
    std::memcpy(&head.Data[cell], in, sizeof head.Data[cell]);
    in += sizeof head.Data[cell];
  }
  in = GetLengths(in, head.Lengths);
  return head;
}

RowCellLengths RowTexts::Lengths(uint64_t at) const {
  const char* in = RowStart(at);
  const auto viewed = static_cast<RowCellSet>(*in++);
  in += CellCount(viewed) * sizeof(const char*);
  RowCellLengths lengths;
  GetLengths(in, lengths);
  return lengths;
}

RowCellTexts RowTexts::Cells(uint64_t at) const {
  const char* in = RowStart(at);
  RowHead head = ReadHead(in);
  RowCellTexts cells;
  for (size_t cell = 0; cell < RowTextCells; ++cell) {
    if ((head.Viewed & RowCell(cell)) == 0) {
      head.Data[cell] = in;
      in += head.Lengths[cell];
    }
    cells[cell] = std::string_view(head.Data[cell], head.Lengths[cell]);
  }
  return cells;
}

// A viewed text is asked for at its first and its last byte: a writer reads it from its
// end first (to leave out trailing blanks), and a source line often spans two cache lines.
void RowTexts::Prefetch(uint64_t at) const {
  const char* in = RowStart(at);
  const RowHead head = ReadHead(in);
  for (size_t cell = 0; cell < RowTextCells; ++cell) {
    if ((head.Viewed & RowCell(cell)) == 0) continue;
    __builtin_prefetch(head.Data[cell]);
    __builtin_prefetch(head.Data[cell] + head.Lengths[cell] - 1);
  }
}

RowCellSet RowTexts::Viewed(uint64_t at) const {
  return static_cast<RowCellSet>(*RowStart(at));
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
