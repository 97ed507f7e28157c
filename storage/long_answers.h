// Answers of an imported collection's levels that are longer than an answer
// record holds (4096 moves), kept beside the collection's other records in a
// small text file of their own ("<set>.long"): a line per level, its number
// and its moves as "u", "d", "l", "r". The level's record in the .sol file
// stays empty. The .box sets' companion files are not touched.
#pragma once

#include "core/board.h"

#include <filesystem>
#include <map>
#include <string>

namespace sokoban {

// Where the long answers of a set are kept (beside its .bst and .sol).
std::filesystem::path longAnswersFile(const std::string& boxFile,
                                      const std::filesystem::path& appDir);

// By level; lines that cannot be read count as none, a missing or foreign
// file as no answers at all.
std::map<int, core::Moves> readLongAnswers(const std::filesystem::path& file);
core::Moves readLongAnswer(const std::filesystem::path& file, int level);

// Sets one level's long answer (none when `moves` is empty) in what the
// file holds at that moment, and writes the file whole and safely. Throws
// FileError.
void putLongAnswer(const std::filesystem::path& file, int level, const core::Moves& moves);

// The file's text for these answers, as putLongAnswer writes it.
std::string longAnswersText(const std::map<int, core::Moves>& answers);

} // namespace sokoban
