// The background workers and what they stand on: the progress throttle, the screen bitmap,
// the synchronised call, and both workers driving a real document window.

#include <gtest/gtest.h>

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QThread>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <new>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/app_settings.h"
#include "app/ui/commands.h"
#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/picture_view.h"
#include "app/ui/progress_throttle.h"
#include "app/ui/slot_guard.h"
#include "app/ui/ui_thread.h"
#include "base/exceptions.h"
#include "composition/composition.h"
#include "composition/search_result.h"
#include "composition/ui/document_jobs.h"
#include "composition/ui/screen_bitmap.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/ui_support.h"

namespace {

using namespace std::chrono_literals;
using Reports = std::vector<std::pair<std::string, uint16_t>>;

// A clock the test moves by hand.
struct FakeClock {
  std::chrono::steady_clock::time_point now{};
  ProgressThrottle::Clock Function() {
    return [this] { return now; };
  }
};

struct ThrottleRig {
  FakeClock clock;
  ProgressThrottle throttle{clock.Function()};
  Reports forwarded;
  void Report(const std::string& text, uint16_t percent) {
    throttle.Report(text, percent,
                    [this](const std::string& t, uint16_t p) { forwarded.emplace_back(t, p); });
  }
};

TEST(ProgressThrottle, PassesAReportOnlyWhenTheIntervalWentBy) {
  ThrottleRig rig;
  rig.Report("(1%) Mapping image", 1);  // the first one shows at once
  rig.clock.now += 10ms;
  rig.Report("(2%) Mapping image", 2);
  rig.clock.now += 5ms;
  rig.Report("(3%) Mapping image", 3);  // 15 ms after the one shown
  rig.clock.now += 1ms;
  rig.Report("(4%) Mapping image", 4);  // 16 ms
  EXPECT_EQ(rig.forwarded, (Reports{{"(1%) Mapping image", 1}, {"(4%) Mapping image", 4}}));
}

TEST(ProgressThrottle, TheClosingReportAlwaysPassesAfterTheLastHeldBack) {
  ThrottleRig rig;
  rig.Report("(1%) Mapping image", 1);
  rig.clock.now += 1ms;
  rig.Report("(50%) Mapping image", 50);
  rig.Report("(100%) Mapping image", 100);
  rig.Report("", 0);
  EXPECT_EQ(rig.forwarded,
            (Reports{{"(1%) Mapping image", 1}, {"(100%) Mapping image", 100}, {"", 0}}));

  // Nothing held back: the closing report alone; and the next operation starts shown.
  rig.forwarded.clear();
  rig.Report("Searching...", 0);
  rig.Report("", 0);
  rig.Report("Cleaning up...", 0);
  rig.Report("", 0);
  EXPECT_EQ(rig.forwarded, (Reports{{"Searching...", 0}, {"", 0}, {"Cleaning up...", 0}, {"", 0}}));
}

// A picture of width x height whose every pixel has its own color.
PictureBlock NumberedPicture(uint32_t width, uint32_t height) {
  PictureBlock block(PictureBytes(width, height), 0);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x)
      PutPixelAt(block.data(), PixelOffset(width, height, x, y),
                 MakeColor(uint8_t(x * 40 + 1), uint8_t(y * 50 + 2), uint8_t(x + y + 3)));
  return block;
}

void GivePicture(TpunCompo& composition, uint32_t width, uint32_t height, PictureBlock block) {
  composition.SetPicture(TPicture(uint16_t(width), uint16_t(height), std::move(block)));
}

