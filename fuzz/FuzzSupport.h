#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace parvane::fuzz {

// The bytes libFuzzer hands to a target, as text.
inline std::string_view asText(const std::uint8_t* data, std::size_t size) noexcept
{
    return {reinterpret_cast<const char*>(data), size};
}

// A folder of this fuzzing process under the system's temporary folder, created on first use and
// named after the process id, so that targets running side by side never share files. The folder
// is left behind when the process ends (libFuzzer ends it with exit); it holds a few small files.
inline const std::filesystem::path& processFolder()
{
    static const std::filesystem::path folder = [] {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("parvane-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

// Replaces the content of `file` by `bytes`. Aborts when the file cannot be written: a fuzzing
// run on a broken temporary folder would only test the error paths.
inline void writeBytes(const std::filesystem::path& file, std::string_view bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        __builtin_trap();
}

// Stops the run with a crash that libFuzzer records, when a property of the code does not hold.
inline void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace parvane::fuzz
