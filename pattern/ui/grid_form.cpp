#include "pattern/ui/grid_form.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/app_settings.h"
#include "app/help/help_ids.h"
#include "app/ui/help_topic.h"
#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "pattern/draw/stitch_pattern.h"
#include "pattern/ui/pattern_grid_widget.h"

TGridForm::TGridForm(TMDIChild* document) : document_(document) {
  SetHelpTopic(this, help_ids::kPatternGrid);
  setWindowTitle("GridForm");
  resize(600, 384);
  DrawGrid1 =
      new PatternGridWidget(document->Frame()->Symbols, ClampedCellEdge(Settings().CellSize));
  ShortageLine = new QLabel;
  // Kept off the window's edge, and wrapped rather than holding a narrowed window wide.
  ShortageLine->setContentsMargins(4, 2, 4, 2);
  ShortageLine->setWordWrap(true);
  ShortageLine->hide();
  ScrollBox = new QScrollArea;
  ScrollBox->setWidget(DrawGrid1);
  // The view follows the thumb while it is dragged.
  ScrollBox->horizontalScrollBar()->setTracking(true);
  ScrollBox->verticalScrollBar()->setTracking(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ShortageLine);
  layout->addWidget(ScrollBox, 1);
  connect(DrawGrid1, &PatternGridWidget::painted, this, [this] { ShowSymbolShortage(); });
}

void TGridForm::SetUp(TMDIChild* document) {
  document_ = document;
  DrawGrid1->SetSource([document = QPointer<TMDIChild>(document)]() -> const TpunCompo* {
    return document ? document->Composition.get() : nullptr;
  });
  setWindowTitle("Pattern of : \"" + document->Caption() + "\"");
  document->Frame()->Symbols.ResetFontCache();
  ShowSymbolShortage();
}

QString TGridForm::SymbolShortageText(int symbols, int colors) {
  if (colors <= symbols) return {};
  return QString("Too many colors ! %1 symbols for %2 colors: colors from %3 on have no symbol.")
      .arg(symbols)
      .arg(colors)
      .arg(symbols + 1);
}

void TGridForm::ShowSymbolShortage() {
  if (!document_ || !document_->Composition) return;
  const QString text = SymbolShortageText(document_->Frame()->Symbols.SymbolCount(),
                                          document_->Composition->Palette().Count());
  if (text != ShortageLine->text()) ShortageLine->setText(text);
  if (ShortageLine->isHidden() != text.isEmpty()) ShortageLine->setVisible(!text.isEmpty());
}

void TGridForm::closeEvent(QCloseEvent* event) {
  if (document_ && document_->GridWindow == this) {
    document_->GridOpen = false;
    document_->GridWindow = nullptr;
  }
  // Closed from its document or from its own frame: either way the sub-window goes with it.
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
    sub->deleteLater();
  else
    deleteLater();
  event->accept();
}
