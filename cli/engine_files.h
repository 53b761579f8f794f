#pragma once

#include <string>

#include "book/book.h"
#include "cli/args.h"
#include "learning/weights.h"

namespace vell::cli {

// The opening book and the weights as the program loads them at start-up: --book FILE and
// --weights FILE, by default book.dat and weight4.dat in the working directory. A file that does
// not exist loads as missing (an empty book, zero weights); a book that exists but cannot be
// read is an error (std::runtime_error naming the file). The pattern tables are ready after.
struct EngineFiles {
    Book book;
    Weights weights;
};
void LoadEngineFiles(const Args& args, EngineFiles& files);

}  // namespace vell::cli
