#include "composition/search_result.h"

#include "composition/composition.h"

bool ApplySearchResult(TpunCompo& document, const TpunPal& result) {
  if (result.Count() == 0) return false;
  std::string transparent_floss;
  bool follow = document.TransparencyOn() && document.TransparentColor() >= 0 &&
                document.TransparentColor() < document.Palette().Count();
  if (follow) transparent_floss = document.Palette().GetName(document.TransparentColor());
  document.Palette().Assign(result);
  document.SetModified(true);
  if (document.TransparencyOn()) {
    int32_t index = -1;
    if (follow && document.Palette().IndexOfName(transparent_floss, index))
      document.SetTransparentColor(index);
    else
      document.SetTransparencyOn(false);
  }
  return true;
}
