// "Automatic color search" and "Cancel color search" from a frame's commands, with the
// options dialog answered by the test: the search on the worker, its result on the
// document, and cancels at chosen moments of the search.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "app/app_settings.h"
#include "app/ui/commands.h"
#include "app/ui/find_form.h"
#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/picture_view.h"
#include "app/ui/spin_edit.h"
#include "composition/composition.h"
#include "composition/ui/color_search_job.h"
#include "composition/ui/document_jobs.h"
#include "tests/support/palette_entries.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/ui_support.h"

namespace {

using namespace std::chrono_literals;
using Floss = Entries;

// A frame with one document window holding a picture on the main palette.
class SearchCommand : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) previous_config_ = old;
    setenv("XDG_CONFIG_HOME", config_.Path().c_str(), 1);
    frame_ = std::make_unique<TMainForm>();
    saved_settings_ = Settings();
    Settings().AutoRemap = true;
    window_ = frame_->CreateDocument();
    ASSERT_NE(window_, nullptr);
    frame_->AddChild(window_);
    GivePicture(kWidth, kHeight, [](uint32_t x, uint32_t y) {
      return MakeColor(uint8_t(x * 5), uint8_t(y * 7), uint8_t(255 - x * 3 - y * 2));
    });
  }

  void TearDown() override {
    SetSearchReportProbe({});
    if (window_) window_->CancelSearchClick();
    EXPECT_TRUE(WaitIdle());
    Settings() = saved_settings_;
    frame_.reset();
    setenv("XDG_CONFIG_HOME", previous_config_.c_str(), 1);
  }

  static constexpr uint32_t kWidth = 48, kHeight = 32;

  void GivePicture(uint32_t width, uint32_t height,
                   const std::function<TColor(uint32_t, uint32_t)>& color) {
    PictureBlock block(PictureBytes(width, height), 0);
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x)
        PutPixelAt(block.data(), PixelOffset(width, height, x, y), color(x, y));
    window_->Composition->SetPicture(TPicture(uint16_t(width), uint16_t(height), std::move(block)));
    window_->Composition->SetModified(false);
    frame_->UpdateCommands();  // the picture came behind the window's back
  }

  // Runs "Automatic color search" from the menu, or by `start`, with the dialog answered
  // by `answer`; how often the dialog was shown.
  int Run(const std::function<void(TFindForm&)>& answer, std::function<void()> start = {}) {
    int shown = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (auto* form = qobject_cast<TFindForm*>(QApplication::activeModalWidget())) {
        timer.stop();
        ++shown;
        answer(*form);
      }
    });
    timer.start(5);
    start ? start() : frame_->Action(Command::ColorSearch)->trigger();
    return shown;
  }
  // Ok with at most `floss` floss, few merge rounds and no lonely entries removed.
  static std::function<void(TFindForm&)> Ok(const char* floss) {
    return [floss](TFindForm& form) {
      form.threads->SetText(floss);
      form.increment->SetText("8");
      form.removelonely->setChecked(false);
      form.Button1->click();
    };
  }

  bool WaitIdle() {
    return QTest::qWaitFor(
        [&] { return !window_ || (!window_->Working() && !window_->Jobs().Running()); }, 20000);
  }
  void ExpectIdle() {
    EXPECT_FALSE(window_->Busy());
    EXPECT_FALSE(window_->Searching());
    EXPECT_FALSE(frame_->Action(Command::CancelSearch)->isEnabled());
    EXPECT_EQ(window_->msgpanel->text(), "");
  }
  std::set<TColor> ShownColors() const { return ColorsOf(window_->image1->Picture()); }

  ScriptedMessages messages_;
  TempFolder config_;
  std::string previous_config_;
  TSettings saved_settings_;
  std::unique_ptr<TMainForm> frame_;
  TMDIChild* window_ = nullptr;
};

TEST_F(SearchCommand, AFinishedSearchReplacesThePaletteMarksModifiedAndUpdatesThePicture) {
  const auto before = EntriesOf(window_->Composition->Palette());
  ASSERT_EQ(Run(Ok("10")), 1);
  // Marked searching before the worker's first report reached the window.
  EXPECT_TRUE(window_->Searching());
  EXPECT_TRUE(frame_->Action(Command::CancelSearch)->isEnabled());
  EXPECT_FALSE(frame_->Action(Command::ColorSearch)->isEnabled());
  EXPECT_EQ(window_->msgpanel->text(), "Automatic color search, initializing...");
  ASSERT_TRUE(WaitIdle());
  ExpectIdle();
  TpunPal& palette = window_->Composition->Palette();
  EXPECT_GT(palette.Count(), 0);
  EXPECT_LE(palette.Count(), 10);
  EXPECT_TRUE(window_->Composition->Modified());
  EXPECT_EQ(frame_->numcolorpanel->text(),
            QString("[%1],[%2]").arg(palette.ThreadCount()).arg(palette.Count()));
  const std::set<TColor> shown = ShownColors();
  ASSERT_FALSE(shown.empty());
  std::set<TColor> floss;
  for (const auto& entry : EntriesOf(palette)) floss.insert(entry.second);
  for (TColor color : shown) EXPECT_TRUE(floss.count(color)) << std::hex << color;
  EXPECT_TRUE(messages_.shown.empty());
  // The search can be taken back: the palette from before it returns whole.
  ASSERT_TRUE(frame_->Action(Command::UndoPalette)->isEnabled());
  frame_->Action(Command::UndoPalette)->trigger();
  EXPECT_EQ(EntriesOf(window_->Composition->Palette()), before);
  ASSERT_TRUE(WaitIdle());
}

