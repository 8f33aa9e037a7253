#include "output/pictures/run_pictures.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>

#include "output/pictures/result_pictures.h"

namespace velaron::output {

void DrawResultPictures(result::RunSnapshot& record, bool opt3D, QSize size) {
  const int step = record.request.settings.CStep;
  const bool blast = record.isOverpressure();
  PictureOptions o;
  o.width = size.width();
  o.height = size.height();
  o.azimuth = record.request.section.Azimut;
  o.view3D = opt3D;
  o.kind = blast ? PictureKind::Overpressure : PictureKind::HeatFlux;
  record.imgDiagr1 = RenderResultPicture(record.GridValue, step, o);
  o.kind = PictureKind::Probability;
  record.imgDiagr2 = RenderResultPicture(record.GridProc, step, o);
  o.kind = PictureKind::Risk;  // always seen from above
  record.imgRisk = RenderResultPicture(record.GridRisk, step, o);
}

namespace {

void AppendToBytes(png_structp png, png_bytep data, png_size_t length) {
  static_cast<QByteArray*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data),
                                                        static_cast<qsizetype>(length));
}

}  // namespace

QByteArray PngBytes(const QImage& picture) {
  if (picture.isNull()) return {};
  const QImage image = picture.convertToFormat(QImage::Format_RGB888);
  QByteArray bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return {};
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return {};
  }
  png_set_write_fn(png, &bytes, AppendToBytes, nullptr);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // The pictures are bands of flat colour: the left-neighbour filter turns them into runs of zeros, which
  // run-length coding at the fastest level packs about as tightly as the default settings, many times
  // faster.
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  png_set_compression_level(png, 3);
  png_write_info(png, info);
  for (int y = 0; y < image.height(); ++y) png_write_row(png, const_cast<png_bytep>(image.constScanLine(y)));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

}  // namespace velaron::output
