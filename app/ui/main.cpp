// PunTel: counted cross-stitch patterns from pictures.

#include "app/ui/glyphs.h"
#include "app/ui/main_form.h"
#include "app/ui/puntel_application.h"

int main(int argc, char** argv) {
  PuntelApplication application(argc, argv);
  application.setWindowIcon(AppIcon());
  TMainForm frame;
  frame.show();
  return application.exec();
}
