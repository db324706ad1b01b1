// Writing generated C++ sources. The text is built in memory and written to a temporary file
// that is renamed over the target only when complete, so a failed run never leaves a partial
// source behind for the build to compile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace qorvi_tools::ucd {

class Source_Writer {
public:
    // Starts the file with a header comment naming the generator and its data.
    Source_Writer(std::string_view generator, std::string_view description);

    // Appends text and a line end.
    void line(std::string_view text = {});

    // Appends "<declaration> = {{" then the values in hexadecimal (hex_digits wide, per_line on
    // a line) and "}};". Values are written as unsigned numbers; signed types must hold
    // non-negative values.
    template <typename Value>
    void array(std::string_view declaration, std::span<const Value> values, int hex_digits,
               std::size_t per_line) {
        begin_array(declaration);
        for (std::size_t i = 0; i < values.size(); ++i) {
            if constexpr (std::is_signed_v<Value>) {
                if (values[i] < 0) {
                    throw_negative();
                }
            }
            array_value(static_cast<std::uint64_t>(values[i]), hex_digits, i % per_line == 0,
                        i + 1 == values.size());
        }
        end_array();
    }

    // Writes the text to path (through a temporary file in the same folder).
    void save(const std::filesystem::path& path) const;

private:
    void begin_array(std::string_view declaration);
    void array_value(std::uint64_t value, int hex_digits, bool line_start, bool last);
    void end_array();
    [[noreturn]] static void throw_negative();

    std::string text_;
};

} // namespace qorvi_tools::ucd
