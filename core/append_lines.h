#pragma once

#include <filesystem>
#include <string>

namespace vell {

// How an append of whole lines went.
enum class AppendResult {
    Appended,  // every byte is in the file
    CutBack,   // nothing was appended: a partial write was cut back to the previous length
    Torn,      // the append failed and the partial line could not be cut off again
};

// Appends `text` (whole lines) to `file`, creating it when missing: all of it or nothing. A
// write that stops part-way (a full disk, a size limit) is cut back to the file's previous
// length, or the file is removed again when the append created it.
AppendResult AppendWholeLines(const std::filesystem::path& file, const std::string& text);

}  // namespace vell
