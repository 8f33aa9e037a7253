#include "common/xml_text.h"

namespace velaron {

namespace {

bool Allowed(char32_t c) {
  if (c < 0x20) return c == '\t' || c == '\n' || c == '\r';
  if (c >= 0x7F && c <= 0x9F) return false;
  if (c >= 0xD800 && c <= 0xDFFF) return false;
  if (c >= 0xFDD0 && c <= 0xFDEF) return false;
  if ((c & 0xFFFE) == 0xFFFE) return false;
  return c <= 0x10FFFF;
}

}  // namespace

std::string XmlText(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    // Length of the sequence and the least code point it may encode (shorter forms are invalid).
    size_t n = 1;
    char32_t c = b, least = 0;
    if (b >= 0xF0 && b <= 0xF4) n = 4, c = b & 0x07, least = 0x10000;
    else if (b >= 0xE0 && b <= 0xEF) n = 3, c = b & 0x0F, least = 0x800;
    else if (b >= 0xC2 && b <= 0xDF) n = 2, c = b & 0x1F, least = 0x80;
    else if (b >= 0x80) {
      ++i;  // a stray continuation byte or a lead byte no valid sequence starts with
      continue;
    }
    size_t k = 1;
    for (; k < n && i + k < s.size(); ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) break;
      c = (c << 6) | (t & 0x3F);
    }
    if (k == n && c >= least && Allowed(c)) out.append(s.substr(i, n));
    i += k;
  }
  return out;
}

}  // namespace velaron
