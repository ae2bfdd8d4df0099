#include "listings/call_candidates.h"

#include <algorithm>
#include <cstring>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "listings/call_matching.h"
#include "listings/folded_search.h"
#include "source/short_load.h"
#include "source/text_parts.h"

namespace {

constexpr uint64_t kHashBasis = 14695981039346656037ULL;

/// Bits of the token filter: 16 KB, which stay in the first-level cache.
constexpr size_t kFilterBits = size_t{1} << 17;

/// Mixes one chunk of a word into `hash`: the chunk's bytes (up to sixteen, `length`
/// of them, folded) stand at the end of sixteen whose others are zero, read as two
/// 64-bit halves.
uint64_t MixChunk(uint64_t hash, uint64_t low, uint64_t high, size_t length) {
  hash = (hash ^ (low * 0x9E3779B97F4A7C15ULL)) + length;
  hash = (hash ^ (hash >> 29)) * 0xBF58476D1CE4E5B9ULL;
  hash ^= high * 0xC2B2AE3D27D4EB4FULL;
  hash = (hash ^ (hash >> 32)) * 0x94D049BB133111EBULL;
  return hash ^ (hash >> 31);
}

/// The run of name characters (A-Z, a-z, 0-9, "_") that ends at `end`, at most sixteen
/// of them and none before `begin`: its length, and its bytes folded (each with 0x20 set,
/// which folds the letters) at the end of `chunk`, whose other bytes are zero. Sixteen
/// bytes at once, where a loop over a name's bytes would end where no processor foresees.
size_t NameRunBefore(const char* begin, const char* end, unsigned char (&chunk)[16]) {
  const auto available = static_cast<size_t>(end - begin);
#ifdef __SSE2__
  if (available == 0) return 0;
  const __m128i bytes = available >= 16
                            ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(end - 16))
                            : LoadShortBefore(end, available);
  // Places before `begin`, whatever they hold, end the run.
  const unsigned before = available >= 16 ? 0 : (1u << (16 - available)) - 1;
  const __m128i folded = _mm_or_si128(bytes, _mm_set1_epi8(0x20));
  const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(folded, _mm_set1_epi8('a' - 1)),
                                       _mm_cmplt_epi8(folded, _mm_set1_epi8('z' + 1)));
  const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('0' - 1)),
                                      _mm_cmplt_epi8(bytes, _mm_set1_epi8('9' + 1)));
  const __m128i name = _mm_or_si128(_mm_or_si128(letter, digit),
                                    _mm_cmpeq_epi8(bytes, _mm_set1_epi8('_')));
  const auto others = (static_cast<unsigned>(~_mm_movemask_epi8(name)) & 0xFFFFu) | before;
  const size_t run = others == 0 ? 16 : static_cast<size_t>(__builtin_clz(others)) - 16;
  const __m128i places = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
  const __m128i kept = _mm_cmpgt_epi8(places, _mm_set1_epi8(static_cast<char>(15 - run)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(chunk), _mm_and_si128(folded, kept));
  return run;
#else
  size_t run = 0;
  while (run < std::min<size_t>(available, 16) && IsIdentifierChar(*(end - 1 - run))) ++run;
  std::memset(chunk, 0, sizeof chunk);
  for (size_t at = 0; at < run; ++at) {
    chunk[16 - run + at] = static_cast<unsigned char>(*(end - run + at) | 0x20);
  }
  return run;
#endif
}

bool SameFolded(std::string_view text, std::string_view folded) {
  return text.size() == folded.size() && SameFoldedBytes(text.data(), folded.data(), text.size());
}

/// A power of two at least twice `count`, so that probes stay short.
size_t SlotCount(size_t count) {
  size_t slots = 16;
  while (slots < 2 * count) slots *= 2;
  return slots;
}

/// The bit of the token filter for a token's hash: bits above those that pick a slot.
size_t FilterBit(uint64_t hash) { return static_cast<size_t>(hash >> 40) & (kFilterBits - 1); }

const std::vector<size_t> kNoLines;
constexpr size_t kNoToken = static_cast<size_t>(-1);

}  // namespace

std::string_view CallKeyName(std::string_view key) {
  return key.substr(0, key.empty() ? 0 : key.size() - 1);
}

std::string_view LastCallToken(std::string_view name) {
  size_t begin = name.size();
  while (begin > 0 && IsIdentifierChar(name[begin - 1])) --begin;
  if (begin == name.size() && begin > 0) --begin;  // ends in another character
  return name.substr(begin);
}

bool CloseUpCanUnmakeHead(std::string_view key) {
  // The close-up starts at the first "name " and removes blanks before "(" from there on;
  // it reaches the blank after "Procedure" only when "name " can stand at position 9 or
  // earlier of "Procedure (", that is when the name is a suffix of "Procedure".
  constexpr std::string_view Keyword = "Procedure";
  const std::string_view name = CallKeyName(key);
  return name.size() <= Keyword.size() && Keyword.substr(Keyword.size() - name.size()) == name;
}

CallCandidates::CallCandidates(const ProcedureIndex& procedures)
    : slots_(SlotCount(procedures.size())), filter_(kFilterBits / 64, 0) {
  const size_t mask = slots_.size() - 1;
  for (const ProcedureEntry& entry : procedures) {
    const std::string key = CallKeyFromHead(entry.HeadText);
    const std::string_view token = LastCallToken(CallKeyName(key));
    if (token.empty() || FindToken(token) != kNoToken) continue;
    const uint64_t hash = TokenHash(token);
    size_t slot = hash & mask;
    while (slots_[slot].Token != 0) slot = (slot + 1) & mask;
    tokens_.push_back(FoldedName(token));
    slots_[slot] = {static_cast<uint32_t>(tokens_.size()), static_cast<uint32_t>(hash >> 32)};
    const size_t bit = FilterBit(hash);
    filter_[bit / 64] |= uint64_t{1} << (bit % 64);
  }
  lines_.resize(tokens_.size());
}

