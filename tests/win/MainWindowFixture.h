// A real main window in the test process, on the virtual display, with the
// standard dialog, the message window, the folder dialog, the error display
// and the installation sequence replaced by scripted stand-ins that record
// what the window asked.
#pragma once

#include "common/ComPtr.h"
#include "tests/win/TestSupport.h"
#include "tests/win/UiDriver.h"
#include "toolkit/Application.h"
#include "toolkit/FolderDialog.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/Screen.h"
#include "ui/MessageForm.h"
#include "wizard/Main.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    savedSequence_ = TFMain::InstallSequenceForTesting();
    form_ = std::make_unique<TFMain>();
    form_->Create(::GetModuleHandleW(nullptr), nullptr);
    FMain = form_.get();
    tk::Application::Instance().SetMainWindow(form_->handle());
    form_->Show();
    ::SetForegroundWindow(form_->handle());
    Pump();
  }

  void TearDown() override {
    tk::Application::Instance().SetMainWindow(nullptr);
    form_.reset();
    TFMain::InstallSequenceForTesting() = savedSequence_;
    tk::Screen::Instance().SetCursor(tk::crDefault);
    EXPECT_TRUE(answers_.empty()) << "scripted answers left over";
  }

  TFMain& Form() { return *form_; }
  bool WindowAlive() const { return form_->handle() && ::IsWindow(form_->handle()); }

  // What the user does.
  void Click(tk::Window& button) {
    ::SendMessageW(button.handle(), BM_CLICK, 0, 0);
    Pump();
  }
  void Type(tk::Window& field, const std::wstring& text) { ::SetWindowTextW(field.handle(), text.c_str()); }
  // A key as the message loop sees it: through the dialog manager.
  void Key(WPARAM key) {
    const HWND focus = Focus();
    ::PostMessageW(focus, WM_KEYDOWN, key, 1);
    ::PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    Pump();
  }
  void Pump() { tk::Application::Instance().ProcessMessages(); }
  // The control with the keyboard focus (see uidriver::FocusIn).
  HWND Focus() { return uidriver::FocusIn(form_->handle()); }

  // Walks from the start page to the components page with `target`.
  void GoToComponents(const std::wstring& target) {
    Click(Form().BtnStartNext);
    Type(Form().ePath, target);
    Click(Form().BtnInputPathNext);
    ASSERT_EQ(Form().ActiveWizardPage(), WizardPage::tsInputComponents);
  }

  // Only the active page is visible.
  void ExpectPage(WizardPage page) {
    EXPECT_EQ(Form().ActiveWizardPage(), page);
    for (int i = 0; i < Form().InsatallPages.PageCount(); ++i)
      EXPECT_EQ(Form().InsatallPages.Pages(i).Visible(), i == static_cast<int>(page)) << "page " << i;
  }

  // Scripted answers of the standard dialog, in order; each question asked is kept.
  std::deque<tk::ModalResult> answers_;
  std::vector<tk::MessageDlgCall> asked_;
  std::vector<ui::MessageWindowCall> messageWindows_;
  std::vector<std::wstring> errors_;
  std::deque<std::optional<std::wstring>> folderAnswers_;
  std::vector<std::wstring> folderInstructions_;
  std::vector<HWND> folderOwners_;

 private:
  win::ComScope com_{COINIT_APARTMENTTHREADED};
  tk::ScopedMessageDlg dialogs_{[this](const tk::MessageDlgCall& call) {
    asked_.push_back(call);
    if (answers_.empty()) {
      ADD_FAILURE() << "unexpected question: " << testsupport::Utf8(call.text);
      return tk::mrNone;
    }
    const tk::ModalResult answer = answers_.front();
    answers_.pop_front();
    return answer;
  }};
  ui::ScopedMessageWindow messageWindow_{[this](const ui::MessageWindowCall& call) {
    messageWindows_.push_back(call);
    return true;
  }};
  tk::ScopedBrowseForFolder folders_{[this](HWND owner, const std::wstring& instruction) {
    folderOwners_.push_back(owner);
    folderInstructions_.push_back(instruction);
    std::optional<std::wstring> answer;
    if (!folderAnswers_.empty()) {
      answer = folderAnswers_.front();
      folderAnswers_.pop_front();
    }
    return answer;
  }};
  tk::Application::ScopedErrorDisplay errorDisplay_{[this](const std::wstring& text) { errors_.push_back(text); }};
  TFMain::InstallSequence savedSequence_;
  std::unique_ptr<TFMain> form_;
};