TEST(CreateScreenBitmap, CopiesBottomUpPaddedRowsTopRowFirst) {
  ScriptedMessages messages;
  for (uint32_t width : {1u, 3u, 5u, 6u}) {
    TpunCompo composition;
    const uint32_t height = 3;
    GivePicture(composition, width, height, NumberedPicture(width, height));
    const QImage image = CreateScreenBitmap(composition);
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.size(), QSize(int(width), int(height)));
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x) {
        const TColor expected =
            PixelAt(composition.MappedPicture().Data(), PixelOffset(width, height, x, y));
        EXPECT_EQ(image.pixel(int(x), int(y)),
                  qRgb(RedOf(expected), GreenOf(expected), BlueOf(expected)))
            << "width " << width << " at " << x << "," << y;
      }
  }
  EXPECT_TRUE(messages.shown.empty());
}

TEST(CreateScreenBitmap, NoPictureGivesANullImageSilentlyAndAShortBlockIsNotOverread) {
  ScriptedMessages messages;
  TpunCompo empty;
  EXPECT_TRUE(CreateScreenBitmap(empty).isNull());

  // A block holding only the bottom row can no longer reach a composition: the picture
  // refuses it, so nothing can read past it.
  TpunCompo short_block;
  PictureBlock bottom_only(RowLength(2), 0);
  EXPECT_THROW(GivePicture(short_block, 2, 2, std::move(bottom_only)), std::invalid_argument);
  EXPECT_TRUE(CreateScreenBitmap(short_block).isNull());
  EXPECT_TRUE(messages.shown.empty());
}

TEST(RunOnUiThread, RunsOnTheContextsThreadAndCarriesExceptionsBack) {
  QObject context;
  QThread* ran_on = nullptr;
  std::string caught;
  std::unique_ptr<QThread> worker(QThread::create([&] {
    RunOnUiThread(&context, [&] { ran_on = QThread::currentThread(); });
    try {
      RunOnUiThread(&context,
                    [] { throw std::runtime_error("(TpunPal.GetClr) : Invalid Color index !"); });
    } catch (const std::exception& error) {
      caught = error.what();
    }
  }));
  worker->start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return worker->isFinished(); }, 5000));
  EXPECT_EQ(ran_on, context.thread());
  EXPECT_EQ(caught, "(TpunPal.GetClr) : Invalid Color index !");
}

// A frame with one document window holding a small picture on the main palette.
class Workers : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_config_ = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    setenv("XDG_CONFIG_HOME", config_.Path().c_str(), 1);
    frame_ = std::make_unique<TMainForm>();
    saved_settings_ = Settings();
    window_ = frame_->CreateDocument();
    ASSERT_NE(window_, nullptr);
    frame_->AddChild(window_);
    GivePicture(*window_->Composition, kWidth, kHeight, Gradient());
  }

  void TearDown() override {
    // A worker that outlived its test is cancelled and waited for before its window goes.
    if (window_) window_->CancelSearchClick();
    EXPECT_TRUE(WaitIdle());
    Settings() = saved_settings_;
    frame_.reset();
    setenv("XDG_CONFIG_HOME", previous_config_.c_str(), 1);
  }

  static constexpr uint32_t kWidth = 48, kHeight = 32;

  // Smooth shading: many distinct colors, every one far from others by a few steps.
  static PictureBlock Gradient() {
    PictureBlock block(PictureBytes(kWidth, kHeight), 0);
    for (uint32_t y = 0; y < kHeight; ++y)
      for (uint32_t x = 0; x < kWidth; ++x)
        PutPixelAt(block.data(), PixelOffset(kWidth, kHeight, x, y),
                   MakeColor(uint8_t(x * 5), uint8_t(y * 7), uint8_t(255 - x * 3 - y * 2)));
    return block;
  }

  // Every job has ended and the window is idle.
  bool WaitIdle() {
    return QTest::qWaitFor(
        [&] { return !window_ || (!window_->Working() && !window_->Jobs().Running()); }, 10000);
  }

  void ExpectIdle() {
    EXPECT_FALSE(window_->Busy());
    EXPECT_FALSE(window_->UpdatingPicture());
    EXPECT_FALSE(window_->Searching());
    EXPECT_EQ(window_->msgpanel->text(), "");
    EXPECT_EQ(window_->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(window_->image1->cursor().shape(), Qt::ArrowCursor);
  }

  // The colors of the shown picture, as color values.
  std::set<TColor> ShownColors() const { return ColorsOf(window_->image1->Picture()); }

  static std::set<TColor> PaletteColors(const TpunPal& palette) {
    std::set<TColor> colors;
    for (int32_t i = 0; i < palette.Count(); ++i) colors.insert(palette.GetClr(i));
    return colors;
  }

  // Starts a search on a working copy, as the "Automatic color search" command does.
  void StartSearch(const TSearchOptions& options) { window_->StartColorSearch(options); }

  TempFolder config_;
  std::string previous_config_;
  TSettings saved_settings_;
  std::unique_ptr<TMainForm> frame_;
  TMDIChild* window_ = nullptr;
};

