// A result picture as a whole: where its title, plot, north mark and legend go, the legend and the north
// mark drawn, and the plot handed to the top-view or the mesh painter.
#include "output/pictures/result_pictures.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <QSize>
#include <algorithm>

#include "output/pictures/picture_painters.h"

namespace velaron::output {

namespace {

// The border of the legend's swatches.
const QColor kContour(60, 60, 60);

// The north mark: the letter above an arrow, in a box of three by three and a fifth font heights.
QSize NorthSize(int fontPx) { return QSize(3 * fontPx, fontPx * 16 / 5); }

// The legend: its title, then one swatch and text per band (the top band first, the background last),
// then the note of the mesh. Beside the plot the title wraps between words to the width of the rows (or
// of its longest word); under the plot (cells taller than wide) the title takes one line beside the north
// mark and the rows go in two columns.
struct LegendBox {
  QStringList title;
  int width = 0, height = 0;
  int rowsPerColumn = 0;
};

LegendBox MeasureLegend(PictureKind kind, const BandScale& scale, int fontPx, const QString& note, bool below,
                        int widest) {
  const QFontMetrics fm(PictureFont(fontPx)), bm(PictureFont(fontPx, true));
  const int h = fm.height();
  LegendBox box;
  int rowWidth = 0;
  const std::vector<QString> rows = LegendTexts(kind, scale);
  for (const QString& t : rows) rowWidth = std::max(rowWidth, fm.horizontalAdvance(t));
  rowWidth += h * 3 / 2 + h / 2 + h / 2;  // swatch, gap, room on the right
  const int count = static_cast<int>(rows.size());
  box.rowsPerColumn = below ? (count + 1) / 2 : count;
  if (below) {
    box.title = QStringList{LegendTitle(kind)};
    box.width = std::max(bm.horizontalAdvance(LegendTitle(kind)) + h + NorthSize(fontPx).width(), 2 * rowWidth);
  } else {
    // The quantity on one line and its unit on the next where that fits the room; else the words wrapped
    // to the rows' width.
    const QString title = LegendTitle(kind);
    const int comma = static_cast<int>(title.lastIndexOf(QStringLiteral(", ")));
    const QStringList twoLines = {title.left(comma + 1), title.mid(comma + 2)};
    const int twoLinesWidth = std::max(bm.horizontalAdvance(twoLines[0]), bm.horizontalAdvance(twoLines[1]));
    box.width = rowWidth;
    for (const QString& word : note.split(QLatin1Char(' ')))
      box.width = std::max(box.width, fm.horizontalAdvance(word));
    if (comma > 0 && std::max(box.width, twoLinesWidth) <= widest) {
      box.title = twoLines;
      box.width = std::max(box.width, twoLinesWidth);
    } else {
      const QStringList words = title.split(QLatin1Char(' '));
      for (const QString& word : words) box.width = std::max(box.width, bm.horizontalAdvance(word));
      for (const QString& word : words) {
        if (!box.title.isEmpty() && bm.horizontalAdvance(box.title.back() + QLatin1Char(' ') + word) <= box.width)
          box.title.back() += QLatin1Char(' ') + word;
        else box.title << word;
      }
    }
  }
  const int head = below ? NorthSize(fontPx).height() : h * static_cast<int>(box.title.size());
  box.height = head + h / 3 + box.rowsPerColumn * (h + h / 3);
  if (!note.isEmpty())
    box.height += h / 2 + fm.boundingRect(QRect(0, 0, box.width, 100000), Qt::TextWordWrap, note).height();
  return box;
}

// An arrow along `north` (a unit vector on the picture: straight up on the map, into the picture on the
// mesh) with the letter "С" above its tip, inside `area`.
void DrawNorth(QPainter& p, const QRect& area, int fontPx, QPointF north) {
  const QPointF centre(area.left() + fontPx * 1.2, area.top() + fontPx * 2.1);
  const QPointF tip = centre + north * (fontPx * 0.9), tail = centre - north * (fontPx * 0.9);
  const QPointF across(-north.y(), north.x());
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(Qt::black, std::max(1, fontPx / 10)));
  p.drawLine(tail, tip - north * (fontPx * 0.5));
  p.setBrush(Qt::black);
  p.drawPolygon(QPolygonF() << tip << tip - north * (fontPx * 0.9) + across * (fontPx * 0.45)
                            << tip - north * (fontPx * 0.9) - across * (fontPx * 0.45));
  p.setFont(PictureFont(fontPx, true));
  p.drawText(QRectF(tip.x() - fontPx, area.top(), 2 * fontPx, fontPx + 2), Qt::AlignCenter, QString::fromUtf8("С"));
  p.restore();
}

void DrawLegend(QPainter& p, const QRect& area, PictureKind kind, const BandScale& scale, int fontPx,
                const QString& note, bool below) {
  const LegendBox box = MeasureLegend(kind, scale, fontPx, note, below, area.width());
  const QFont font = PictureFont(fontPx);
  const QFontMetrics fm(font);
  p.setBrush(Qt::NoBrush);
  int y = area.top();
  p.setPen(Qt::black);
  p.setFont(PictureFont(fontPx, true));
  if (below) {
    // The title on the middle of the north mark beside it.
    const int head = NorthSize(fontPx).height();
    p.drawText(QPoint(area.left(), y + (head - fm.height()) / 2 + fm.ascent()), box.title.value(0));
    y += head;
  } else {
    for (const QString& line : box.title) {
      p.drawText(QPoint(area.left(), y + fm.ascent()), line);
      y += fm.height();
    }
  }
  y += fm.height() / 3;
  p.setFont(font);
  const std::vector<QString> texts = LegendTexts(kind, scale);
  const int swatch = fm.height() * 3 / 2;
  const int bands = scale.bands();
  const int perColumn = box.rowsPerColumn;
  const int columnWidth = below ? area.width() / 2 : area.width();
  const int rowHeight = fm.height() + fm.height() / 3;
  for (size_t row = 0; row < texts.size(); ++row) {
    const int band = bands - 1 - static_cast<int>(row);  // the background row last: band −1
    const int column = static_cast<int>(row) / perColumn;
    const int x = area.left() + column * columnWidth;
    const int ry = y + (static_cast<int>(row) % perColumn) * rowHeight;
    const QRect swatchBox(x, ry, swatch, fm.height());
    p.fillRect(swatchBox, BandColor(band, bands));
    p.setPen(QPen(kContour, 1));
    p.drawRect(swatchBox.adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);
    p.drawText(QRect(swatchBox.right() + fm.height() / 2, ry, columnWidth - swatch - fm.height() / 2, fm.height()),
               Qt::AlignVCenter | Qt::AlignLeft, texts[row]);
  }
  y += perColumn * rowHeight;
  if (!note.isEmpty()) {
    y += fm.height() / 2;
    p.drawText(QRect(area.left(), y, area.width(), area.bottom() - y + 1),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, note);
  }
}

// The picture's size: the options' own, but never smaller than a usable plot with its legend.
QSize PictureSize(const PictureOptions& o) { return QSize(std::max(o.width, 120), std::max(o.height, 90)); }
// The mesh for the three-dimensional option; the risk is always seen from above.
bool DrawsMesh(const PictureOptions& o) { return o.view3D && o.kind != PictureKind::Risk; }

// The grid in the picture's frame: the grid itself, or a copy cut (or widened with zeros) to the frame.
const models::Grid& Framed(const models::Grid& grid, const PictureOptions& o, models::Grid& copy) {
  if (o.frameNx <= 0 || o.frameNy <= 0 || (grid.nx() == o.frameNx && grid.ny() == o.frameNy)) return grid;
  copy.resize(o.frameNx, o.frameNy);
  for (int y = -o.frameNy; y <= o.frameNy; ++y)
    for (int x = -o.frameNx; x <= o.frameNx; ++x) copy(x, y) = grid.at0(x, y);
  return copy;
}

PictureLayout LayoutFramed(const models::Grid& grid, const PictureOptions& o) {
  PictureLayout l;
  const QSize size = PictureSize(o);
  const int w = size.width(), h = size.height();
  const PictureKind kind = o.kind;
  const bool mesh = DrawsMesh(o);
  const BandScale scale = GridBands(grid, kind);
  const QString note = mesh ? MeshNote(grid, kind, scale) : QString();
  // A cell taller than wide takes the legend below the plot, else beside it.
  l.legendBelow = h > w;
  // About the window's own text size on screen, growing with print-size pictures; it shrinks until the
  // legend (with the north mark above it) fits beside, or under, a usable plot.
  const int titleRoom =
      o.title.isEmpty() ? 0 : QFontMetrics(PictureFont(std::clamp(w / 48, 11, 40) + 2, true)).height() + 6;
  const auto northRoom = [](int fontPx) { return NorthSize(fontPx).height() + fontPx * 3 / 5; };
  int fontPx = PictureTextPixels(w, h);
  LegendBox legend;
  const int widest = static_cast<int>(w * 0.36);
  for (; fontPx > 6; --fontPx) {
    legend = MeasureLegend(kind, scale, fontPx, note, l.legendBelow, widest);
    if (l.legendBelow ? legend.width <= w - fontPx && legend.height <= (h - titleRoom) * 0.45
                      : legend.width <= widest && legend.height + northRoom(fontPx) <= h - 6 - titleRoom)
      break;
  }
  if (fontPx == 6) legend = MeasureLegend(kind, scale, fontPx, note, l.legendBelow, widest);
  l.fontPixels = fontPx;
  const QFont font = PictureFont(fontPx);
  const QFontMetrics fm(font);
  int top = 4;
  if (!o.title.isEmpty()) {
    l.title = QRect(0, 2, w, QFontMetrics(PictureFont(fontPx + 2, true)).height() + 2);
    top = l.title.bottom() + 4;
  }
  int right = w, bottomEdge = h;
  if (l.legendBelow) {
    // The north mark beside the legend's title, on the legend's first line.
    const int legendH = std::min(legend.height, h - top - 2);
    const int legendW = std::min(legend.width, w - fontPx);
    l.legend = QRect((w - legendW) / 2, h - legendH - 2, legendW, legendH);
    l.north =
        QRect(QPoint(l.legend.left() + QFontMetrics(PictureFont(fontPx, true)).horizontalAdvance(LegendTitle(kind)) +
                         fm.height(),
                     l.legend.top()),
              NorthSize(fontPx));
    bottomEdge = l.legend.top() - fontPx / 2;
  } else {
    // The north mark at the top, the legend under it.
    const int legendW = std::max(legend.width, NorthSize(fontPx).width());
    const int left = w - legendW - fontPx / 2;
    l.north = QRect(QPoint(left, top), NorthSize(fontPx));
    const int legendTop = top + northRoom(fontPx);
    l.legend = QRect(left, legendTop, legendW, std::min(legend.height, h - legendTop - 2));
    right = left - fontPx;
  }
  QRect plot;
  if (mesh) {
    const int labels = fm.horizontalAdvance(QStringLiteral("99,99")) + fontPx;
    plot = QRect(labels, top + fm.height(), right - labels - fm.horizontalAdvance(QStringLiteral("-5000")) - 8,
                 bottomEdge - top - fm.height() * 3);
  } else {
    // Room for the y labels on the left and their title above, the x labels and their title below; the
    // cells stay square.
    const int left = fm.horizontalAdvance(QStringLiteral("−00000")) + fontPx / 2 + 4;
    right = std::min(right, w - fm.horizontalAdvance(QStringLiteral("−00000")) / 2 - 2);  // the last x label
    const int above = AxisTitleRoom(fm);
    const int below = fm.height() * 2 + fontPx / 2 + 4;
    plot = QRect(left, top + above, right - left, bottomEdge - top - above - below);
    const double aspect = static_cast<double>(std::max(grid.ny(), 1)) / std::max(grid.nx(), 1);
    const int side = std::max(10, std::min(plot.width(), static_cast<int>(plot.height() / aspect)));
    const int height = std::max(10, static_cast<int>(side * aspect));
    const int x = l.legendBelow ? plot.left() + (plot.width() - side) / 2 : plot.left();
    plot = QRect(x, plot.top() + (plot.height() - height) / 2, side, height);
  }
  l.plot = plot;
  return l;
}

}  // namespace