bool CallCandidates::Sweep(const ProjectText& text, ListingHost& host) {
  return tokens_.empty() || SweepLines(text, 0, text.LineCount(), host);
}

bool CallCandidates::SweepLines(const ProjectText& text, size_t first, size_t last,
                                ListingHost& host) {
  for (size_t line = first; line < last; ++line) {
    if (text.CallKind(line) != LineKind::Head) AddLine(PrepareCallLine(text.SourceLine(line)), line);
    if (host.PollStop()) return false;
  }
  return true;
}

const std::vector<size_t>& CallCandidates::LinesFor(std::string_view name) const {
  const size_t token = FindToken(LastCallToken(name));
  return token == kNoToken ? kNoLines : lines_[token];
}

size_t CallCandidates::FindToken(std::string_view token) const {
  return token.empty() ? kNoToken : FindHashedToken(token, TokenHash(token));
}

size_t CallCandidates::FindHashedToken(std::string_view token, uint64_t hash) const {
  if (!MayBeToken(hash)) return kNoToken;
  const size_t mask = slots_.size() - 1;
  const auto tag = static_cast<uint32_t>(hash >> 32);
  for (size_t slot = hash & mask; slots_[slot].Token != 0; slot = (slot + 1) & mask) {
    if (slots_[slot].Tag != tag) continue;
    const size_t found = slots_[slot].Token - 1;
    if (SameFolded(token, tokens_[found])) return found;
  }
  return kNoToken;
}

size_t CallCandidates::TokenOf(std::string_view name) const {
  const size_t token = FindToken(LastCallToken(name));
  return token == kNoToken ? std::string_view::npos : token;
}

// The token that stands before each "(" with only blanks between. The close-up removes
// only blanks before a "(", and a name holds neither blanks nor "(", so the key's name
// stands in the line as it is, followed by blanks and "(". The token there ends the name:
// an identifier name needs a separator or the line start before it (no identifier
// character), and a name with other characters ends in the same run or character.
// The words before the "(" of a line are hashed first, and the slots of those that pass
// the filter asked for; the lookups that follow then find them in the cache, rather than
// waiting for memory one word after the other.
void CallCandidates::CallTokens(std::string_view prepared, std::vector<size_t>& tokens) const {
  tokens.clear();
  constexpr size_t kBatch = 16;
  HashedWord words[kBatch];
  size_t count = 0;
  const char* const begin = prepared.data();
  const char* const end = begin + prepared.size();
  for (const char* open = begin; open != end && (open = static_cast<const char*>(std::memchr(
                                                     open, '(', static_cast<size_t>(end - open))));
       ++open) {
    const char* word_end = open;
    while (word_end > begin && word_end[-1] == ' ') --word_end;
    const HashedWord word = WordEndingAt(begin, word_end);
    if (word.Length == 0 || !MayBeToken(word.Hash)) continue;
    __builtin_prefetch(slots_.data() + (word.Hash & (slots_.size() - 1)));
    words[count++] = word;
    if (count == kBatch) AddTokensOf(words, std::exchange(count, 0), tokens);
  }
  AddTokensOf(words, count, tokens);
}

void CallCandidates::AddTokensOf(const HashedWord* words, size_t count,
                                 std::vector<size_t>& tokens) const {
  for (size_t at = 0; at < count; ++at) {
    const size_t token = FindHashedToken(words[at].Text(), words[at].Hash);
    if (token != kNoToken && std::find(tokens.begin(), tokens.end(), token) == tokens.end()) {
      tokens.push_back(token);
    }
  }
}

// `LastCallToken` of the text before `end`, hashed as `FindToken` hashes, in one walk back.
// A name's hash is that of its runs of up to sixteen bytes from its end, so that a token
// hashed on its own (`TokenHash`) and the same name before a "(" hash alike.
CallCandidates::HashedWord CallCandidates::WordEndingAt(const char* begin, const char* end) {
  uint64_t hash = kHashBasis;
  const char* start = end;
  unsigned char chunk[16];
  for (size_t run = 16; run == 16;) {
    run = NameRunBefore(begin, start, chunk);
    if (run == 0) break;
    uint64_t halves[2];
    std::memcpy(halves, chunk, sizeof halves);
    hash = MixChunk(hash, halves[0], halves[1], run);
    start -= run;
  }
  if (start == end) {
    if (start == begin) return {start, 0, hash};
    --start;  // a name that ends in another character, hashed as it is
    hash = MixChunk(hash, 0, uint64_t{static_cast<unsigned char>(*start)} << 56, 17);
  }
  return {start, static_cast<size_t>(end - start), hash};
}

uint64_t CallCandidates::TokenHash(std::string_view token) {
  return WordEndingAt(token.data(), token.data() + token.size()).Hash;
}

bool CallCandidates::MayBeToken(uint64_t hash) const {
  const size_t bit = FilterBit(hash);
  return (filter_[bit / 64] & (uint64_t{1} << (bit % 64))) != 0;
}

void CallCandidates::AddLine(std::string_view prepared, size_t line) {
  std::vector<size_t>& tokens = line_tokens_;
  CallTokens(prepared, tokens);
  for (const size_t token : tokens) lines_[token].push_back(line);
}
