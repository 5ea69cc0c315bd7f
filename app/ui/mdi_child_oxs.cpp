// File "E&xport pattern (OXS)...": the pattern for other cross-stitch programs and apps.
#include "app/app_settings.h"
#include "app/ui/file_names.h"
#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/ui_seams.h"
#include "app/ui/wait_cursor.h"
#include "pattern/floss_brands.h"
#include "pattern/oxs/oxs_composition.h"
#include "pattern/oxs/oxs_writer.h"

void TMDIChild::ExportOxs1Click() {
  if (!PictureIdle()) return;
  const QString path = FileDialogs().Save(
      this, {"Export pattern (OXS)", ShownPath(Settings().Compopath),
             "Open Cross Stitch (*.oxs)|*.oxs", WithExtension(Caption(), ".oxs"), "oxs"});
  if (path.isEmpty() || IsCompositionFile(path)) return;
  const WaitCursor hourglass;
  // The floss are named after the brand whose table holds most of them.
  const FlossBrands brands = FlossBrands::Load(Settings().progpath);
  const OxsFlossNames names = ChooseFlossNames(brands, BrandRequest{}, Composition->Palette());
  const QString title = WithExtension(Caption(), "");
  WriteOxsFile(LocalPath(path),
               ChartOfComposition(*Composition, frame_->SymbolTable, names, title.toStdString()));
}
