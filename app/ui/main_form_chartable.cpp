// Utils "C&haracter table".
#include "app/ui/main_form.h"

void TMainForm::CharTable() {}
