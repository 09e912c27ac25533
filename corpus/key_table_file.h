// The key table file of a corpus, data/keytable.dat + tag: the key -> word ID table and the keys
// of the word table in the form the loaded index holds them, written by the build once the index
// is in place, so that a load copies them in blocks instead of decoding every word record and
// hashing every key. It only ever speeds a load up: a file that is missing, damaged, of another
// version, or made from another word table than the one in place is ignored, and the load builds
// the table in memory. The four index files do not depend on it.
//
// Layout, little-endian:
//   0    8   magic "TMRLKEYS"
//   8    4   version (1)
//   12   4   N, number of keys (= the word table's count)
//   16   8   size in bytes of the word table it was made from
//   24   8   build stamp of that word table (corpus/index_commit.h)
//   32   8   digest of that word table's bytes (Digest64)
//   40   4   S, number of slots (KeyTable::CapacityFor(N))
//   44   4   U, UTF-16 units of all keys together
//   48   8   digest of every byte after the header
//   56   8   zero
//   64   12S slots: word ID (4; 0xFFFFFFFF empty), start (4), length (2), check bits (2)
//   ..   4N  where each key ends in the units, as StringList keeps it
//   ..   2U  the units of the keys, one after the other, prefixes included
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "corpus/key_table.h"
#include "corpus/string_list.h"
#include "files/status.h"

namespace tamrel {

inline constexpr size_t kKeyTableHeaderBytes = 64;

std::filesystem::path KeyTableFileName(const std::filesystem::path& root, std::u16string_view tag);

// A 64-bit digest of `bytes`: of the word table, which ties the file to it, and of the file's own
// body, which tells a damaged file.
uint64_t Digest64(std::string_view bytes);

// What the file is checked against: the word table in place, as the loader mapped it, and the
// build stamp read with it.
struct WordTableIdentity {
  std::string_view bytes;  // the whole word table file
  uint64_t stamp = 0;
};

// The file's bytes for `keys` and the table Rebuild made over them, made from `wordTable`.
std::string EncodeKeyTableFile(const StringList& keys, const KeyTable& table, const WordTableIdentity& wordTable);

// Reads the keys and the table back from `file` (the file's bytes). Fails, leaving `keys` and
// `table` unchanged, when the file does not belong to `wordTable` or breaks its layout.
Status DecodeKeyTableFile(const std::filesystem::path& path, std::string_view file, const WordTableIdentity& wordTable,
                          StringList& keys, KeyTable& table);

// Writes the key table file of corpus `tag` in `root` for its word table in place, from `keys`
// and `table` (those of that word table), through a staged file renamed into place; the caller
// holds the build lock. A failure leaves no file, or one that loads ignore.
Status WriteKeyTableFile(const std::filesystem::path& root, std::u16string_view tag, const StringList& keys,
                         const KeyTable& table);

}  // namespace tamrel
