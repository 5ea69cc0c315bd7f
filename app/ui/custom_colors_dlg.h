#pragma once
// "Custom Colors": the user picks pure floss of a palette and blends ("tweeds") them; the
// caller receives the floss and blends chosen.

#include <QDialog>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "base/color.h"
#include "palette/floss_palette.h"

class QPushButton;
class SwatchGrid;

using FlossList = std::vector<std::pair<std::string, TColor>>;

class TCustomColorsDlg : public QDialog {
  Q_OBJECT

 public:
  // Offers the entries of `working` whose names hold no "+", in palette order.
  TCustomColorsDlg(const TpunPal& working, QWidget* parent);

  // The right-hand entries, in their order.
  FlossList Chosen() const;

  SwatchGrid *PureGrid, *TweedGrid;
  QPushButton *ResetButton, *AddAllButton, *TweedButton, *OkButton, *CancelButton, *HelpButton;

  void Choose(int pure_index);
  void TakeOff(int chosen_index);
  void ResetClick();
  void AddAllClick();
  void TweedClick();

 private:
  // Appends without a second entry of the same name (letter case aside).
  void AddChosen(TColor color, const std::string& name);
  void ChosenChanged();

  TpunPal pure_, chosen_;
  std::unordered_set<std::string> chosen_names_;  // folded names of chosen_
};

// Runs the dialog over `working`: the chosen entries on Ok, none on Cancel.
std::optional<FlossList> AskCustomColors(const TpunPal& working, QWidget* parent);
