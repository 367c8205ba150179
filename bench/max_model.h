#pragma once
// The 3DO text of a model filled to every capacity: 64 materials, 4 geosets
// of 32 meshes, each mesh with 500 vertices, 2000 texture vertices and 500
// faces of 10 corners, and 35 hierarchy nodes. About 24 MB and 2.9 million
// numbers besides the line numbers, laid out like a
// hand-made file (right-aligned columns, six decimals, CR LF line ends).
// The numbers are pseudo-random but the same on every run.
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace facetor::bench {

class MaxModelWriter {
  public:
    std::string text()
    {
        out_.reserve(24u << 20);
        line("# Largest model the editor holds");
        line("SECTION: HEADER");
        line("3DO 2.1");
        line("SECTION: MODELRESOURCE");
        line("MATERIALS 64");
        for (int i = 0; i < 64; ++i) {
            index(i);
            put(" mat");
            integer(i, 0);
            put(".mat");
            end_line();
        }
        line("SECTION: GEOMETRYDEF");
        line("RADIUS     12.500000");
        line("INSERT OFFSET 0.000000 0.000000 0.000000");
        line("GEOSETS 4");
        for (int g = 0; g < 4; ++g) {
            put("GEOSET ");
            integer(g, 0);
            end_line();
            line("MESHES 32");
            for (int m = 0; m < 32; ++m) {
                mesh(m);
            }
        }
        line("SECTION: HIERARCHYDEF");
        line("HIERARCHY NODES 35");
        for (int n = 0; n < 35; ++n) {
            node(n);
        }
        return std::move(out_);
    }

  private:
    void mesh(int m)
    {
        line("");
        put("MESH ");
        integer(m, 0);
        end_line();
        put("NAME mesh");
        integer(m, 0);
        end_line();
        line("RADIUS 1.250000");
        line("GEOMETRYMODE 4");
        line("LIGHTINGMODE 3");
        line("TEXTUREMODE 2");
        line("VERTICES 500");
        for (int v = 0; v < 500; ++v) {
            numbers_line(v, 4);
        }
        line("TEXTURE VERTICES 2000");
        for (int t = 0; t < 2000; ++t) {
            numbers_line(t, 2);
        }
        line("VERTEX NORMALS");
        for (int v = 0; v < 500; ++v) {
            numbers_line(v, 3);
        }
        line("FACES 500");
        for (int f = 0; f < 500; ++f) {
            index(f);
            integer(f % 64, 10);
            put(" 0x0000     4      3      2     0.000000     10");
            for (int k = 0; k < 10; ++k) {
                integer((f + 50 * k) % 500, 3);
                put(",");
                integer((f * 3 + k) % 501, 3);
            }
            end_line();
        }
        line("FACE NORMALS");
        for (int f = 0; f < 500; ++f) {
            numbers_line(f, 3);
        }
    }

    // A binary tree: node n carries mesh n of geoset 0 (the last three carry
    // none); links stay within the nodes that can be named (0..32).
    void node(int n)
    {
        const int parent = n == 0 ? -1 : (n - 1) / 2;
        const int child = 2 * n + 1 <= 32 ? 2 * n + 1 : -1;
        const int sibling = n % 2 == 1 && n + 1 <= 32 ? n + 1 : -1;
        const int children = (2 * n + 1 < 35) + (2 * n + 2 < 35);
        index(n);
        put("  0x0000 0x00001 ");
        integer(n < 32 ? n : -1, 4);
        integer(parent, 8);
        integer(child, 8);
        integer(sibling, 8);
        integer(children, 8);
        for (int k = 0; k < 9; ++k) {
            real();
        }
        put("  node");
        integer(n, 0);
        end_line();
    }

    void numbers_line(int i, int count)
    {
        index(i);
        for (int k = 0; k < count; ++k) {
            real();
        }
        end_line();
    }

    void index(int i)
    {
        integer(i, 5);
        put(":");
    }

    void integer(int value, int width)
    {
        char digits[16];
        const auto r = std::to_chars(digits, digits + sizeof digits, value);
        if (width > 0) {
            pad(width - static_cast<int>(r.ptr - digits));
        }
        out_.append(digits, static_cast<std::size_t>(r.ptr - digits));
    }

    // A value in [-10, 10) with six decimals, right-aligned in 10 columns.
    void real()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        const double value = static_cast<double>(state_ % 20'000'000) / 1e6 - 10.0;
        char digits[32];
        const auto r =
            std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6);
        pad(10 - static_cast<int>(r.ptr - digits));
        out_.append(digits, static_cast<std::size_t>(r.ptr - digits));
    }

    // At least one blank, so that columns never run together.
    void pad(int n) { out_.append(n > 1 ? static_cast<std::size_t>(n) : 1u, ' '); }
    void put(std::string_view s) { out_.append(s); }
    void end_line() { out_.append("\r\n"); }
    void line(std::string_view s)
    {
        put(s);
        end_line();
    }

    std::string out_;
    std::uint64_t state_ = 0x9E3779B97F4A7C15ULL;
};

inline std::string make_max_model_text()
{
    return MaxModelWriter().text();
}

// The text written to a file of its own for the process's life, so that a
// benchmark measures the file reads too.
class MaxModelFile {
  public:
    MaxModelFile()
        : path_(std::filesystem::temp_directory_path() /
                ("facetor_max_model_" + std::to_string(::getpid()) + ".3do"))
    {
        const std::string text = make_max_model_text();
        size_ = text.size();
        std::ofstream(path_, std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(size_));
    }
    ~MaxModelFile() { std::filesystem::remove(path_); }
    MaxModelFile(const MaxModelFile&) = delete;
    MaxModelFile& operator=(const MaxModelFile&) = delete;

    std::string path() const { return path_.string(); }
    std::size_t size() const { return size_; }

  private:
    std::filesystem::path path_;
    std::size_t size_ = 0;
};

} // namespace facetor::bench
