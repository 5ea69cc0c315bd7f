#pragma once
// The notes of a composition: a text of at most 255 characters (the composition file's
// notes field), edited in a memo.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class TNoteDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kNotesLimit = 255;

  explicit TNoteDlg(QWidget* parent = nullptr);

  // Line breaks are '\n'. A longer text is cut to the limit.
  void SetText(const QString& text);
  QString Text() const;

  QPlainTextEdit* Memo1;
  QPushButton *Button1, *Button2;

 private:
  void KeepWithinLimit(int position, int removed, int added);

  bool trimming_ = false;
};
