#pragma once
// A frame on a configuration folder of its own, whose file dialogs start in a test folder,
// and pictures imported into it through the Import command.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>

#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "composition/bitmap_file.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/ui_support.h"

class DocumentFixture : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1); }

  // Without settings it is a first start.
  void Start(bool with_settings = true) {
    if (with_settings)
      WriteFileBytes(config.File("PUNTEL.INI"), "[PUNTEL32]\nCompopath=" + files.Path() +
                                                    "\nImagepath=" + files.Path() +
                                                    "\nColorPath=" + files.Path() + "\n");
    frame = std::make_unique<TMainForm>();
    frame->resize(1200, 900);
    frame->show();
  }

  // A 24-bit bitmap whose pixels all differ (within 256 columns).
  QString Picture(const std::string& name, uint16_t width, uint16_t height) {
    PictureBlock block(PictureBytes(width, height), 0);
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x)
        PutPixelAt(block.data(), PixelOffset(width, height, x, y),
                   MakeColor(uint8_t(x * 29 + y), uint8_t(y * 41), uint8_t(x + y * 7)));
    WriteBitmapFile(files.File(name), block, width, height);
    return QString::fromStdString(files.File(name));
  }

  // Imports through the command (into a new document when none is active) and waits for
  // the document to be idle; the import's own change is not left to ask about.
  TMDIChild* Import(const QString& picture) {
    dialogs.AnswerOpen({picture});
    frame->Action(Command::Import)->trigger();
    TMDIChild* document = frame->ActiveDocument();
    EXPECT_TRUE(document);
    if (!document) return nullptr;
    EXPECT_TRUE(WaitFor([&] { return !document->Working(); }));
    document->Composition->SetModified(false);
    return document;
  }
  TMDIChild* Import(uint16_t width, uint16_t height) {
    return Import(Picture("p.bmp", width, height));
  }

  TempFolder config, files;
  ScriptedFileDialogs dialogs;
  std::unique_ptr<TMainForm> frame;
};