TEST_F(Workers, APictureUpdateMapsThePictureAndShowsItInFlossColors) {
  ScriptedMessages messages;
  Settings().AutoRemap = true;
  window_->StartPictureUpdate(false);
  ASSERT_TRUE(WaitIdle());
  ExpectIdle();
  EXPECT_FALSE(window_->RemapPict->isEnabled());
  ASSERT_EQ(window_->image1->Picture().size(), QSize(kWidth, kHeight));
  const std::set<TColor> floss = PaletteColors(window_->Composition->Palette());
  for (TColor color : ShownColors()) EXPECT_TRUE(floss.count(color)) << std::hex << color;
  EXPECT_EQ(window_->image1->Picture(), CreateScreenBitmap(*window_->Composition));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Workers, WithoutAutomaticRemapTheUnmappedPictureShowsUntilRemapPicture) {
  ScriptedMessages messages;
  Settings().AutoRemap = false;
  window_->StartPictureUpdate(false);
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(window_->RemapPict->isEnabled());
  TpunCompo unmapped;
  GivePicture(unmapped, kWidth, kHeight, Gradient());
  EXPECT_EQ(window_->image1->Picture(), CreateScreenBitmap(unmapped));

  window_->RemapPictClick();  // forced
  ASSERT_TRUE(WaitIdle());
  ExpectIdle();
  EXPECT_FALSE(window_->RemapPict->isEnabled());
  const std::set<TColor> floss = PaletteColors(window_->Composition->Palette());
  for (TColor color : ShownColors()) EXPECT_TRUE(floss.count(color)) << std::hex << color;
}

