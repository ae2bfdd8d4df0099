#include "source/source_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr size_t kBlockSize = 64 * 1024;

// The UTF-8 byte-order mark that the PureBasic IDE writes at the start of its sources.
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr size_t kUtf8MarkSize = 3;

}  // namespace

SourceReader::~SourceReader() {
  Close();
}

// A byte-order mark at the very start is no part of the first line: it is passed over
// here, where every reader of source bytes opens its file, so that no reader sees it.
bool SourceReader::Open(const std::string& path) {
  Close();
  if (!file_.Open(path)) return false;
  file_size_ = file_.Size();
  if (file_size_ >= kUtf8MarkSize && file_.PeekStart(kUtf8MarkSize) == kUtf8Mark) {
    file_.SkipStart(kUtf8MarkSize);
    file_size_ -= kUtf8MarkSize;
  }
  return true;
}

void SourceReader::Close() {
  file_.Close();
  buffer_ = std::string();
  filled_ = 0;
  position_ = 0;
  end_of_input_ = false;
  file_size_ = 0;
  bytes_read_ = 0;
}

// Makes at least one unread byte available; false when none is left.
bool SourceReader::Fill() {
  if (position_ < filled_) {
    return true;
  }
  position_ = 0;
  filled_ = 0;
  if (end_of_input_) {
    return false;
  }
  // The block is made on the first line read: a file read whole never needs it.
  if (buffer_.empty()) buffer_.resize(kBlockSize);
  filled_ = file_.Read(&buffer_[0], buffer_.size());
  if (filled_ == 0) {
    end_of_input_ = true;
    return false;
  }
  bytes_read_ += filled_;
  for (TerminatorCursor& cursor : cursors_) {
    cursor.Scanned = false;
  }
  return true;
}

// The read position only moves forward within a block, so a remembered position at or
// after it is still the nearest one of its byte: each terminator byte is searched with
// memchr at most once per block and line, never byte by byte.
size_t SourceReader::NextTerminator() {
  size_t nearest = filled_;
  for (TerminatorCursor& cursor : cursors_) {
    if (!cursor.Scanned || cursor.Next < position_) {
      const char* from = buffer_.data() + position_;
      const void* hit = std::memchr(from, cursor.Byte, filled_ - position_);
      cursor.Next = hit ? static_cast<size_t>(static_cast<const char*>(hit) - buffer_.data())
                        : filled_;
      cursor.Scanned = true;
    }
    nearest = std::min(nearest, cursor.Next);
  }
  return nearest;
}

bool SourceReader::AtEnd() {
  return !Fill();
}

// Grows `line` geometrically, but never past the bytes that the file can still hold, so
// that a file of one huge line costs about its own size in memory.
void SourceReader::AppendToLine(std::string& line, const char* bytes, size_t count) const {
  const size_t needed = line.size() + count;
  if (needed > line.capacity()) {
    const unsigned long long left = file_size_ > bytes_read_ ? file_size_ - bytes_read_ : 0;
    const unsigned long long bound = needed + left;
    const unsigned long long doubled = 2ULL * line.capacity();
    // Into a fresh string: reserve() on a grown string may round up to twice its capacity.
    std::string grown;
    grown.reserve(static_cast<size_t>(std::max<unsigned long long>(needed, std::min(doubled, bound))));
    grown.append(line);
    line.swap(grown);
  }
  line.append(bytes, count);
}

// Consumes the terminator at the read position: CR LF counts as one, even across blocks.
void SourceReader::TakeTerminator(std::string* terminator) {
  const char first = buffer_[position_++];
  const bool cr_lf = first == '\r' && Fill() && buffer_[position_] == '\n';
  if (cr_lf) {
    ++position_;
  }
  if (terminator != nullptr) {
    *terminator = cr_lf ? "\r\n" : std::string(1, first);
  }
}

std::string SourceReader::ReadRawLine(std::string* terminator) {
  std::string line;
  ReadRawLineInto(line, terminator);
  return line;
}

void SourceReader::ReadRawLineInto(std::string& line, std::string* terminator) {
  line.clear();
  if (terminator != nullptr) {
    terminator->clear();
  }
  while (Fill()) {
    const char* start = buffer_.data() + position_;
    const size_t available = filled_ - position_;
    const size_t length = NextTerminator() - position_;
    AppendToLine(line, start, length);
    position_ += length;
    if (length < available) {
      TakeTerminator(terminator);
      break;
    }
  }
}

void SourceReader::ReadRest(std::string& bytes) {
  bytes.assign(buffer_, position_, filled_ - position_);
  position_ = filled_;
  // Room for the size the file had when it opened and one byte more, so that the read
  // that finds the end needs no larger string; only a file that still grows gets more.
  size_t held = bytes.size();
  bytes.resize(held + static_cast<size_t>(file_size_ > bytes_read_ ? file_size_ - bytes_read_ : 0) + 1);
  while (!end_of_input_) {
    if (held == bytes.size()) bytes.resize(held + std::max(held, kBlockSize));
    const size_t got = file_.Read(&bytes[held], bytes.size() - held);
    end_of_input_ = got == 0;
    held += got;
    bytes_read_ += got;
  }
  bytes.resize(held);
}

std::string ReadSourceLine(SourceReader& reader) {
  std::string line = reader.ReadRawLine();
  line.erase(0, std::min(line.find_first_not_of(' '), line.size()));
  return line;
}

std::string_view ReadSourceLineInto(SourceReader& reader, std::string& buffer) {
  reader.ReadRawLineInto(buffer);
  std::string_view line(buffer);
  line.remove_prefix(std::min(line.find_first_not_of(' '), line.size()));
  return line;
}

int32_t NextLineNumber(int32_t line_number) {
  return line_number < std::numeric_limits<int32_t>::max() ? line_number + 1 : line_number;
}
