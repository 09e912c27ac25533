// The lines of resources/lexicon/english_exceptions.tsv (WordNet's irregular English forms),
// compiled into the program by CMake from lexicon/english_exceptions_data.cpp.in, so that base
// forms need no file at run time.
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

namespace tamrel {

extern const std::string_view kEnglishExceptionLines[];
extern const size_t kEnglishExceptionLineCount;

}  // namespace tamrel
