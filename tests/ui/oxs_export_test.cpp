// File "E&xport pattern (OXS)...": the file its save dialog names holds the pattern.
#include <QAction>

#include "pattern/oxs/oxs_reader.h"
#include "tests/ui/document_fixture.h"

namespace {

class OxsExport : public DocumentFixture {};

TEST_F(OxsExport, WritesThePatternWhereTheDialogSaysAndNothingWhenCancelled) {
  Start();
  TMDIChild* document = Import(3, 2);
  ASSERT_TRUE(document);
  frame->Action(Command::ExportOxs)->trigger();  // cancelled: nothing written
  ASSERT_EQ(dialogs.requests.size(), 2u);
  const FileDialogRequest& asked = dialogs.requests.back();
  EXPECT_EQ(asked.title.toStdString(), "Export pattern (OXS)");
  EXPECT_EQ(asked.filter.toStdString(), "Open Cross Stitch (*.oxs)|*.oxs");
  EXPECT_EQ(asked.fileName.toStdString(), "p.oxs");

  const std::string path = files.File("pattern.oxs");
  dialogs.AnswerSave(QString::fromStdString(path));
  frame->Action(Command::ExportOxs)->trigger();
  const OxsChart chart = ReadOxsFile(path);
  EXPECT_EQ(chart.width, 3);
  EXPECT_EQ(chart.height, 2);
  EXPECT_EQ(chart.title, "p");
  EXPECT_EQ(chart.stitches.size(), 6u);  // every cell stitched: no transparency
  EXPECT_GE(chart.palette.size(), 2u);
}

}  // namespace
