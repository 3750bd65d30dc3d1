#include "echo/host_address.h"

namespace gantrel {

namespace {

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The leading decimal number of one field, rounded half to even, if it lies in 0..255. The
// fraction is rounded from its digits, so a half is found exactly whatever its length.
std::optional<uint8_t> ReadField(std::string_view field, bool allowFraction) {
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (i < field.size() && field[i] == ' ') ++i;
  };
  skipBlanks();
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
    negative = field[i] == '-';
    ++i;
  }
  unsigned value = 0;  // stays below 1000: larger values are refused as soon as they appear
  for (skipBlanks(); i < field.size() && IsDigit(field[i]); ++i, skipBlanks()) {
    value = value * 10 + static_cast<unsigned>(field[i] - '0');
    if (value > 255) return std::nullopt;
  }
  if (allowFraction && i < field.size() && field[i] == '.') {
    ++i;
    char first = 0;      // first fraction digit
    bool restNonZero = false;
    for (skipBlanks(); i < field.size() && IsDigit(field[i]); ++i, skipBlanks()) {
      if (first == 0) {
        first = field[i];
      } else if (field[i] != '0') {
        restNonZero = true;
      }
    }
    const bool up = first > '5' || (first == '5' && (restNonZero || value % 2 == 1));
    if (up) {
      if (negative) return std::nullopt;  // rounds to -1 or below
      ++value;
    }
  }
  if (negative && value != 0) return std::nullopt;
  if (value > 255) return std::nullopt;
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
  std::string_view rest = host;
  for (int field = 0; field < 3; ++field) {
    const std::size_t dot = rest.find('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const auto octet = ReadField(rest.substr(0, dot), false);
    if (!octet) return std::nullopt;
    octets[field] = *octet;
    rest.remove_prefix(dot + 1);
  }
  const auto last = ReadField(rest, true);
  if (!last) return std::nullopt;
  octets[3] = *last;
  return octets;
}

}  // namespace gantrel
