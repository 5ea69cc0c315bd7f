#include "pattern/draw/key_page.h"

#include "pattern/draw/chart_symbols.h"
#include "pattern/draw/page_canvas.h"
#include "pattern/draw/page_header.h"
#include "pattern/draw/pattern_printout.h"

namespace {

constexpr double kTextPoints = 8.5;
constexpr double kTitlePoints = 12.0;
constexpr double kSwatchMm = 4.5;
constexpr int kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr int kRight = Qt::AlignRight | Qt::AlignVCenter;

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// Where the key's columns lie, from the left margin; the figures keep to the right edge.
struct KeyColumns {
  explicit KeyColumns(double left, double right)
      : symbol(left),
        swatch(left + 15),
        floss(left + 28),
        description(left + 58),
        stitches_end(right - 25),
        skeins_end(right) {}
  double symbol, swatch, floss, description, stitches_end, skeins_end;
};

class KeyPainter {
 public:
  KeyPainter(PageCanvas& canvas, const PatternPrintout& printout)
      : canvas_(canvas),
        printout_(printout),
        key_(printout.Pattern().key),
        left_(kPageMarginMm),
        right_(printout.Plan().PageWidth() - kPageMarginMm),
        columns_(left_, right_),
        symbols_(printout, canvas.Dots(1.0)) {}

  void Paint(const std::vector<KeyLine>& lines) {
    double y = printout_.Plan().Header().y + kPageHeaderMm;
    for (const KeyLine& line : lines) {
      const double height = KeyLineHeight(line.kind);
      Line(line, {left_, y, right_ - left_, height});
      y += height;
    }
  }

 private:
  void Line(const KeyLine& line, const MmRect& box) {
    switch (line.kind) {
      case KeyLineKind::kKeyTitle:
        return Title(box, "Floss key", FabricText());
      case KeyLineKind::kBuyTitle:
        return Title({box.x, box.y + kBuyGapMm, box.width, box.height - kBuyGapMm}, "Floss to buy",
                     "");
      case KeyLineKind::kKeyHeads:
        return Heads(box, {"Symbol", "Color", FlossHead(), "Description"}, "Stitches", "Skeins");
      case KeyLineKind::kBuyHeads:
        return Heads(box, {"", "", "Thread", "Description"}, "Length (m)", "Skeins");
      case KeyLineKind::kKeyRow:
        return KeyRowLine(key_.rows[size_t(line.index)], box);
      case KeyLineKind::kBuyRow: {
        const BuyRow& row = key_.to_buy[size_t(line.index)];
        return Figures(box, Q(row.thread), Q(row.description), Q(MetresText(row.hundredths)),
                       QString::number(row.skeins), false);
      }
      case KeyLineKind::kBuyTotals:
        canvas_.Line(box.x, box.y + 0.5, box.x + box.width, box.y + 0.5, 0.2, Qt::black);
        return Figures(box, "Total", "", Q(MetresText(key_.total_hundredths)),
                       QString::number(key_.total_skeins), true);
    }
  }

  QString FlossHead() const {
    const std::string brand = BrandLabel(printout_.Pattern().brand);
    return brand.empty() ? "Floss" : "Floss (" + Q(brand) + ")";
  }
  QString FabricText() const {
    const QString count = QString("%1 count").arg(key_.fabric_count);
    return key_.fabric_note.empty() ? count : Q(key_.fabric_note);
  }

  void Title(const MmRect& box, const QString& title, const QString& note) {
    canvas_.Text(box, title, PageFont(kTitlePoints, true), kLeft);
    if (!note.isEmpty()) canvas_.Text(box, note, PageFont(kTextPoints), kRight);
  }

  void Heads(const MmRect& box, const std::vector<QString>& left, const QString& figure,
             const QString& last) {
    const QFont bold = PageFont(kTextPoints, true);
    const double x[] = {columns_.symbol, columns_.swatch, columns_.floss, columns_.description};
    for (size_t i = 0; i < left.size(); ++i)
      canvas_.Text({x[i], box.y, 30, box.height}, left[i], bold, kLeft);
    canvas_.Text({columns_.stitches_end - 30, box.y, 30, box.height}, figure, bold, kRight);
    canvas_.Text({columns_.skeins_end - 20, box.y, 20, box.height}, last, bold, kRight);
    canvas_.Line(box.x, box.y + box.height - 0.5, box.x + box.width, box.y + box.height - 0.5, 0.2,
                 Qt::black);
  }

  void Figures(const MmRect& box, const QString& name, const QString& description,
               const QString& figure, const QString& last, bool bold) {
    const QFont font = PageFont(kTextPoints, bold);
    canvas_.Text({columns_.floss, box.y, columns_.description - columns_.floss - 1, box.height},
                 name, font, kLeft);
    canvas_.Text({columns_.description, box.y, columns_.stitches_end - 32 - columns_.description,
                  box.height},
                 description, font, kLeft);
    canvas_.Text({columns_.stitches_end - 30, box.y, 30, box.height}, figure, font, kRight);
    canvas_.Text({columns_.skeins_end - 20, box.y, 20, box.height}, last, font, kRight);
  }

  void KeyRowLine(const KeyRow& row, const MmRect& box) {
    // The symbol in a cell of the chart's size, as the black and white chart draws it.
    const double cell = printout_.Plan().Options().cell_mm;
    const MmRect symbol{columns_.symbol + 5.0 - cell / 2, box.y + (box.height - cell) / 2, cell,
                        cell};
    canvas_.Frame(symbol, 0.1, QColor(128, 128, 128));
    symbols_.Draw(canvas_.Painter(), row.palette_index, canvas_.Rect(symbol), Qt::black);
    const MmRect swatch{columns_.swatch, box.y + (box.height - kSwatchMm) / 2, kSwatchMm * 1.6,
                        kSwatchMm};
    canvas_.Fill(swatch, FlossColor(row.color));
    canvas_.Frame(swatch, 0.1, Qt::black);
    const QString stitches = row.not_stitched ? "not stitched" : QString::number(row.stitches);
    Figures(box, Q(row.floss), Q(row.description), stitches, Q(row.SkeinsText()), false);
  }

  PageCanvas& canvas_;
  const PatternPrintout& printout_;
  const FlossKey& key_;
  double left_, right_;
  KeyColumns columns_;
  ChartSymbols symbols_;
};

}  // namespace

void PaintKeyPage(PageCanvas& canvas, const PatternPrintout& printout, int32_t key_page,
                  int32_t number) {
  const QString what =
      printout.Parts().key_pages == 1
          ? QString("Floss key")
          : QString("Floss key, page %1 of %2").arg(key_page + 1).arg(printout.Parts().key_pages);
  PaintPageHeader(canvas, printout, number, what, std::nullopt);
  KeyPainter(canvas, printout).Paint(printout.KeyLines(key_page));
}
