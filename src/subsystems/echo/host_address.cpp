#include "echo/host_address.h"

#include <algorithm>
#include <string>

namespace gantrel {
namespace {

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The leading decimal number of one field, blanks anywhere ignored, rounded half to even, if it
// lies in 0..255. Only the last field can hold a dot, and with it a fraction, which is rounded
// from its digits so that a half is found exactly whatever its length.
std::optional<uint8_t> ReadField(std::string_view field) {
  std::string text;  // the field without blanks; text[text.size()] is a NUL that ends every rule
  for (char c : field) {
    if (c != ' ') text += c;
  }
  std::size_t i = 0;
  const bool negative = text[i] == '-';
  if (negative || text[i] == '+') ++i;
  unsigned value = 0;  // refused as soon as it passes 255, so it never overflows
  for (; IsDigit(text[i]); ++i) {
    value = value * 10 + static_cast<unsigned>(text[i] - '0');
    if (value > 255) return std::nullopt;
  }
  if (text[i] == '.') {
    ++i;
    const char first = IsDigit(text[i]) ? text[i++] : '0';
    bool restNonZero = false;
    for (; IsDigit(text[i]); ++i) restNonZero = restNonZero || text[i] != '0';
    if (first > '5' || (first == '5' && (restNonZero || value % 2 == 1))) ++value;
  }
  // A negative field is an octet only when it rounds to zero.
  if ((negative && value != 0) || value > 255) return std::nullopt;
  return static_cast<uint8_t>(value);
}

}  // namespace

bool IsHostName(std::string_view host) {
  for (char c : host) {
    if (IsNameChar(c)) return true;
  }
  return false;
}

std::optional<Octets> ReadDottedAddress(std::string_view host) {
  Octets octets{};
  for (std::size_t field = 0; field < 4; ++field) {
    // Fields 1 to 3 end at a dot; field 4 is the rest, dots included.
    const std::size_t dot = field < 3 ? host.find('.') : host.size();
    if (dot == std::string_view::npos) return std::nullopt;
    const auto octet = ReadField(host.substr(0, dot));
    if (!octet) return std::nullopt;
    octets[field] = *octet;
    host = host.substr(std::min(dot + 1, host.size()));
  }
  return octets;
}

}  // namespace gantrel
