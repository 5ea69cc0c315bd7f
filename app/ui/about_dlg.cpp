#include "app/ui/about_dlg.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/help/help_ids.h"
#include "app/ui/app_logo.h"
#include "app/ui/help_topic.h"

TAboutDlg::TAboutDlg(QWidget* parent) : QDialog(parent) {
  SetHelpTopic(this, help_ids::kAbout);
  setObjectName("AboutDlg");
  setWindowTitle("About");

  ProgramIcon = new QLabel(this);
  ProgramIcon->setObjectName("ProgramIcon");
  ProgramIcon->setPixmap(AppIcon().pixmap(64, 64));
  ProgramIcon->setAlignment(Qt::AlignCenter);
  Logo = new QLabel(this);
  Logo->setObjectName("Logo");
  Logo->setPixmap(LogoPixmap());
  Logo->setAlignment(Qt::AlignCenter);
  Version = new QLabel("PunTel 2.0a (05/1996)", this);
  Version->setObjectName("Version");
  Version->setAlignment(Qt::AlignCenter);
  QFont bold = Version->font();
  bold.setBold(true);
  Version->setFont(bold);
  Comments = new QLabel(
      "Designs counted cross-stitch embroidery from pictures: floss colors, "
      "stitch patterns, color charts and floss reports.",
      this);
  Comments->setObjectName("Comments");
  Comments->setAlignment(Qt::AlignCenter);
  Comments->setWordWrap(true);

  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* inside = new QVBoxLayout(panel);
  inside->setSpacing(10);
  inside->addStretch();
  inside->addWidget(ProgramIcon);
  inside->addWidget(Logo);
  inside->addWidget(Version);
  inside->addWidget(Comments);
  inside->addStretch();

  OKButton = new QPushButton("OK", this);
  OKButton->setObjectName("OKButton");
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  auto* column = new QVBoxLayout(this);
  column->addWidget(panel, 1);
  column->addWidget(OKButton, 0, Qt::AlignHCenter);
  setFixedSize(QSize(306, 299).expandedTo(minimumSizeHint()));
}
