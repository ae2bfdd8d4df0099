#include "listings/call_site_pieces.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::shared_ptr<const std::string> Bytes(const std::string& text) {
  return std::make_shared<const std::string>(text);
}

FileSites SitesCalling(int32_t callee) {
  FileSites sites;
  sites.Sites.push_back({0, NoBodyHead, callee, false, false, false});
  return sites;
}

TEST(CallSitePieces, APieceHoldsForTheSameBytesInAnyBufferAndForNoOtherBytes) {
  CallSitePieces pieces;
  pieces.UseInputs("procedures");
  pieces.Keep("/p/a.pb", Bytes("Walk()\n"), SitesCalling(4));
  const FileSites* again = pieces.Find("/p/a.pb", Bytes("Walk()\n"));  // read again
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->Sites.at(0).Callee, 4);
  EXPECT_EQ(pieces.Find("/p/a.pb", Bytes("walk()\n")), nullptr);  // same size, other bytes
  EXPECT_EQ(pieces.Find("/p/b.pb", Bytes("Walk()\n")), nullptr);    // another file
  EXPECT_EQ(pieces.Find("/p/a.pb", nullptr), nullptr);              // no longer opens
}

TEST(CallSitePieces, OtherInputsDropEveryPieceAndUnaskedPiecesGoAfterARun) {
  CallSitePieces pieces;
  pieces.UseInputs("procedures");
  const auto a = Bytes("A()\n");
  const auto b = Bytes("B()\n");
  pieces.Keep("/p/a.pb", a, SitesCalling(1));
  pieces.Keep("/p/b.pb", b, SitesCalling(2));
  pieces.UseInputs("procedures");  // the same inputs keep them
  pieces.DropUnasked();            // both were kept since the last drop
  ASSERT_NE(pieces.Find("/p/a.pb", a), nullptr);
  pieces.DropUnasked();  // b.pb was not asked for: the project no longer holds it
  EXPECT_EQ(pieces.Count(), 1u);
  EXPECT_EQ(pieces.Find("/p/b.pb", b), nullptr);
  pieces.UseInputs("procedures and one more");
  EXPECT_EQ(pieces.Find("/p/a.pb", a), nullptr);
}

}  // namespace
