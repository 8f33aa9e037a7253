#include "output/pictures/run_pictures.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>

namespace velaron::output {

PictureOptions RunPictureOptions(const result::RunSnapshot& record, PictureKind kind, bool view3D) {
  PictureOptions o;
  o.kind = kind;
  o.view3D = view3D && kind != PictureKind::Risk;
  o.azimuth = record.request.section.Azimut;
  const auto& st = record.request.settings;
  o.frameNx = models::GridHalf(st.XLimit, st.CStep);
  o.frameNy = models::GridHalf(st.YLimit, st.CStep);
  return o;
}

PictureKind DamageKindOf(const result::RunSnapshot& record) {
  return record.isOverpressure() ? PictureKind::Overpressure : PictureKind::HeatFlux;
}

RunPictures DrawResultPictures(const result::RunSnapshot& record, QSize size) {
  const int step = record.request.settings.CStep;
  auto draw = [&](const models::Grid& grid, PictureKind kind) {
    PictureOptions o = RunPictureOptions(record, kind, record.request.options.Opt3D);
    o.width = size.width();
    o.height = size.height();
    return RenderResultPicture(grid, step, o);
  };
  RunPictures pictures;
  pictures.imgDiagr1 = draw(record.GridValue, DamageKindOf(record));
  pictures.imgDiagr2 = draw(record.GridProc, PictureKind::Probability);
  pictures.imgRisk = draw(record.GridRisk, PictureKind::Risk);  // always seen from above
  return pictures;
}

namespace {

void AppendToBytes(png_structp png, png_bytep data, png_size_t length) {
  static_cast<QByteArray*>(png_get_io_ptr(png))
      ->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
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
