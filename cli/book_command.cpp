#include <iostream>

#include "book/book.h"
#include "cli/args.h"
#include "cli/command_options.h"
#include "cli/commands.h"
#include "core/file_names.h"

namespace vell::cli {

int RunBook(const std::vector<std::string>& argv) {
    Args args(argv, BookOptionRules, 0);
    const Board board = args.BoardOption(StartPosition());
    Book book;
    const BookLoadStatus status = book.Load(args.Value("--book").value_or(BookFileName));
    if (!status.ok) {
        std::cerr << "vellcli book: " << status.message << "\n";
        return 1;
    }
    const BookLookup found = book.Lookup(board, 60 - CountStones(board)[Empty]);
    if (!found.found) {
        std::cout << "found=0\n";
        return 0;
    }
    const BookRecord& record = book.Records()[static_cast<std::size_t>(found.index)];
    std::cout << "found=1 index=" << found.index << " value=" << found.value
              << " count=" << record.count << " sum=" << record.sum << "\n";
    return 0;
}

}  // namespace vell::cli
