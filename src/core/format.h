#pragma once
// printf-style formatting into std::string, for the fixed line and message templates of the
// unit's file formats.
#include <cstdarg>
#include <string>

namespace pelor::core {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
void AppendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void AppendFormatV(std::string& out, const char* format, std::va_list args);

}  // namespace pelor::core
