// The one set of test data helpers for every test program: a BMP builder, a scratch folder,
// whole-file bytes, little-endian fields and the thermal-line form of the project file.
// Standard library only, so the core tests, the GUI tests, the driver and the fuzz seeds share it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace testdata {

// Writes value little-endian into size bytes at the offset, growing the text when needed.
inline void Put(std::string& bytes, size_t at, uint32_t value, int size = 4) {
    bytes.resize(std::max(bytes.size(), at + size));
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}
inline std::string With(std::string bytes, size_t at, uint32_t value, int size = 4) { return Put(bytes, at, value, size), bytes; }

// The whole file; "(missing)" when it cannot be opened.
inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "(missing)";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
inline bool WriteBytes(const std::string& path, const std::string& bytes) {
    return static_cast<bool>(std::ofstream(path, std::ios::binary) << bytes);
}

// A BMP file: width x |height| at 1, 4, 8 or 24 bits (deeper ones get no table); a positive height
// stores the rows bottom first. pixel(x, y) gives the index, or the 0xRRGGBB colour at 24 bits;
// without it byte k of top-first row r holds r * 31 + k * 7 + 1. Colour table entry k is
// (k, 2k, 3k, 0). The rows alone, top first, with rowsOnly.
using PixelFunction = std::function<uint32_t(int x, int y)>;
inline std::string Bmp(int32_t width, int32_t height, int bits, PixelFunction pixel = nullptr,
                       bool rowsOnly = false) {
    const int64_t rowSize = (int64_t{width} * bits + 31) / 32 * 4;
    const int64_t rows = height < 0 ? -int64_t{height} : height;
    const uint32_t colours = bits <= 8 ? 1u << bits : 0;
    const uint32_t offset = rowsOnly ? 0 : 54 + 4 * colours;
    std::string b(offset + static_cast<size_t>(rowSize * rows), '\0');
    for (int64_t r = 0; r < rows; ++r) {
        const size_t at = offset + static_cast<size_t>((rowsOnly || height < 0 ? r : rows - 1 - r) * rowSize);
        for (int64_t k = 0; k < rowSize; ++k) b[at + k] = static_cast<char>(r * 31 + k * 7 + 1);
        if (!pixel) continue;
        for (int x = 0; x < width; ++x) {
            const uint32_t v = pixel(x, static_cast<int>(r));
            if (bits == 24) {
                Put(b, at + 3 * x, v, 3);
            } else {
                const int bit = x * bits, shift = 8 - bits - bit % 8;
                uint8_t& byte = reinterpret_cast<uint8_t&>(b[at + bit / 8]);
                byte = static_cast<uint8_t>((byte & ~(((1 << bits) - 1) << shift)) | (v & ((1 << bits) - 1)) << shift);
            }
        }
    }
    if (rowsOnly) return b;
    b[0] = 'B', b[1] = 'M';
    Put(b, 2, static_cast<uint32_t>(b.size())), Put(b, 10, offset), Put(b, 14, 40);
    Put(b, 18, static_cast<uint32_t>(width)), Put(b, 22, static_cast<uint32_t>(height));
    Put(b, 26, 1, 2), Put(b, 28, static_cast<uint32_t>(bits), 2);
    Put(b, 34, static_cast<uint32_t>(rowSize * rows));
    for (uint32_t k = 0; k < colours; ++k) Put(b, 54 + 4 * k, k | (2 * k & 0xFF) << 8 | (3 * k & 0xFF) << 16);
    return b;
}
// One thermal line of the project file: the thirteen numbers with commas.
template <typename T>
std::string ThermalLine(const T& t) {
    const long long f[] = {t.lat, t.lon, t.type, t.bottom, t.top, t.radius, t.windDir, t.factor,
                           t.cloudOn, t.cloudParam, t.cloudCeiling, t.cloudSize, t.cloudType};
    std::string line;
    for (long long v : f) line += (line.empty() ? "" : ",") + std::to_string(v);
    return line;
}

// Lines of a text; a CR before each LF is dropped.
inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start - (end > start && text[end - 1] == '\r')));
        start = end + 1;
    }
    return lines;
}

// A fresh folder under the temporary folder, removed with the object.
class Scratch {
public:
    Scratch() {
        namespace fs = std::filesystem;
        static int serial = 0;
        const auto stamp = std::to_string(fs::file_time_type::clock::now().time_since_epoch().count());
        for (int n = 0; path_.empty() && n < 1000; ++n) {
            const fs::path candidate = fs::temp_directory_path() / ("ascendor-" + stamp + "-" + std::to_string(++serial));
            std::error_code error;
            if (fs::create_directory(candidate, error)) path_ = candidate.string();
        }
    }
    ~Scratch() {
        namespace fs = std::filesystem;
        std::error_code ignored;
        // The program's file dialogs make folders in here current; leave before removing them.
        const std::string current = fs::current_path(ignored).string();
        if (current.compare(0, path_.size(), path_) == 0) fs::current_path(fs::path(path_).parent_path(), ignored);
        fs::remove_all(path_, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return (std::filesystem::path(path_) / name).make_preferred().string(); }
    bool Copy(const std::string& source, const std::string& name) const {
        std::error_code error;
        return std::filesystem::copy_file(source, File(name), std::filesystem::copy_options::overwrite_existing, error);
    }
    bool Write(const std::string& name, const std::string& bytes) const { return WriteBytes(File(name), bytes); }
    std::string Read(const std::string& name) const { return ReadBytes(File(name)); }
    bool Exists(const std::string& name) const { return std::filesystem::exists(File(name)); }
    // Every entry under the folder matching "prefix*suffix" (or all with "*"), relative and sorted;
    // folders end in '/'.
    std::vector<std::string> Names(const std::string& pattern = "*") const {
        namespace fs = std::filesystem;
        const size_t star = pattern.find('*');
        const std::string prefix = pattern.substr(0, star), suffix = star == std::string::npos ? "" : pattern.substr(star + 1);
        std::vector<std::string> names;
        std::error_code error;
        for (fs::recursive_directory_iterator it(path_, error), end; !error && it != end; it.increment(error)) {
            std::string name = fs::relative(it->path(), path_).generic_string() + (it->is_directory() ? "/" : "");
            if (name.size() >= prefix.size() + suffix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
                name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
                names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string path_;
};

}  // namespace testdata
