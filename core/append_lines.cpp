#include "core/append_lines.h"

#include <cstdio>
#include <system_error>

namespace vell {

AppendResult AppendWholeLines(const std::filesystem::path& file, const std::string& text) {
    std::error_code error;
    const bool existed = std::filesystem::exists(file, error);
    const std::uintmax_t before = existed ? std::filesystem::file_size(file, error) : 0;
    if (error) return AppendResult::CutBack;
    std::FILE* out = std::fopen(file.string().c_str(), "ab");
    if (!out) return AppendResult::CutBack;
    bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    written = std::fflush(out) == 0 && written;
    written = std::fclose(out) == 0 && written;
    if (written) return AppendResult::Appended;
    std::error_code cut;
    if (existed)
        std::filesystem::resize_file(file, before, cut);
    else
        std::filesystem::remove(file, cut);
    return cut ? AppendResult::Torn : AppendResult::CutBack;
}

}  // namespace vell
