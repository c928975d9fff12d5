// Writes a seed corpus for each fuzz target: fuzz_seeds DIR makes DIR/bitmap, DIR/project,
// DIR/coordinates and DIR/setup with ordinary and hostile examples.
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>
#include <sys/stat.h>

namespace {

void Put(const std::string& folder, int number, const std::string& bytes) {
    std::string name = folder + "/seed" + std::to_string(number);
    if (FILE* file = std::fopen(name.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

void Le(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

// A bitmap of the given size and depth, its rows filled with a pattern.
std::string Bitmap(int32_t width, int32_t height, int bitCount, uint32_t compression = 0) {
    int64_t rowSize = ((int64_t{width} * bitCount + 31) / 32) * 4;
    int64_t absHeight = height < 0 ? -int64_t{height} : height;
    uint32_t colours = bitCount == 24 ? 0 : 1u << bitCount;
    uint32_t offset = 54 + 4 * colours;
    std::string out = "BM";
    Le(out, static_cast<uint32_t>(offset + rowSize * absHeight), 4);
    Le(out, 0, 4);
    Le(out, offset, 4);
    Le(out, 40, 4);
    Le(out, static_cast<uint32_t>(width), 4);
    Le(out, static_cast<uint32_t>(height), 4);
    Le(out, 1, 2);
    Le(out, static_cast<uint32_t>(bitCount), 2);
    Le(out, compression, 4);
    for (int i = 0; i < 5; ++i) Le(out, 0, 4);
    for (uint32_t c = 0; c < colours; ++c) Le(out, c * 0x010203u, 4);
    for (int64_t i = 0; i < rowSize * absHeight && i < 4096; ++i) out.push_back(static_cast<char>(i * 7));
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
        return 2;
    }
    std::string root = argv[1];
    for (const char* sub : {"", "/bitmap", "/project", "/coordinates", "/setup"}) mkdir((root + sub).c_str(), 0755);

    int n = 0;
    for (std::string b : {Bitmap(5, 3, 24), Bitmap(5, -3, 24), Bitmap(9, 2, 4), Bitmap(33, 2, 1), Bitmap(5, 2, 8),
                          Bitmap(1, 1, 24), Bitmap(4, 4, 8, 1), Bitmap(3, 3, 16), Bitmap(0, 3, 24),
                          Bitmap(20000, 20000, 24).substr(0, 60), Bitmap(5, 3, 24).substr(0, 30)})
        Put(root + "/bitmap", n++, b);

    n = 0;
    const std::string header = "area.bmp\r\n53:30.000N\r\n51:15.500N\r\n003:20.000E\r\n007:10.000E\r\n";
    Put(root + "/project", n++, header);
    Put(root + "/project", n++, header + "5250833,525833,1,0,1500,500,270,0,1,0,1500,1000,1\r\n");
    Put(root + "/project", n++, "a.bmp\n52:00.000N\n51:00.000N\n004:00.000E\n005:00.000E\n1,2,3\n-2147483648,99999999999999999999,5\n");
    Put(root + "/project", n++, std::string(600, 'x') + "\r\n");
    Put(root + "/project", n++, header + std::string(300, '1') + "," + std::string(100, ',') + "\t7");
    Put(root + "/project", n++, std::string("\0\1\2BM\xff\xfe", 8));

    n = 0;
    for (const char* t : {"52:30.500N", "004:53.000E", "90:00.000S", "180:00.000W", "5:30.000N", "52:30.500",
                          "52:3x.500N", "52:30500N", "xx:yy.zzzN", "-1:-1.-1S", "999:99.999E", "52:30.500NS"}) {
        std::string seed(1, static_cast<char>(std::string(t).size()));
        seed += t;
        Put(root + "/coordinates", n++, seed);
    }

    n = 0;
    Put(root + "/setup", n++, std::string("\x02" "52\x02" "30\x03" "500\x01n\x02" "51\x02" "00\x03" "000\x01N"
                                          "\x03" "004\x02" "00\x03" "000\x01" "E\x03" "005\x02" "00\x03" "000\x01" "E"));
    Put(root + "/setup", n++, std::string(64, '\0'));
    Put(root + "/setup", n++, std::string(64, '\x03'));
    return 0;
}
