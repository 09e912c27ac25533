// The lexicon shared by the lexicon tests: the one the program ships, loaded once per process.
#pragma once

#include <gtest/gtest.h>

#include "lexicon/lexicon.h"

namespace tamrel::test {

inline const Lexicon& ShippedLexicon() {
  static const Lexicon* lexicon = [] {
    auto* loaded = new Lexicon;
    const Status status = loaded->Load(TAMREL_SOURCE_DIR "/resources/lexicon/lexicon.tsv");
    EXPECT_TRUE(status.ok()) << status.ToString();
    return loaded;
  }();
  return *lexicon;
}

}  // namespace tamrel::test
