// The click on a document's picture: which floss is there, and whether it is transparent.

#include <QCheckBox>
#include <algorithm>

#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/transp_frm.h"
#include "app/ui/ui_seams.h"
#include "composition/picture_block.h"

void TMDIChild::PictureClicked(int x, int y) {
  // An empty working palette has no floss to name: the click does nothing then.
  if (!PictureIdle() || Composition->Palette().Count() == 0) return;
  TpunCompo& compo = *Composition;
  const int zoom = compo.Zoom() + 1;
  // The control may be larger than the magnified picture: the last column or row then.
  const int column = std::clamp(x / zoom, 0, compo.Width() - 1);
  const int row = std::clamp(y / zoom, 0, compo.Height() - 1);
  const TPicture& source = compo.SourcePicture();
  const TColor pixel =
      PixelAt(source.Data(), PixelOffset(source.Width(), source.Height(), column, row));
  const int32_t index = compo.Palette().NearestClr(pixel);

  TTranspFrm dialog(*frame_, this);
  dialog.Fill(column, row, compo.Palette().GetClr(index), index, compo.Palette().GetName(index));
  // One colour only can be transparent: another floss's box stays off until it is cleared.
  const bool was_on = compo.TransparencyOn();
  const bool is_this = was_on && compo.TransparentColor() == index;
  dialog.CheckBox1->setEnabled(!was_on || is_this);
  dialog.CheckBox1->setChecked(is_this);
  const bool ticked = dialog.CheckBox1->isChecked();
  RunModal(dialog);

  // However it closed: a box the user changed is applied, a floss only looked at is not.
  if (!dialog.CheckBox1->isEnabled() || dialog.CheckBox1->isChecked() == ticked) return;
  compo.SetTransparencyOn(dialog.CheckBox1->isChecked());
  compo.SetTransparentColor(index);
  if (compo.TransparencyOn() != was_on) StartPictureUpdate(false);
}
