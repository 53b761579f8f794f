#include "learning/weight_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <system_error>

#include <iconv.h>

#include "core/folder_lock.h"

namespace vell {

namespace {

constexpr std::size_t NoteOffset = 16;  // within the header

WeightHeader DefaultHeader(std::string_view note) {
    WeightHeader header;
    header.major = 4;
    header.minor = 0;
    header.revision = 1;
    header.trainingGames = 0;
    std::copy(note.begin(), note.end(), header.note.begin());
    return header;
}

void PutInt(std::uint8_t* out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetInt(const std::uint8_t* in, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= std::uint32_t{in[i]} << (8 * i);
    return value;
}

WeightHeader DecodeHeader(const std::array<std::uint8_t, WeightHeaderBytes>& raw) {
    WeightHeader header;
    header.major = static_cast<std::int32_t>(GetInt(&raw[0], 4));
    header.minor = static_cast<std::int32_t>(GetInt(&raw[4], 4));
    header.revision = static_cast<std::int32_t>(GetInt(&raw[8], 4));
    header.trainingGames = static_cast<std::int32_t>(GetInt(&raw[12], 4));
    std::copy(raw.begin() + NoteOffset, raw.end(), header.note.begin());
    return header;
}

constexpr std::string_view Replacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

}  // namespace

Weights DecodeWeightFile(std::span<const std::uint8_t> bytes) {
    Weights weights;
    const std::size_t whole = std::min(bytes.size() / 2, std::size_t{WeightTableSize});
    for (std::size_t i = 0; i < whole; ++i)
        weights.table[i] = static_cast<std::int16_t>(GetInt(&bytes[2 * i], 2));
    if (bytes.size() == WeightBlockBytes) {
        weights.header = DefaultHeader(NoHeaderNote);
    } else if (bytes.size() > WeightBlockBytes) {
        std::array<std::uint8_t, WeightHeaderBytes> raw{};
        const auto covered = std::min(bytes.size() - WeightBlockBytes, WeightHeaderBytes);
        std::copy_n(bytes.begin() + WeightBlockBytes, covered, raw.begin());
        weights.header = DecodeHeader(raw);
    }
    return weights;
}

std::vector<std::uint8_t> EncodeWeightFile(const Weights& weights) {
    std::vector<std::uint8_t> bytes(WeightFileBytes, 0);
    for (std::size_t i = 0; i < WeightTableSize && i < weights.table.size(); ++i)
        PutInt(&bytes[2 * i], static_cast<std::uint16_t>(weights.table[i]), 2);
    std::uint8_t* header = &bytes[WeightBlockBytes];
    PutInt(header + 0, static_cast<std::uint32_t>(weights.header.major), 4);
    PutInt(header + 4, static_cast<std::uint32_t>(weights.header.minor), 4);
    PutInt(header + 8, static_cast<std::uint32_t>(weights.header.revision), 4);
    PutInt(header + 12, static_cast<std::uint32_t>(weights.header.trainingGames), 4);
    std::copy(weights.header.note.begin(), weights.header.note.end(), header + NoteOffset);
    return bytes;
}

std::string HeaderDamage(const WeightHeader& header) {
    if (header.trainingGames < 0)
        return "トレーニング試合数が負の値(" + std::to_string(header.trainingGames) + ")です。";
    const auto* note = reinterpret_cast<const unsigned char*>(header.note.data());
    const std::size_t size = header.note.size();
    std::size_t i = 0;
    for (; i < size && note[i] != 0; ++i) {
        const unsigned char c = note[i];
        const bool lead = (c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc);
        if (lead) {
            const unsigned char trail = i + 1 < size ? note[i + 1] : 0;
            if (trail < 0x40 || trail == 0x7f || trail > 0xfc) break;
            ++i;
        } else if (c < 0x20 ? c != '\t' && c != '\n' && c != '\r'
                            : c == 0x7f || c == 0x80 || c == 0xa0 || c > 0xfc) {
            break;
        }
    }
    if (i < size && note[i] == 0) return {};
    return "特記事項が文字列として読めません。";
}

Weights LoadWeights(const std::filesystem::path& file, WeightLoadStatus* status) {
    Weights missing;
    missing.header = DefaultHeader(NoFileNote);
    WeightLoadStatus ignored;
    WeightLoadStatus& result = status ? *status : ignored;
    result = {};
    result.missing = true;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return missing;
    std::ifstream in(file, std::ios::binary);
    if (!in) return missing;
    std::vector<std::uint8_t> bytes(WeightFileBytes);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return missing;
    result.missing = false;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    Weights weights = DecodeWeightFile(bytes);
    if (std::string damage = HeaderDamage(weights.header); !damage.empty()) {
        result.damaged = true;
        result.message = "重みファイル " + file.string() + " は壊れています。" + damage;
        return missing;
    }
    return weights;
}

std::string MissingWeightsText(const std::filesystem::path& file) {
    return "重みファイル " + file.string() + " がありません。重みをすべて0にして続けます。";
}

WeightSaveStatus WriteWeightFile(const std::filesystem::path& file, const Weights& weights) {
    const std::filesystem::path temporary = TemporaryFileFor(file);
    const std::vector<std::uint8_t> bytes = EncodeWeightFile(weights);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return {false, "重みファイル " + temporary.string() + " を作れません。"};
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.flush();
        out.close();
        if (out.fail()) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return {false, "重みファイル " + temporary.string() + " に書き込めません。"};
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return {false, "重みファイル " + file.string() + " を置き換えられません。(" +
                           error.message() + ")"};
    }
    return {};
}

std::int32_t AddTrainingGames(std::int32_t count, int games) {
    const std::int64_t sum = std::int64_t{std::max(count, 0)} + std::max(games, 0);
    return static_cast<std::int32_t>(std::min<std::int64_t>(sum, INT32_MAX));
}

WeightSaveStatus SaveTrainedWeights(const std::filesystem::path& file, Weights& weights,
                                    int gamesTrained) {
    WeightHeader& header = weights.header;
    header.trainingGames = AddTrainingGames(header.trainingGames, gamesTrained);
    std::copy(TrainedNote.begin(), TrainedNote.end(), header.note.begin());
    header.note[TrainedNote.size()] = '\0';
    return WriteWeightFile(file, weights);
}

std::string ShiftJisToUtf8(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::string utf8;
    const iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(std::intptr_t{-1})) {
        // No converter installed: keep what is plain ASCII.
        for (const char c : text)
            if (static_cast<unsigned char>(c) < 0x80)
                utf8 += c;
            else
                utf8 += Replacement;
        return utf8;
    }
    std::string input(text);
    char* in = input.data();
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        char buffer[256];
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
        utf8.append(buffer, static_cast<std::size_t>(out - buffer));
        if (converted == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // Not Shift-JIS here, or cut off at the end: replace one byte and go on.
            utf8 += Replacement;
            ++in;
            --inLeft;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(converter);
    return utf8;
}

std::string DataInfoText(const WeightHeader& header, std::string_view fileName) {
    char version[64];
    std::snprintf(version, sizeof version, "%2d.%02d.%02d", header.major, header.minor,
                  header.revision);
    const std::string_view note(header.note.data(), header.note.size());
    return "ファイル名:" + std::string(fileName) + "\nバージョン:" + std::string(version) +
           "\nトレーニング試合数:" + std::to_string(header.trainingGames) +
           "\n特記事項:" + ShiftJisToUtf8(note) + "\n";
}

}  // namespace vell