TEST_F(Workers, AnErrorInThePictureUpdateLeavesTheWindowIdleAndUsable) {
  ScriptedMessages messages;
  Settings().AutoRemap = true;
  TpunCompo& composition = *window_->Composition;
  std::vector<std::string> before_heard;
  composition.SetOnProgress(
      [&](const std::string& text, uint16_t) { before_heard.push_back(text); });
  composition.Palette().OnProgress = [&](const std::string& text, uint16_t) {
    before_heard.push_back("palette " + text);
  };
  composition.Palette().Clear();

  window_->StartPictureUpdate(false);
  ASSERT_TRUE(WaitIdle());
  ExpectIdle();
  EXPECT_EQ(messages.shown,
            std::vector<std::string>{"Error: (TpunPal.GetClr) : Invalid Color index !"});
  // The handlers are the ones the worker found.
  EXPECT_TRUE(before_heard.empty());
  composition.OnProgress()("x", 0);
  composition.Palette().OnProgress("y", 0);
  EXPECT_EQ(before_heard, (std::vector<std::string>{"x", "palette y"}));

  // The window takes the next update: the failed one told it that it ended.
  composition.Palette().Assign(frame_->MainPalette);
  window_->StartPictureUpdate(false);
  ASSERT_TRUE(WaitIdle());
  ASSERT_EQ(window_->image1->Picture().size(), QSize(kWidth, kHeight));
  EXPECT_EQ(window_->image1->Picture(), CreateScreenBitmap(composition));
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(Workers, RotateTurnsThePictureOnTheWorkerAndShowsItMapped) {
  ScriptedMessages messages;
  Settings().AutoRemap = true;
  window_->Composition->SetModified(false);
  const TPicture before = window_->Composition->SourcePicture();
  frame_->UpdateCommands();  // the fixture gave the picture behind the window's back
  frame_->Action(Command::Rotate)->trigger();
  EXPECT_TRUE(window_->Busy());
  ASSERT_TRUE(WaitIdle());
  ExpectIdle();
  EXPECT_EQ(window_->Composition->Width(), kHeight);
  EXPECT_EQ(window_->Composition->Height(), kWidth);
  EXPECT_TRUE(window_->Composition->Modified());
  EXPECT_EQ(before.Width(), kWidth);  // the picture let go of is whole until freed
  ASSERT_EQ(window_->image1->Picture().size(), QSize(kHeight, kWidth));
  EXPECT_EQ(window_->image1->Picture(), CreateScreenBitmap(*window_->Composition));
  const std::set<TColor> floss = PaletteColors(window_->Composition->Palette());
  for (TColor color : ShownColors()) EXPECT_TRUE(floss.count(color)) << std::hex << color;
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Workers, AFinishedSearchReplacesThePaletteAndStartsAPictureUpdate) {
  ScriptedMessages messages;
  Settings().AutoRemap = true;
  window_->Composition->SetModified(false);
  TSearchOptions options;
  options.MaxFloss = 6;
  options.Increment = 8;  // few merge rounds: the test is about the hand-over
  options.RemoveLonely = false;
  StartSearch(options);
  ASSERT_TRUE(WaitIdle());
  ExpectIdle();
  EXPECT_FALSE(window_->Jobs().Running());  // the working copy went with its job
  const TpunPal& palette = window_->Composition->Palette();
  EXPECT_GT(palette.Count(), 0);
  EXPECT_LE(palette.Count(), 6);
  EXPECT_TRUE(window_->Composition->Modified());
  // The update that followed mapped the picture onto the reduced palette.
  const std::set<TColor> floss = PaletteColors(palette);
  const std::set<TColor> shown = ShownColors();
  ASSERT_FALSE(shown.empty());
  for (TColor color : shown) EXPECT_TRUE(floss.count(color)) << std::hex << color;
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Workers, ASearchCancelledAtOnceChangesNothing) {
  ScriptedMessages messages;
  const std::set<TColor> before = PaletteColors(window_->Composition->Palette());
  const int32_t count = window_->Composition->Palette().Count();
  window_->Composition->SetModified(false);
  TSearchOptions options;
  options.MaxFloss = 2;
  StartSearch(options);
  window_->CancelSearchClick();  // before the first report, as at once as a user could
  ASSERT_TRUE(WaitIdle());
  ExpectIdle();
  EXPECT_FALSE(window_->Jobs().Running());  // the working copy went with its job
  EXPECT_EQ(window_->Composition->Palette().Count(), count);
  EXPECT_EQ(PaletteColors(window_->Composition->Palette()), before);
  EXPECT_FALSE(window_->Composition->Modified());
  EXPECT_TRUE(window_->image1->Picture().isNull());  // no picture update was started
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Workers, AnEmptySearchResultLeavesThePaletteAndSaysSo) {
  ScriptedMessages messages;
  // Two pixels of two floss colors, one dot each: the lonely entries take every color.
  PictureBlock two(PictureBytes(2, 1), 0);
  PutPixelAt(two.data(), PixelOffset(2, 1, 0, 0), MakeColor(0, 0, 0));
  PutPixelAt(two.data(), PixelOffset(2, 1, 1, 0), MakeColor(255, 255, 255));
  GivePicture(*window_->Composition, 2, 1, std::move(two));
  const int32_t count = window_->Composition->Palette().Count();
  window_->Composition->SetModified(false);
  TSearchOptions options;
  options.RemoveLonely = true;
  options.Dots = 1;
  options.LightThreshold = 99;
  StartSearch(options);
  ASSERT_TRUE(WaitIdle());
  ExpectIdle();
  EXPECT_EQ(messages.shown, std::vector<std::string>{std::string("Error: ") + kEmptySearchResult});
  EXPECT_EQ(window_->Composition->Palette().Count(), count);
  EXPECT_FALSE(window_->Composition->Modified());
  EXPECT_FALSE(window_->Jobs().Running());  // the working copy went with its job
}

TEST_F(Workers, AJobStillRunningWhenItsWindowGoesIsCancelledAndJoined) {
  ScriptedMessages messages;
  std::atomic<bool> started{false}, saw_cancel{false}, ended{false};
  bool applied = false;
  window_->RunJob(DocWork::Reporting, [&] {
    WorkerJob job;
    job.body = [&](const ProgressHandler& progress, const CancelToken& cancel) {
      started = true;
      for (int i = 0; i < 20000 && !cancel; ++i) {
        progress("Working...", 0);
        QThread::msleep(1);
      }
      saw_cancel = cancel.load();
      ended = true;
      return std::any();
    };
    job.apply = [&](std::any&) { applied = true; };
    return job;
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return started.load(); }, 5000));
  EXPECT_TRUE(window_->Busy());
  EXPECT_FALSE(frame_->mdi->activeSubWindow()->close());  // the user may not close it
  delete frame_->mdi->activeSubWindow();                  // the program may
  window_ = nullptr;
  EXPECT_TRUE(ended);  // joined before the window was gone
  EXPECT_TRUE(saw_cancel);
  QCoreApplication::processEvents();
  EXPECT_FALSE(applied);
  EXPECT_EQ(messages.shown,
            std::vector<std::string>{"Error: Cannot close, \"New Composition.dmc\" is busy !"});
}

