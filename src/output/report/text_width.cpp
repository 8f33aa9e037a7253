#include "output/report/text_width.h"

#include <array>

namespace velaron::report {

namespace {

// Advance widths in thousandths of an em: the printable ASCII characters from the blank to "~", then
// "А" .. "я". Times New Roman and the fonts made to its metrics share them.
constexpr std::array<short, 95> kAscii = {
    250, 333, 408, 500, 500, 833, 778, 180, 333, 333, 500, 564, 250, 333, 250, 278, 500, 500, 500,
    500, 500, 500, 500, 500, 500, 500, 278, 278, 564, 564, 564, 444, 921, 722, 667, 667, 722, 611,
    556, 722, 722, 333, 389, 722, 611, 889, 722, 722, 556, 722, 667, 556, 611, 722, 722, 944, 722,
    722, 611, 333, 278, 333, 469, 500, 333, 444, 500, 444, 500, 444, 333, 500, 500, 278, 278, 500,
    278, 778, 500, 500, 500, 500, 333, 389, 278, 500, 500, 722, 500, 500, 444, 480, 200, 480, 541};
constexpr std::array<short, 64> kCyrillic = {
    722, 574, 667,  578,  682, 611, 896, 501, 722,  722, 667, 678, 889, 722, 722, 722, 556, 667, 611, 708, 790, 722,
    722, 650, 1009, 1009, 706, 872, 574, 660, 1028, 667, 444, 509, 472, 410, 509, 444, 691, 395, 535, 535, 486, 499,
    633, 535, 500,  535,  500, 444, 437, 500, 648,  500, 535, 503, 770, 770, 517, 672, 456, 429, 747, 460};
constexpr short kWide = 1009;

int Advance(char16_t c) {
  if (c >= 0x20 && c <= 0x7e) return kAscii[size_t(c - 0x20)];
  if (c >= 0x410 && c <= 0x44f) return kCyrillic[size_t(c - 0x410)];
  if (c == 0x401) return kCyrillic[0x415 - 0x410];  // Ё as Е
  if (c == 0x451) return kCyrillic[0x435 - 0x410];  // ё as е
  return kWide;
}

}  // namespace

double TextWidthPt(QStringView text, double size) {
  long units = 0;
  for (QChar c : text) units += Advance(c.unicode());
  return units * size / 1000.0;
}

}  // namespace velaron::report
