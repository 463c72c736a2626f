#pragma once

#include <stdexcept>
#include <string>

// Error raised by the chart: a refused switch to logarithmic scaling or a value
// index out of range. what() is the exact text shown to the user.
class EChartError : public std::runtime_error {
public:
    explicit EChartError(const std::string& message) : std::runtime_error(message) {}
};
