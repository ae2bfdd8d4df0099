// Fuzz target: the line reader on arbitrary bytes. The raw lines joined with their
// terminators must give back the file, ReadSourceLine must give the same lines less
// their leading blanks, and the file read whole and split in memory must give the same
// lines again. Half of the inputs are placed behind a long first line so that they
// straddle the reader's 64 KiB block boundary.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_project.h"
#include "source/source_lines.h"
#include "source/source_reader.h"
#include "source/source_texts.h"

namespace {

constexpr size_t kBlockSize = 64 * 1024;

/// The file contents for one input: the bytes as they are, or behind filler that ends a
/// few bytes short of the block boundary.
std::string FileContents(const uint8_t* data, size_t size) {
  std::string contents;
  if (size > 0 && (data[0] & 0x80) != 0) {
    contents.assign(kBlockSize - (data[0] & 0x0F), 'x');
  }
  contents.append(reinterpret_cast<const char*>(data), size);
  return contents;
}

/// An anonymous in-memory file holding `contents`, opened by path like any source file.
class MemoryFile {
 public:
  explicit MemoryFile(const std::string& contents) : fd_(::memfd_create("pbst-fuzz", MFD_CLOEXEC)) {
    Require(fd_ >= 0, "memfd_create works");
    size_t written = 0;
    while (written < contents.size()) {
      const ssize_t count = ::write(fd_, contents.data() + written, contents.size() - written);
      Require(count > 0, "write to memfd");
      written += static_cast<size_t>(count);
    }
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  ~MemoryFile() { ::close(fd_); }

  std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

 private:
  int fd_;
};

bool IsTerminatorText(const std::string& terminator) {
  return terminator == "\n" || terminator == "\r" || terminator == "\r\n" ||
         terminator == std::string(1, '\0');
}

std::string WithoutLeadingBlanks(const std::string& line) {
  const size_t first = line.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : line.substr(first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string contents = FileContents(data, size);
  const MemoryFile file(contents);
  // A byte-order mark at the very start belongs to no line.
  const std::string read = contents.compare(0, 3, "\xEF\xBB\xBF") == 0 ? contents.substr(3) : contents;
  SourceReader raw;
  SourceReader trimmed;
  Require(raw.Open(file.Path()) && trimmed.Open(file.Path()), "a regular file opens");
  const std::shared_ptr<const std::string> whole = SourceTexts().Bytes(file.Path());
  Require(whole != nullptr && *whole == read, "a file read whole is its bytes after a leading byte-order mark");
  SourceLines in_memory(*whole);
  std::string joined;
  while (!raw.AtEnd()) {
    std::string terminator;
    const std::string line = raw.ReadRawLine(&terminator);
    Require(line.find_first_of(std::string("\n\r\0", 3)) == std::string::npos,
            "a line holds no terminator byte");
    joined += line;
    Require(IsTerminatorText(terminator) || joined.size() == read.size(),
            "only the last line may end without a terminator");
    joined += terminator;
    Require(terminator != "\r" || joined.size() == read.size() || read[joined.size()] != '\n',
            "CR LF is one terminator");
    Require(!trimmed.AtEnd(), "both readers see the same number of lines");
    Require(ReadSourceLine(trimmed) == WithoutLeadingBlanks(line),
            "ReadSourceLine is the raw line less its leading blanks");
    Require(!in_memory.AtEnd() && in_memory.NextRaw() == line,
            "the split in memory gives the reader's line");
  }
  Require(trimmed.AtEnd(), "both readers end together");
  Require(in_memory.AtEnd(), "the split in memory ends with the reader");
  Require(joined == read, "lines and terminators give back the file after a leading byte-order mark");
  return 0;
}
