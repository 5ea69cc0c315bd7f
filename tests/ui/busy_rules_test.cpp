// While a document is busy its commands do nothing and say nothing; "Cancel color search"
// and "Turn BUSY flag off" still act, and neither lets a command reach a composition that
// a worker still uses.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "composition/ui/document_jobs.h"
#include "tests/support/palette_entries.h"
#include "tests/support/scripted_messages.h"
#include "tests/ui/document_fixture.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kQuestion =
    "Confirm: Turning BUSY flag off while a composition is\r\nworking can create "
    "unexpected errors !\r\n\r\nContinue ?";

class BusyRules : public DocumentFixture {
 protected:
  void SetUp() override {
    DocumentFixture::SetUp();
    Start();
    document = Import(6, 4);
    ASSERT_TRUE(document);
    // A dialog that bypasses the seams would wait for a person: it fails and is closed.
    QObject::connect(&watch, &QTimer::timeout, [] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        ADD_FAILURE() << "a dialog opened: " << dialog->windowTitle().toStdString();
        dialog->reject();
      }
    });
    watch.start(50);
  }
  void TearDown() override {
    release = true;
    if (document) EXPECT_TRUE(WaitFor([&] { return !document->Working(); }));
  }

  // A job holding the document until it is released, or cancelled when `cancellable`.
  void Hold(DocWork work, bool cancellable) {
    document->RunJob(work, [this, cancellable] {
      WorkerJob job;
      job.body = [this, cancellable](const ProgressHandler&, const CancelToken& cancel) {
        while (!release && !(cancellable && cancel)) std::this_thread::sleep_for(1ms);
        return std::any();
      };
      return job;
    });
    ASSERT_TRUE(document->Busy());
  }

  TMDIChild* document = nullptr;
  ScriptedModal modal;
  ScriptedMessages messages;
  QTimer watch;
  std::atomic<bool> release{false};
};

TEST_F(BusyRules, EveryCommandIsRefusedWhileBusy) {
  const std::pair<const char*, void (*)(TMDIChild&)> commands[] = {
      {"Rotate", [](TMDIChild& d) { d.Rotateimage1Click(); }},
      {"TurnRight", [](TMDIChild& d) { d.TurnRightClick(); }},
      {"TurnLeft", [](TMDIChild& d) { d.TurnLeftClick(); }},
      {"Resize", [](TMDIChild& d) { d.ResizepictureClick(); }},
      {"Search", [](TMDIChild& d) { d.Automaticcolorsearch1Click(); }},
      {"Remap", [](TMDIChild& d) { d.RemapPictClick(); }},
      {"Design", [](TMDIChild& d) { d.CreateModel1Click(); }},
      {"Grid", [](TMDIChild& d) { d.Stitchpattern1Click(); }},
      {"FlossReport", [](TMDIChild& d) { d.Flossreport1Click(); }},
      {"UsageReport", [](TMDIChild& d) { d.Colorusagereport1Click(); }},
      {"LoadColors", [](TMDIChild& d) { d.Load1Click(); }},
      {"Print", [](TMDIChild& d) { d.Print1Click(); }},
      {"ExportOxs", [](TMDIChild& d) { d.ExportOxs1Click(); }},
      {"PictureClick", [](TMDIChild& d) { d.PictureClicked(1, 1); }},
  };
  const auto palette = EntriesOf(document->Composition->Palette());
  const TPicture picture = document->Composition->SourcePicture();
  dialogs.requests.clear();  // the import
  bool queued = false;
  QObject::connect(&document->Jobs(), &DocumentJobs::JobEnded,
                   [&](bool more_waiting) { queued = queued || more_waiting; });
  // Busy on the UI thread, on a worker, and on a worker after the flag was turned off.
  for (int held = 0; held < 3; ++held) {
    if (held == 0) document->SetWork(DocWork::Reporting);
    if (held >= 1) Hold(DocWork::UpdatingPicture, false);
    if (held == 2) {
      messages.Answer(true);
      document->BUSYflagoffClick();
      messages.shown.clear();
    }
    for (const auto& [name, run] : commands) {
      run(*document);
      EXPECT_TRUE(document->Busy()) << name << " " << held;
      EXPECT_EQ(messages.shown, std::vector<std::string>{}) << name << " " << held;
      EXPECT_TRUE(dialogs.requests.empty()) << name << " " << held;
      EXPECT_TRUE(modal.titles.isEmpty()) << name << " " << held;
    }
    frame->UpdateCommands();
    EXPECT_TRUE(frame->Action(Command::BusyOff)->isEnabled()) << held;
    if (held == 0) document->SetWork(DocWork::Idle);
    release = true;
    ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));
    release = false;
  }
  EXPECT_FALSE(queued);  // no refused command left a job waiting
  EXPECT_FALSE(document->GridOpen || document->DesignOpen);
  EXPECT_EQ(frame->mdi->subWindowList().size(), 1);
  EXPECT_EQ(EntriesOf(document->Composition->Palette()), palette);
  EXPECT_TRUE(document->Composition->SourcePicture() == picture);
  EXPECT_FALSE(document->Composition->Modified());
}

TEST_F(BusyRules, TurnBusyFlagOffAsksThenClearsBusyOnlyWithoutAWorker) {
  document->SetWork(DocWork::Reporting);
  messages.Answer(false);
  document->BUSYflagoffClick();
  EXPECT_EQ(messages.shown, std::vector<std::string>{kQuestion});
  EXPECT_TRUE(document->Busy());
  messages.Answer(true);
  document->BUSYflagoffClick();
  EXPECT_FALSE(document->Busy());
  document->SetWork(DocWork::Idle);

  // A picture update is let end: until then the window stays busy and cannot close.
  Hold(DocWork::UpdatingPicture, true);
  messages.Answer(true);
  document->BUSYflagoffClick();
  EXPECT_TRUE(document->Busy());
  EXPECT_FALSE(document->Jobs().CancelRequested());
  messages.shown.clear();
  EXPECT_FALSE(frame->mdi->subWindowList().first()->close());
  EXPECT_FALSE(frame->close());
  EXPECT_EQ(messages.shown.size(), 2u);
  release = true;
  ASSERT_TRUE(WaitFor([&] { return !document->Working(); }));
  EXPECT_FALSE(document->Busy());
}

TEST_F(BusyRules, ASearchIsCancelledByEitherCommandAndTheWindowEndsIdle) {
  for (bool by_busy_off : {false, true}) {
    Hold(DocWork::Searching, true);
    frame->UpdateCommands();
    ASSERT_TRUE(frame->Action(Command::CancelSearch)->isEnabled());
    if (by_busy_off) {
      messages.Answer(true);
      document->BUSYflagoffClick();
    } else {
      frame->Action(Command::CancelSearch)->trigger();
    }
    EXPECT_TRUE(document->Jobs().CancelRequested()) << by_busy_off;
    ASSERT_TRUE(WaitFor([&] { return !document->Working(); })) << by_busy_off;
    EXPECT_FALSE(document->Busy());
    EXPECT_EQ(document->State().Work(), DocWork::Idle);
  }
}

}  // namespace
