#include "app/ui/note_dlg.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "app/help/help_ids.h"
#include "app/ui/help_topic.h"
#include "app/ui/hints.h"

TNoteDlg::TNoteDlg(QWidget* parent) : QDialog(parent) {
  SetHelpTopic(this, help_ids::kNotes);
  setObjectName("NoteDlg");
  setWindowTitle("Composition notes");

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  SetHint(Memo1, "|Type in the notes associated with the composition");
  Memo1->setTabChangesFocus(true);
  // Every change passes here, typed, pasted or dropped, so the limit holds for all of them.
  connect(Memo1->document(), &QTextDocument::contentsChange, this, &TNoteDlg::KeepWithinLimit);

  Button1 = new QPushButton("&Ok", this);
  Button1->setObjectName("Button1");
  Button1->setDefault(true);
  Button2 = new QPushButton("&Cancel", this);
  Button2->setObjectName("Button2");
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  auto* column = new QVBoxLayout(this);
  column->addWidget(Memo1, 1);
  column->addLayout(buttons);

  Memo1->setMinimumSize(120, 60);
  setFixedSize(QSize(423, 196).expandedTo(minimumSizeHint()));
  Memo1->setFocus();
}

void TNoteDlg::SetText(const QString& text) {
  int keep = std::min<int>(text.size(), kNotesLimit);
  if (keep > 0 && keep < text.size() && text[keep - 1].isHighSurrogate()) --keep;
  Memo1->setPlainText(text.left(keep));
  Memo1->moveCursor(QTextCursor::End);
}

QString TNoteDlg::Text() const {
  return Memo1->toPlainText();
}

void TNoteDlg::KeepWithinLimit(int position, int /*removed*/, int added) {
  if (trimming_) return;
  QTextDocument* document = Memo1->document();
  // The count leaves out the closing paragraph separator every document has.
  const int length = document->characterCount() - 1;
  const int excess = length - kNotesLimit;
  if (excess <= 0 || added <= 0) return;
  // The reported range may cover the whole paragraph; typed, pasted and dropped text ends
  // where the memo's cursor now stands, so the cut is taken from the end of that text.
  int end = std::min(position + added, length);
  int caret = Memo1->textCursor().position();
  if (caret >= position && caret < end) end = caret;
  int start = std::max(position, end - excess);
  // Never split a character that takes two UTF-16 units.
  if (start > position && document->characterAt(start).isLowSurrogate()) --start;
  trimming_ = true;
  QTextCursor cut(document);
  // One undo step takes back the insertion and its cut together.
  cut.joinPreviousEditBlock();
  cut.setPosition(start);
  cut.setPosition(end, QTextCursor::KeepAnchor);
  cut.removeSelectedText();
  cut.endEditBlock();
  trimming_ = false;
}
