// "&Stitch pattern": the document's pattern grid window.
#include "app/ui/mdi_child.h"

void TMDIChild::Stitchpattern1Click() {}
