// A piece is found by the content of its file, never by a time or a size alone: a file
// read again is compared byte for byte with what its piece was found from, unless it is the
// very buffer the piece holds (which nobody can have changed).
#include "listings/call_site_pieces.h"

#include <utility>

void CallSitePieces::UseInputs(std::string inputs) {
  if (inputs == inputs_) return;
  pieces_.clear();
  inputs_ = std::move(inputs);
}

const FileSites* CallSitePieces::Find(const std::string& path,
                                      const std::shared_ptr<const std::string>& bytes) {
  const auto found = pieces_.find(path);
  if (found == pieces_.end() || bytes == nullptr) return nullptr;
  Piece& piece = found->second;
  if (piece.Bytes != bytes) {
    if (*piece.Bytes != *bytes) return nullptr;
    piece.Bytes = bytes;
  }
  piece.Asked = true;
  return &piece.Sites;
}

void CallSitePieces::Keep(const std::string& path, std::shared_ptr<const std::string> bytes,
                          FileSites sites) {
  pieces_.insert_or_assign(path, Piece{std::move(bytes), std::move(sites), true});
}

void CallSitePieces::DropUnasked() {
  for (auto piece = pieces_.begin(); piece != pieces_.end();) {
    if (!piece->second.Asked) {
      piece = pieces_.erase(piece);
      continue;
    }
    piece->second.Asked = false;
    ++piece;
  }
}

void CallSitePieces::Clear() {
  pieces_.clear();
  inputs_.clear();
}
