// Build-time helper: turns a data file into a C++ source that defines
//   extern const char NAME[];            (the bytes, NUL-terminated)
//   extern const std::size_t NAME_size;  (the byte count without the NUL)
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: embed_file INPUT OUTPUT.cpp SYMBOL\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "embed_file: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::FILE *out = std::fopen(argv[2], "w");
    if (!out) {
        std::fprintf(stderr, "embed_file: cannot write %s\n", argv[2]);
        return 1;
    }
    const std::string symbol = argv[3];
    std::fprintf(out, "#include <cstddef>\n\nextern const char %s[];\nextern const std::size_t %s_size;\n",
                 symbol.c_str(), symbol.c_str());
    std::fprintf(out, "const char %s[] = {", symbol.c_str());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        std::fprintf(out, "%s%d,", i % 24 == 0 ? "\n" : "", static_cast<signed char>(bytes[i]));
    std::fprintf(out, "\n0};\nconst std::size_t %s_size = %zu;\n", symbol.c_str(), bytes.size());
    return std::fclose(out) == 0 ? 0 : 1;
}