TEST_F(SearchCommand, TransparencyFollowsItsFlossOrGoesOff) {
  // Four floss of the main palette in bands: the search keeps all four, brightest first.
  const TpunPal& main = frame_->MainPalette;
  const std::vector<int32_t> used = {7, 120, 260, 400};
  for (auto [transparent, follows] : {std::pair{260, true}, {33, false}}) {
    window_->Composition->Palette().Assign(main);
    GivePicture(8, 4, [&](uint32_t x, uint32_t) { return main.GetClr(used[x / 2]); });
    window_->Composition->SetTransparencyOn(true);
    window_->Composition->SetTransparentColor(transparent);
    const std::string name = main.GetName(transparent);
    ASSERT_EQ(Run(Ok("10")), 1);
    ASSERT_TRUE(WaitIdle());
    ExpectIdle();
    const TpunCompo& composition = *window_->Composition;
    ASSERT_EQ(composition.Palette().Count(), 4);
    EXPECT_EQ(composition.TransparencyOn(), follows) << name;
    if (follows) EXPECT_EQ(composition.Palette().GetName(composition.TransparentColor()), name);
    EXPECT_TRUE(composition.Modified());
  }
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(SearchCommand, ACancelAtAnyMomentLeavesTheDocumentUntouched) {
  // A moment of the search, told by its reports; `merged` says a merge round was heard.
  using Moment = std::function<bool(const std::string& text, bool merged)>;
  const auto sorting = [](const std::string& text) {
    return text.find("Sorting colors") != std::string::npos;
  };
  const std::vector<std::pair<const char*, Moment>> moments = {
      {"right after the start", nullptr},
      {"during the first sort",
       [&](const std::string& text, bool merged) { return sorting(text) && !merged; }},
      {"in a merge round",
       [](const std::string& text, bool) {
         return text.find("Removing similar colors") != std::string::npos;
       }},
      {"during the last sort",
       [&](const std::string& text, bool merged) { return sorting(text) && merged; }},
  };
  const Floss before = EntriesOf(window_->Composition->Palette());
  for (const auto& [when, moment] : moments) {
    std::atomic<int> stage{0};  // 1: the worker waits at the moment; 2: it goes on
    if (moment)
      SetSearchReportProbe(
          [&, moment = moment, merged = false](const std::string& text, uint16_t) mutable {
            merged = merged || text.find("Removing similar colors") != std::string::npos;
            if (stage != 0 || !moment(text, merged)) return;
            stage = 1;
            const auto deadline = std::chrono::steady_clock::now() + 10s;
            while (stage == 1 && std::chrono::steady_clock::now() < deadline)
              std::this_thread::sleep_for(1ms);
          });
    ASSERT_EQ(Run(Ok("10")), 1) << when;
    if (moment) ASSERT_TRUE(QTest::qWaitFor([&] { return stage == 1; }, 20000)) << when;
    ASSERT_TRUE(frame_->Action(Command::CancelSearch)->isEnabled()) << when;
    frame_->Action(Command::CancelSearch)->trigger();
    stage = 2;
    ASSERT_TRUE(WaitIdle()) << when;
    ExpectIdle();
    EXPECT_EQ(EntriesOf(window_->Composition->Palette()), before) << when;
    EXPECT_FALSE(window_->Composition->Modified()) << when;
    EXPECT_TRUE(window_->image1->Picture().isNull()) << when;  // no picture update
    SetSearchReportProbe({});
  }
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(SearchCommand, CancelledOptionsOrABusyWindowStartNothing) {
  const Floss before = EntriesOf(window_->Composition->Palette());
  ASSERT_EQ(Run([](TFindForm& form) { form.Button2->click(); }), 1);
  EXPECT_FALSE(window_->Jobs().Running());
  ExpectIdle();

  // While a job holds the window, and after "Turn BUSY flag off" while it still runs, the
  // command opens no dialog, from the menu or called directly.
  std::atomic<bool> release{false};
  window_->RunJob(DocWork::Reporting, [&] {
    WorkerJob job;
    job.body = [&](const ProgressHandler&, const CancelToken&) {
      while (!release) std::this_thread::sleep_for(1ms);
      return std::any();
    };
    return job;
  });
  for (bool flag_off : {false, true}) {
    if (flag_off) {
      messages_.Answer(true);
      window_->BUSYflagoffClick();
    }
    const auto cancel = [](TFindForm& form) { form.Button2->click(); };
    EXPECT_EQ(Run(cancel), 0) << flag_off;
    EXPECT_EQ(Run(cancel, [&] { window_->Automaticcolorsearch1Click(); }), 0) << flag_off;
  }
  release = true;
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(EntriesOf(window_->Composition->Palette()), before);
  EXPECT_FALSE(window_->Composition->Modified());
}

}  // namespace
