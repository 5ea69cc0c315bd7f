// "&Floss report" and "&Color usage report": the report window around the model's lines.
#include "app/ui/mdi_child.h"

void TMDIChild::Flossreport1Click() {}
void TMDIChild::Colorusagereport1Click() {}
