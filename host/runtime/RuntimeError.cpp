#include "host/runtime/RuntimeError.h"

namespace korvane::host {

RuntimeError::RuntimeError(int number, std::string source, std::string description)
    : std::runtime_error(description), m_number(number), m_source(std::move(source)),
      m_description(std::move(description))
{
}

std::string StandardDescription(ErrorNumber number)
{
    switch (number) {
    case ErrorNumber::InvalidProcedureCall: return "Invalid procedure call or argument";
    case ErrorNumber::Overflow: return "Overflow";
    case ErrorNumber::DivisionByZero: return "Division by zero";
    case ErrorNumber::TypeMismatch: return "Type mismatch";
    case ErrorNumber::FileNotFound: return "File not found";
    case ErrorNumber::EntryPointNotFound: return "Can't find DLL entry point";
    }
    return "Application-defined or object-defined error";
}

void Raise(ErrorNumber number)
{
    Raise(number, StandardDescription(number));
}

void Raise(ErrorNumber number, std::string description, std::string source)
{
    throw RuntimeError(static_cast<int>(number), std::move(source), std::move(description));
}

} // namespace korvane::host
