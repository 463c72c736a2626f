#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// Reads typed values off the front of a fuzzer's input, so that one input
// sets a handful of parameters. Past the end every value is zero (or empty),
// so any input, however short, is a complete case. Take values into named
// variables, one per statement: two takes in one call's arguments would be
// read in an order that differs between compilers, and a saved input would
// mean another case in the replay than in the fuzzer.
class TFuzzInput {
public:
    TFuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Remaining() const { return size_ - used_; }

    // The next sizeof(T) bytes as a T (any bit pattern: NaNs, infinities and
    // denormals included for floating-point types).
    template <typename T> T Take()
    {
        T value{};
        const std::size_t count = sizeof(T) < Remaining() ? sizeof(T) : Remaining();
        if (count > 0) {
            std::memcpy(&value, data_ + used_, count);
        }
        used_ += count;
        return value;
    }

    bool TakeBool() { return (Take<std::uint8_t>() & 1) != 0; }

    // An integer in [low, high].
    int TakeInt(int low, int high)
    {
        const auto span = static_cast<std::uint32_t>(high - low) + 1u;
        return low + static_cast<int>(Take<std::uint32_t>() % span);
    }

    // A string of at most maxLength bytes: a length byte, then the bytes.
    std::string TakeString(std::size_t maxLength)
    {
        std::size_t length = Take<std::uint8_t>() % (maxLength + 1);
        if (length > Remaining()) {
            length = Remaining();
        }
        std::string text(reinterpret_cast<const char*>(data_ + used_), length);
        used_ += length;
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t used_ = 0;
};
