#pragma once

#include <stdexcept>
#include <string>

namespace korvane::host {

// The source name the host gives to errors raised by the program's own code.
inline constexpr const char* kProjectName = "Korvane";

// Error numbers the host uses for the failures the program can meet.
enum class ErrorNumber : int {
    InvalidProcedureCall = 5,
    Overflow = 6,
    DivisionByZero = 11,
    TypeMismatch = 13,
    FileNotFound = 53,
    EntryPointNotFound = 453,
};

// A host run-time error: what a property or method raises to its caller.
// Only code that the design says traps errors catches it.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, std::string source, std::string description);

    int Number() const { return m_number; }
    const std::string& Source() const { return m_source; }
    const std::string& Description() const { return m_description; }

private:
    int m_number;
    std::string m_source;
    std::string m_description;
};

// Raises the error with the host's standard description for its number.
[[noreturn]] void Raise(ErrorNumber number);
[[noreturn]] void Raise(ErrorNumber number, std::string description, std::string source = kProjectName);

// The host's standard description of an error number ("Overflow" for 6).
std::string StandardDescription(ErrorNumber number);

} // namespace korvane::host
