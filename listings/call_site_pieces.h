// The call graph in pieces: the call sites of one file, as its bytes and what the project
// gives every file (its procedures, whether module rules apply) make them, kept from one
// run to the next, so that a file whose bytes are the same is not swept again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

/// A line of a file that lies in no body.
constexpr uint32_t NoBodyHead = UINT32_MAX;

/// One call site, in the terms of its file.
struct FileSite {
  uint32_t Line = 0;             ///< 0-based line in the file
  uint32_t Head = NoBodyHead;    ///< 0-based line of the real head whose body holds it
  int32_t Callee = 0;            ///< index in the procedure index of the called procedure
  bool OtherCase = false;        ///< matched only with letter case ignored
  bool Ambiguous = false;        ///< the name is had by several modules in use
  bool InMacro = false;          ///< stands in a Macro body
};

/// One Declare line of a file.
struct FileDeclare {
  uint32_t Line = 0;   ///< 0-based line in the file
  std::string Module;  ///< the folded module whose block holds it; empty for none
};

/// The call sites, the real heads and the Declare lines of one file.
struct FileSites {
  std::vector<FileSite> Sites;         ///< by line, the sites of one line by callee
  std::vector<uint32_t> RealHeads;     ///< 0-based lines of the real heads, ascending
  std::vector<FileDeclare> Declares;   ///< by line
};

/// The pieces of a project's files by path, each with the bytes it was found from and the
/// inputs that every piece shares.
class CallSitePieces {
 public:
  /// Makes `inputs` (what every file's sites depend on besides its bytes) the inputs of
  /// the pieces kept from now on; drops every piece when they differ from the last ones.
  void UseInputs(std::string inputs);
  /// The piece of the file at `path` when it was found from the same bytes as `bytes`
  /// (the same buffer, or equal content); nullptr for none. An equal buffer read again
  /// takes the kept one's place, so that only one copy stays in memory.
  const FileSites* Find(const std::string& path, const std::shared_ptr<const std::string>& bytes);
  /// Keeps `sites`, found from `bytes`, as the piece of the file at `path`.
  void Keep(const std::string& path, std::shared_ptr<const std::string> bytes, FileSites sites);
  /// Drops the pieces that no `Find` or `Keep` asked for since the last `DropUnasked`: the
  /// files the project no longer holds.
  void DropUnasked();
  /// Drops every piece.
  void Clear();
  /// Number of pieces kept.
  size_t Count() const { return pieces_.size(); }

 private:
  struct Piece {
    std::shared_ptr<const std::string> Bytes;
    FileSites Sites;
    bool Asked = true;
  };

  std::string inputs_;
  std::unordered_map<std::string, Piece> pieces_;
};
