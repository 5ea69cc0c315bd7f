// "&Create Design": the document's design window.
#include "app/ui/mdi_child.h"

void TMDIChild::CreateModel1Click() {}
