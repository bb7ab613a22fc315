#include "support/fuzz_check.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>

namespace fuzzsupport {

namespace {

std::string& InputName() {
    static std::string name;
    return name;
}

class Scratch {
  public:
    Scratch() {
        std::random_device rd;
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            auto candidate = base / ("depuraciones-fuzz-" + std::to_string(rd()));
            if (std::filesystem::create_directory(candidate)) {
                path_ = candidate.string();
                return;
            }
        }
        throw std::runtime_error("cannot create a temporary folder");
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace

void SetInputName(std::string name) {
    InputName() = std::move(name);
}

std::string Escaped(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && c != '\\') {
            out += c;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", u);
            out += buf;
        }
    }
    return out;
}

void Fail(const std::string& what, std::string_view input) {
    std::fprintf(stderr, "\n*** property broken: %s\n", what.c_str());
    if (!InputName().empty()) std::fprintf(stderr, "*** input file: %s\n", InputName().c_str());
    const std::string shown = Escaped(input.substr(0, 4000));
    std::fprintf(stderr, "*** input (%zu bytes): %s%s\n", input.size(), shown.c_str(),
                 input.size() > 4000 ? "..." : "");
    std::fflush(stderr);
    std::abort();
}

const std::string& ScratchFolder() {
    static const Scratch scratch;
    return scratch.Path();
}

}  // namespace fuzzsupport
