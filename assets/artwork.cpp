// Generates the window's skin bitmap (302 x 199, 256 colours) and its icon
// (32 x 32, 16 colours) from the description below.
//
//   artwork --write DIR   writes DIR/skin.bmp and DIR/icon.ico
//   artwork --check DIR   exits 1 unless those files are what this source makes
//
// Edit the regions or the icon's pixel rows here, then refresh the committed
// files with: cmake --build --preset release --target artwork-update
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Rgb
{
    std::uint8_t r, g, b;
    bool operator==(const Rgb &) const = default;
};

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes &out, unsigned value)
{
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void put32(Bytes &out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// BITMAPINFOHEADER of an uncompressed palette image.
void putInfoHeader(
    Bytes &out, int width, int height, int bitsPerPixel, int colours, std::uint32_t imageSize)
{
    put32(out, 40);
    put32(out, std::uint32_t(width));
    put32(out, std::uint32_t(height));
    put16(out, 1);
    put16(out, unsigned(bitsPerPixel));
    put32(out, 0); // BI_RGB
    put32(out, imageSize);
    put32(out, 3780); // 96 dots per inch
    put32(out, 3780);
    put32(out, std::uint32_t(colours));
    put32(out, 0);
}

void putPalette(Bytes &out, const std::vector<Rgb> &palette, std::size_t entries)
{
    for (std::size_t i = 0; i < entries; ++i) {
        const Rgb c = i < palette.size() ? palette[i] : Rgb { 0, 0, 0 };
        out.insert(out.end(), { c.b, c.g, c.r, 0 });
    }
}

// ---------------------------------------------------------------- the skin

constexpr int kSkinWidth = 302;
constexpr int kSkinHeight = 199;

constexpr Rgb kDarkNavy { 0, 0, 82 };
constexpr Rgb kNavyEdge { 0, 0, 102 };
constexpr Rgb kTitle { 96, 96, 131 };
constexpr Rgb kBody { 136, 136, 207 };
constexpr Rgb kBevelLight { 148, 148, 194 };
constexpr Rgb kBevel { 90, 90, 189 };
constexpr Rgb kBevelDark { 66, 66, 165 };
constexpr Rgb kRightOuter { 67, 67, 180 };
constexpr Rgb kCloseRed { 199, 22, 22 };
constexpr Rgb kCloseInner { 159, 120, 120 };
constexpr Rgb kCloseOuter { 59, 59, 125 };
constexpr Rgb kBlack { 0, 0, 0 };

class IndexedImage
{
public:
    IndexedImage(int width, int height)
        : m_width(width)
        , m_height(height)
        , m_pixels(std::size_t(width) * std::size_t(height), 0)
    { }

    void fill(int x0, int y0, int x1, int y1, Rgb colour) // inclusive corners
    {
        const std::uint8_t index = indexOf(colour);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                m_pixels[std::size_t(y) * std::size_t(m_width) + std::size_t(x)] = index;
    }

    void set(int x, int y, Rgb colour) { fill(x, y, x, y, colour); }

    // An 8-bit BMP file with a full 256-entry palette, rows bottom-up.
    Bytes bmp() const
    {
        const int stride = (m_width + 3) & ~3;
        const std::uint32_t imageSize = std::uint32_t(stride) * std::uint32_t(m_height);
        const std::uint32_t offset = 14 + 40 + 256 * 4;
        Bytes out;
        out.push_back('B');
        out.push_back('M');
        put32(out, offset + imageSize);
        put32(out, 0);
        put32(out, offset);
        putInfoHeader(out, m_width, m_height, 8, 256, imageSize);
        putPalette(out, m_palette, 256);
        for (int y = m_height - 1; y >= 0; --y) {
            const auto row = m_pixels.begin() + std::ptrdiff_t(y) * m_width;
            out.insert(out.end(), row, row + m_width);
            out.insert(out.end(), std::size_t(stride - m_width), 0);
        }
        return out;
    }

private:
    std::uint8_t indexOf(Rgb colour)
    {
        for (std::size_t i = 0; i < m_palette.size(); ++i)
            if (m_palette[i] == colour)
                return std::uint8_t(i);
        if (m_palette.size() == 256)
            throw std::runtime_error("the skin uses more than 256 colours");
        m_palette.push_back(colour);
        return std::uint8_t(m_palette.size() - 1);
    }

    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_pixels;
    std::vector<Rgb> m_palette { kBlack };
};

// A bevelled strip six rows high: a light line, four rows, a dark line.
void bevelStrip(IndexedImage &image, int top)
{
    image.fill(0, top, kSkinWidth - 1, top, kBevelLight);
    image.fill(0, top + 1, kSkinWidth - 1, top + 4, kBevel);
    image.fill(0, top + 5, kSkinWidth - 1, top + 5, kBevelDark);
}

// Left and right edges beside the title band or the body (rows top to bottom).
void sideEdges(IndexedImage &image, int top, int bottom)
{
    image.fill(0, top, 0, bottom, kDarkNavy);
    image.fill(1, top, 2, bottom, kNavyEdge);
    image.fill(297, top, 298, bottom, kBevel);
    image.fill(299, top, 301, bottom, kRightOuter);
}

// The close mark: a square button on the title band with a black cross.
void closeMark(IndexedImage &image)
{
    constexpr int left = 279, top = 6, right = 294, bottom = 19;
    image.fill(left, top, right - 1, top, kCloseRed);
    image.fill(left, top, left, bottom - 1, kCloseRed);
    image.fill(right - 1, top + 1, right - 1, bottom - 1, kCloseInner);
    image.fill(left + 1, bottom - 1, right - 1, bottom - 1, kCloseInner);
    image.fill(right, top, right, bottom, kCloseOuter);
    image.fill(left, bottom, right, bottom, kCloseOuter);

    constexpr std::array<std::string_view, 7> cross {
        "XX....XX",
        ".XX..XX.",
        "..XXXX..",
        "...XX...",
        "..XXXX..",
        ".XX..XX.",
        "XX....XX",
    };
    for (int row = 0; row < int(cross.size()); ++row)
        for (int col = 0; col < int(cross[std::size_t(row)].size()); ++col)
            if (cross[std::size_t(row)][std::size_t(col)] == 'X')
                image.set(283 + col, 9 + row, kBlack);
}

Bytes skin()
{
    IndexedImage image(kSkinWidth, kSkinHeight);

    // Top edge: dark navy, darker at the left end, shading to blue at the right.
    for (int x = 0; x < kSkinWidth; ++x) {
        int blue = kDarkNavy.b;
        if (x < 60)
            blue = 50 + (kDarkNavy.b - 50) * x / 60;
        else if (x > 200)
            blue = kDarkNavy.b + (170 - kDarkNavy.b) * (x - 200) / (kSkinWidth - 1 - 200);
        image.fill(x, 0, x, 3, Rgb { 0, 0, std::uint8_t(blue) });
    }

    image.fill(3, 4, 296, 21, kTitle);
    sideEdges(image, 4, 21);
    closeMark(image);

    bevelStrip(image, 22);
    image.fill(0, 28, kSkinWidth - 1, 31, kDarkNavy);

    image.fill(3, 32, 296, 192, kBody);
    sideEdges(image, 32, 192);
    bevelStrip(image, 193);

    // The right bevel turns lighter where it meets the horizontal strips.
    for (const int y : { 21, 32, 192 })
        image.fill(297, y, 301, y, kBevelLight);

    return image.bmp();
}

// ---------------------------------------------------------------- the icon

// The 16 standard colours; the icon's rows below name them by hex digit.
constexpr std::array<Rgb, 16> kIconPalette { {
    { 0, 0, 0 },
    { 128, 0, 0 },
    { 0, 128, 0 },
    { 128, 128, 0 },
    { 0, 0, 128 },
    { 128, 0, 128 },
    { 0, 128, 128 },
    { 192, 192, 192 },
    { 128, 128, 128 },
    { 255, 0, 0 },
    { 0, 255, 0 },
    { 255, 255, 0 },
    { 0, 0, 255 },
    { 255, 0, 255 },
    { 0, 255, 255 },
    { 255, 255, 255 },
} };

// A mobile handset seen from the front: antenna at the top left, cyan
// display, a row of coloured keys, grey keypad. '.' is transparent.
constexpr std::array<std::string_view, 32> kIconRows {
    "........000.....................",
    ".......08870....................",
    ".......08870....................",
    "........080.....................",
    "........080.....................",
    "........080.....................",
    ".......008000000000000000.......",
    ".......0ff777777777777780.......",
    ".......0f7777700000777780.......",
    ".......0f7777777777777780.......",
    ".......0f0000000000000080.......",
    ".......0f0eeeeeeeeeeee080.......",
    ".......0f0e66eeeeeeeee080.......",
    ".......0f0eeeeeeeeeeee080.......",
    ".......0f0e666666eeeee080.......",
    ".......0f0eeeeeeeeeeee080.......",
    ".......0f0eeeeeee666ee080.......",
    ".......0f0000000000000080.......",
    ".......0f7777777777777780.......",
    ".......0f7aaa7cccc7999780.......",
    ".......0f7777777777777780.......",
    ".......0f7777777777777780.......",
    ".......0f7888788887888780.......",
    ".......0f7777777777777780.......",
    ".......0f7888788887888780.......",
    ".......0f7777777777777780.......",
    ".......0f7888788887888780.......",
    ".......0f7777777777777780.......",
    ".......0f7888788887888780.......",
    ".......0f7777777777777780.......",
    ".......0f8888888888888880.......",
    ".......000000000000000000.......",
};

int hexValue(char c)
{
    return c <= '9' ? c - '0' : c - 'a' + 10;
}

// A Windows icon file holding one 32 x 32 image at 4 bits per pixel.
Bytes icon()
{
    constexpr int size = 32;
    for (const std::string_view row : kIconRows)
        if (row.size() != size)
            throw std::runtime_error("every icon row must be 32 pixels: " + std::string(row));

    const std::uint32_t xorSize = size * size / 2;
    const std::uint32_t andSize = size * size / 8;
    const std::uint32_t imageSize = 40 + 16 * 4 + xorSize + andSize;
    Bytes out;
    put16(out, 0);
    put16(out, 1); // icon
    put16(out, 1); // one image
    out.insert(out.end(), { size, size, 16, 0 });
    put16(out, 1);
    put16(out, 4);
    put32(out, imageSize);
    put32(out, 6 + 16);
    putInfoHeader(out, size, 2 * size, 4, 16, xorSize + andSize);
    putPalette(out, { kIconPalette.begin(), kIconPalette.end() }, 16);
    for (int y = size - 1; y >= 0; --y) {
        const std::string_view row = kIconRows[std::size_t(y)];
        for (int x = 0; x < size; x += 2) {
            const auto pixel = [&](int at) {
                return row[std::size_t(at)] == '.' ? 0 : hexValue(row[std::size_t(at)]);
            };
            out.push_back(std::uint8_t(pixel(x) << 4 | pixel(x + 1)));
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        const std::string_view row = kIconRows[std::size_t(y)];
        for (int x = 0; x < size; x += 8) {
            std::uint8_t mask = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (row[std::size_t(x) + std::size_t(bit)] == '.')
                    mask |= std::uint8_t(0x80 >> bit);
            out.push_back(mask);
        }
    }
    return out;
}

// ---------------------------------------------------------------- main

Bytes readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

bool writeFile(const std::string &path, const Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

} // namespace

int main(int argc, char **argv)
{
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode != "--write" && mode != "--check") {
        std::fprintf(stderr, "usage: artwork --write|--check DIR\n");
        return 2;
    }
    const std::string dir = argv[2];
    int status = 0;
    for (const auto &[name, bytes] :
        { std::pair { "skin.bmp", skin() }, std::pair { "icon.ico", icon() } }) {
        const std::string path = dir + "/" + name;
        if (mode == "--write" && !writeFile(path, bytes)) {
            std::fprintf(stderr, "artwork: cannot write %s\n", path.c_str());
            status = 1;
        } else if (mode == "--check" && readFile(path) != bytes) {
            std::fprintf(stderr,
                "artwork: %s is not what artwork.cpp makes; build the artwork-update target\n",
                path.c_str());
            status = 1;
        }
    }
    return status;
}
