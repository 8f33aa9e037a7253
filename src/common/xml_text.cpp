#include "common/xml_text.h"

namespace velaron {

namespace {

bool Allowed(char32_t c) {
  if (c < 0x20) return c == '\t' || c == '\n' || c == '\r';
  if (c >= 0x7F && c <= 0x9F) return false;
  if (c >= 0xD800 && c <= 0xDFFF) return false;
  if (c >= 0xFDD0 && c <= 0xFDEF) return false;
  return (c & 0xFFFE) != 0xFFFE && c <= 0x10FFFF;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string XmlText(std::u16string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    // A high half followed by a low half is one code point; any other half stays a surrogate (refused).
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF)
      c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
    if (Allowed(c)) AppendUtf8(out, c);
  }
  return out;
}

}  // namespace velaron
