// WaitRun: the launch-wait window TFWaitRun, a small stay-on-top window with
// one line of text and a progress bar of 25 steps, for a longer piece of work
// or a program start. The caller sets the kind of work (typemessage, which
// chooses the title when the window is shown), shows the window and advances
// it with Next. Start-up creates it hidden; the installer never shows it.
#pragma once

#include "common/Handles.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/ProgressBar.h"

#include <cstdint>
#include <functional>
#include <string>

// The title for a kind of work: 2 and 3 name the ECG work, 4 none, any other
// "Launching ".
std::wstring WaitRunTitle(std::uint8_t typemessage);

class TFWaitRun final : public tk::Form {
 public:
  // Sizes as designed at 144 pixels per inch; the window scales them to the
  // screen's pixels per inch.
  static constexpr int kDesignPixelsPerInch = 144;
  static constexpr int kClientWidth = 471;
  static constexpr int kClientHeight = 59;
  static constexpr int kBorderWidth = 2;
  static constexpr int kBarHeight = 30;
  static constexpr int kFontHeight = 20;
  static constexpr int kSteps = 25;

  TFWaitRun();
  ~TFWaitRun() override;

  // Creates the hidden window, owned by `owner`, and runs FormCreate.
  void Create(HWND owner);

  // Advances the bar one step and shows `msg`, then lets the queued window
  // messages run. Nothing that goes wrong in here reaches the caller.
  void Next(const std::wstring& msg) noexcept;

  // Event handlers.
  void FormCreate();
  void FormShow();
  void FormDestroy();

  std::uint8_t typemessage = 0;  // the kind of work; chooses the title on showing

  // Test seam: how Next lets the queued messages run (the application's
  // ProcessMessages unless replaced).
  static std::function<void()>& ProcessMessagesForTesting();

  // The font comes before the controls, so it outlives them.
 private:
  win::UniqueFont font_;  // Tahoma, 20 pixels at 144 pixels per inch, Russian character set

 public:
  tk::Label LblProgress;
  tk::ProgressBar ProgressBar;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int Scaled(int pixels) const;

  int pixelsPerInch_ = 96;
};

// The one launch-wait window while start-up's object lives; null otherwise.
extern TFWaitRun* FWaitRun;