TEST_F(Workers, WhatAJobRaisesIsShownOnceAndTheWindowGoesIdle) {
  struct Case {
    std::function<void()> raise;
    std::string shown;
    bool while_made = false;  // raised on the UI thread, as the job is made
  };
  const Case cases[] = {
      {[] { throw std::bad_alloc(); }, kOutOfMemory},
      {[] { throw EInOutError("Cannot open file x.bmp"); }, "Cannot open file x.bmp"},
      {[] { throw 7; }, "Unexpected error"},
      {[] { throw EInOutError("Unable to read x.dmc"); }, "Unable to read x.dmc", true},
  };
  for (const Case& c : cases) {
    ScriptedMessages messages;
    bool applied = false;
    window_->RunJob(DocWork::Reporting, [&] {
      if (c.while_made) c.raise();
      WorkerJob job;
      job.body = [&](const ProgressHandler&, const CancelToken&) -> std::any {
        c.raise();
        return {};
      };
      job.apply = [&](std::any&) { applied = true; };
      return job;
    });
    ASSERT_TRUE(WaitIdle());
    ExpectIdle();
    EXPECT_FALSE(applied);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: " + c.shown});
  }
}

// An object whose event handler lets an error out, as a slip past Guarded would.
class Throwing : public QObject {
 public:
  explicit Throwing(std::function<void()> raise) : raise_(std::move(raise)) {}
  bool event(QEvent*) override {
    raise_();
    return true;
  }

 private:
  std::function<void()> raise_;
};

TEST(LastGuard, ShowsWhatEscapedAnEventHandlerAndTheProgramGoesOn) {
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[] { throw std::bad_alloc(); }, kOutOfMemory},
      {[] { throw EInOutError("Unable to write to x.dmc"); }, "Unable to write to x.dmc"},
  };
  for (const auto& [raise, text] : cases) {
    ScriptedMessages messages;
    Throwing object(raise);
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&object, &event));
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: " + text});
  }
}

}  // namespace
