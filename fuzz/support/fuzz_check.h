#pragma once
// What every fuzz target shares: reporting a broken property (the run stops there, so that
// both libFuzzer and the replay program show the input), reading a structured input byte by
// byte, and a scratch folder for targets that read files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzzsupport {

// Name of the input being replayed, printed with a failure (empty under libFuzzer, which
// saves the input itself).
void SetInputName(std::string name);

// Prints `what` and the input as escaped text, then aborts.
[[noreturn]] void Fail(const std::string& what, std::string_view input);

inline void Require(bool ok, const std::string& what, std::string_view input) {
    if (!ok) Fail(what, input);
}

// Non-printable bytes as \xHH, the rest as they are.
std::string Escaped(std::string_view bytes);

// Reads a fuzzer input as a few choices followed by free text.
class InputReader {
  public:
    InputReader(const std::uint8_t* data, std::size_t size)
        : bytes_(reinterpret_cast<const char*>(data), size) {}
    // The next byte (0 once the input is used up).
    std::uint8_t Byte() {
        return pos_ < bytes_.size() ? static_cast<std::uint8_t>(bytes_[pos_++]) : 0;
    }
    // One of `count` choices (count > 0).
    std::size_t Choice(std::size_t count) { return Byte() % count; }
    std::string_view Rest() const {
        return bytes_.substr(pos_ < bytes_.size() ? pos_ : bytes_.size());
    }
    std::string_view All() const { return bytes_; }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// A folder of the process's own under the system's temporary folder, removed at exit.
const std::string& ScratchFolder();

}  // namespace fuzzsupport