QFont PictureFont(int pixels, bool bold) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(std::max(6, pixels));
  f.setBold(bold);
  return f;
}

int PictureTextPixels(int width, int height) { return std::clamp(std::min(width, height * 4 / 3) / 48, 11, 40); }

PictureLayout LayoutPicture(const models::Grid& grid, int /*cStep*/, const PictureOptions& o) {
  models::Grid copy;
  return LayoutFramed(Framed(grid, o, copy), o);
}

QImage RenderResultPicture(const models::Grid& source, int cStep, const PictureOptions& o) {
  // A grid the run did not fill gives no picture (a document then leaves the caption alone).
  if (source.empty()) return {};
  models::Grid copy;
  const models::Grid& grid = Framed(source, o, copy);
  QImage image(PictureSize(o), QImage::Format_RGB32);
  image.fill(Qt::white);
  const PictureKind kind = o.kind;
  const PictureLayout l = LayoutFramed(grid, o);
  const BandScale scale = GridBands(grid, kind);
  const int step = cStep > 0 ? cStep : 1;
  QPainter p(&image);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  if (!o.title.isEmpty()) {
    p.setFont(PictureFont(l.fontPixels + 2, true));
    p.setPen(Qt::black);
    p.drawText(l.title, Qt::AlignCenter, o.title);
  }
  QString note;
  QPointF north(0, -1);
  if (DrawsMesh(o)) {
    north = DrawMesh(p, l.plot, grid, step, scale, l.fontPixels, o);
    note = MeshNote(grid, kind, scale);
  } else {
    DrawTopView(p, l.plot, grid, step, scale, l.fontPixels, o);
  }
  DrawNorth(p, l.north, l.fontPixels, north);
  DrawLegend(p, l.legend, kind, scale, l.fontPixels, note, l.legendBelow);
  p.end();
  return image;
}

}  // namespace velaron::output
