// The wizard's pages and transitions, on a real main window: buttons pressed
// as a user presses them, dialogs answered by script.
#include "common/TextUtil.h"
#include "tests/win/MainWindowFixture.h"
#include "wizard/MainTexts.h"

using namespace testsupport;
using tk::MsgDlgType;

namespace {

const std::wstring kDriverWarning =
    L"Внимание!\r Если на вашем компьютере уже установлен комплекс \"Севрон-Rezezi\",\r снимите галочку "
    L"установки драйвера!";

std::wstring CurrentFolder() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, buffer);
  return std::wstring(buffer, length);
}

}  // namespace

using Wizard = MainWindowTest;

TEST_F(Wizard, StartsOnTheStartPage) {
  ExpectPage(WizardPage::tsStart);
  EXPECT_EQ(Form().ePath.Text(), L"C:\\Dazide");
  EXPECT_FALSE(Form().BtnExit.Enabled());
  EXPECT_FALSE(Form().LogList.Visible());
  EXPECT_TRUE(Form().CanClose());
  EXPECT_TRUE(Form().CbDriverInstal.Checked());
  EXPECT_EQ(Form().RuntimeVariant(), 0);
  EXPECT_FALSE(Form().CBWindows.Visible());
  EXPECT_EQ(Focus(), Form().BtnStartNext.handle());
}

TEST_F(Wizard, NextOnTheStartPageShowsTheTargetPageWithTheFieldFocused) {
  Click(Form().BtnStartNext);
  ExpectPage(WizardPage::tsInputPath);
  EXPECT_EQ(Focus(), Form().ePath.handle());
  EXPECT_TRUE(asked_.empty());
}

TEST_F(Wizard, TargetChecks) {
  TempFolder temp(L"цель");
  const std::wstring parentMissing = temp / L"нет такого\\Dazide";
  struct Case {
    std::wstring typed;
    const wchar_t* message;  // null: accepted
    MsgDlgType kind;
    std::wstring fieldAfter;
    std::vector<std::wstring> created;  // folders that exist afterwards
  };
  const std::vector<Case> cases = {
      {L"", wizard_text::kNoTarget, MsgDlgType::mtError, L"", {}},
      {L"   \t ", wizard_text::kNoTarget, MsgDlgType::mtError, L"   \t ", {}},
      {L"C:\\", wizard_text::kRootTarget, MsgDlgType::mtWarning, L"C:\\", {}},
      {L"C:", wizard_text::kRootTarget, MsgDlgType::mtWarning, L"C:\\", {}},
      {L" ab ", wizard_text::kRootTarget, MsgDlgType::mtWarning, L"ab\\", {}},
      {L"  " + temp / L"Data Dazide" + L"  ", nullptr, {}, temp / L"Data Dazide\\",
       {temp / L"Data Dazide", temp / L"Data Dazide\\Settings"}},
      {temp / L"готово\\", nullptr, {}, temp / L"готово\\", {temp / L"готово", temp / L"готово\\Settings"}},
      {parentMissing, nullptr, {}, parentMissing + L"\\", {}},
      {L"\\\\server\\share\\Dazide", nullptr, {}, L"\\\\server\\share\\Dazide\\", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(L"typed \"" + c.typed + L"\""));
    asked_.clear();
    messageWindows_.clear();
    Form().InsatallPages.SetActivePage(Form().tsInputPath);
    Form().LogList.SetVisible(false);
    Form().AddLine(L"stale line");
    Type(Form().ePath, c.typed);
    if (c.message) answers_.push_back(tk::mrOk);
    Click(Form().BtnInputPathNext);

    EXPECT_EQ(Form().ePath.Text(), c.fieldAfter);
    // The list is made ready for the progress page whatever the checks say.
    EXPECT_TRUE(Form().LogList.Visible());
    EXPECT_EQ(Form().LineCount(), 0);
    if (c.message) {
      ASSERT_EQ(asked_.size(), 1u);
      EXPECT_EQ(asked_[0].text, c.message);
      EXPECT_EQ(asked_[0].type, c.kind);
      EXPECT_EQ(asked_[0].buttons, tk::mbOK);
      ExpectPage(WizardPage::tsInputPath);
      EXPECT_EQ(Focus(), Form().ePath.handle());
      EXPECT_TRUE(messageWindows_.empty());
    } else {
      EXPECT_TRUE(asked_.empty());
      ExpectPage(WizardPage::tsInputComponents);
      EXPECT_EQ(messageWindows_.size(), 1u);
    }
    for (const std::wstring& folder : c.created) EXPECT_TRUE(IsFolder(folder)) << Utf8(folder);
  }
  EXPECT_FALSE(Exists(temp / L"нет такого"));
}

TEST_F(Wizard, AThreeLetterNameIsAFolderBesideTheCurrentOne) {
  TempFolder temp(L"рядом");
  const std::wstring previous = CurrentFolder();
  ASSERT_TRUE(::SetCurrentDirectoryW(temp.path().c_str()));
  Click(Form().BtnStartNext);
  Type(Form().ePath, L"abc");
  Click(Form().BtnInputPathNext);
  ::SetCurrentDirectoryW(previous.c_str());
  ExpectPage(WizardPage::tsInputComponents);
  EXPECT_EQ(Form().ePath.Text(), L"abc\\");
  EXPECT_TRUE(IsFolder(temp / L"abc\\Settings"));
}

TEST_F(Wizard, TheDefaultTargetIsNormalisedAndCreated) {
  const bool existed = IsFolder(L"C:\\Dazide");
  Click(Form().BtnStartNext);
  Click(Form().BtnInputPathNext);
  ExpectPage(WizardPage::tsInputComponents);
  EXPECT_EQ(Form().ePath.Text(), L"C:\\Dazide\\");
  EXPECT_TRUE(IsFolder(L"C:\\Dazide\\Settings"));
  if (!existed) RemoveTree(L"C:\\Dazide");
}

TEST_F(Wizard, TheComponentsPageWarnsAboutTheDriverEachTimeItIsShown) {
  TempFolder temp;
  GoToComponents(temp / L"Dazide");
  ASSERT_EQ(messageWindows_.size(), 1u);
  EXPECT_EQ(messageWindows_[0].text, kDriverWarning);
  EXPECT_EQ(messageWindows_[0].kind, mtMessage);
  EXPECT_EQ(messageWindows_[0].caption, L"");
  EXPECT_EQ(messageWindows_[0].seconds, 0);

  Click(Form().BtnInputComponentsBack);
  ExpectPage(WizardPage::tsInputPath);
  EXPECT_EQ(Form().ePath.Text(), temp / L"Dazide\\");
  EXPECT_EQ(messageWindows_.size(), 1u);

  // On again: the checks run again and the warning comes a second time.
  RemoveTree(temp / L"Dazide");
  Click(Form().BtnInputPathNext);
  ExpectPage(WizardPage::tsInputComponents);
  EXPECT_EQ(messageWindows_.size(), 2u);
  EXPECT_TRUE(IsFolder(temp / L"Dazide\\Settings"));
  EXPECT_TRUE(asked_.empty());
}

TEST_F(Wizard, CancelAsksAndLeadsToTheCancelPageOnlyOnYes) {
  TempFolder temp;
  struct Case {
    WizardPage page;
    tk::BitmapButton TFMain::*cancel;
  };
  for (const Case& c : {Case{WizardPage::tsStart, &TFMain::BtnCancel}, Case{WizardPage::tsInputPath, &TFMain::BtnCancel2},
                        Case{WizardPage::tsInputComponents, &TFMain::BtnCancel4}}) {
    for (const tk::ModalResult answer : {tk::mrNo, tk::mrYes}) {
      SCOPED_TRACE(static_cast<int>(c.page) * 10 + answer);
      asked_.clear();
      Form().ShowPage(c.page);
      Form().SetCanClose(false);
      answers_.push_back(answer);
      Click(Form().*c.cancel);
      ASSERT_EQ(asked_.size(), 1u);
      EXPECT_EQ(asked_[0].text, L"Вы уверены, что хотите отменить процесс установки?");
      EXPECT_EQ(asked_[0].type, MsgDlgType::mtConfirmation);
      EXPECT_EQ(asked_[0].buttons, tk::mbYes | tk::mbNo);
      ExpectPage(answer == tk::mrYes ? WizardPage::tsCancel : c.page);
      EXPECT_EQ(Form().CanClose(), answer == tk::mrYes);
    }
  }
}

TEST_F(Wizard, FoldersStayAfterCancel) {
  TempFolder temp;
  GoToComponents(temp / L"Dazide");
  answers_.push_back(tk::mrYes);
  Click(Form().BtnCancel4);
  ExpectPage(WizardPage::tsCancel);
  EXPECT_EQ(Focus(), Form().BtnExitCancel.handle());
  Click(Form().BtnExitCancel);
  EXPECT_FALSE(WindowAlive());
  EXPECT_TRUE(IsFolder(temp / L"Dazide\\Settings"));
}

TEST_F(Wizard, CloseRequestsFollowTheClosePermission) {
  Form().SetCanClose(false);
  ::SendMessageW(Form().handle(), WM_CLOSE, 0, 0);
  ::SendMessageW(Form().handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(WindowAlive());
  EXPECT_TRUE(asked_.empty());  // refused without a message
  Form().SetCanClose(true);
  ::SendMessageW(Form().handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(WindowAlive());
}

TEST_F(Wizard, TheCloseBoxRightAfterStartClosesAtOnce) {
  ::SendMessageW(Form().handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(WindowAlive());
  EXPECT_TRUE(asked_.empty());
}

TEST_F(Wizard, ExitOnTheProgressPageClosesOnceEnabled) {
  Form().ShowPage(WizardPage::tsProgressInstall);
  EXPECT_FALSE(Form().BtnExit.Enabled());
  Form().EnableExit();
  Form().SetCanClose(false);
  Click(Form().BtnExit);
  EXPECT_TRUE(WindowAlive());
  Form().SetCanClose(true);
  Click(Form().BtnExit);
  EXPECT_FALSE(WindowAlive());
}

TEST_F(Wizard, ExitOnTheFontSizePageCloses) {
  Form().ShowPage(WizardPage::tsChangeFontSize);
  Click(Form().BtnExitOnChangefont);
  EXPECT_FALSE(WindowAlive());
}

TEST_F(Wizard, SelectPathTakesTheChosenFolderAndNothingOnCancel) {
  Click(Form().BtnStartNext);
  folderAnswers_ = {std::wstring(L"D:\\Data"), std::nullopt, std::wstring(L"E:\\")};
  Click(Form().BtnSelectPath);
  EXPECT_EQ(Form().ePath.Text(), L"D:\\Data");
  Click(Form().BtnSelectPath);
  EXPECT_EQ(Form().ePath.Text(), L"D:\\Data");
  Click(Form().BtnSelectPath);
  EXPECT_EQ(Form().ePath.Text(), L"E:\\");
  ASSERT_EQ(folderInstructions_.size(), 3u);
  EXPECT_EQ(folderInstructions_[0], L"Выберете путь для установки программ");
  ExpectPage(WizardPage::tsInputPath);
  EXPECT_TRUE(asked_.empty());
}

TEST_F(Wizard, StartInstallationRunsTheSequenceOnTheWindow) {
  TempFolder temp;
  GoToComponents(L"  " + temp / L"Dazide");
  Click(Form().CbDriverInstal);  // the user unticks the driver
  IInstallerView* seen = nullptr;
  std::wstring target;
  bool driver = true;
  TFMain::InstallSequenceForTesting() = [&](IInstallerView& view) {
    seen = &view;
    target = view.TargetText();
    driver = view.DriverOptionChecked();
    view.ShowPage(WizardPage::tsProgressInstall);
  };
  Click(Form().BtnInsatall);
  EXPECT_EQ(seen, static_cast<IInstallerView*>(&Form()));
  EXPECT_EQ(target, temp / L"Dazide\\");
  EXPECT_FALSE(driver);
  ExpectPage(WizardPage::tsProgressInstall);
}

TEST_F(Wizard, AnErrorOutOfTheSequenceGoesToTheErrorDisplay) {
  TempFolder temp;
  GoToComponents(temp / L"Dazide");
  TFMain::InstallSequenceForTesting() = [](IInstallerView& view) {
    view.ShowPage(WizardPage::tsProgressInstall);
    throw std::runtime_error(Utf8(L"Cannot open file \"S:\\DTAfb\\S12.FDB\". Файл не найден"));
  };
  Click(Form().BtnInsatall);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], L"Cannot open file \"S:\\DTAfb\\S12.FDB\". Файл не найден.");
  EXPECT_TRUE(WindowAlive());
  ExpectPage(WizardPage::tsProgressInstall);
}

TEST_F(Wizard, TheViewGivesTheSequenceTheWindowsState) {
  IInstallerView& view = Form();
  EXPECT_EQ(view.TargetText(), L"C:\\Dazide");
  EXPECT_TRUE(view.DriverOptionChecked());
  EXPECT_EQ(view.RuntimeVariant(), 0);
  EXPECT_FALSE(view.SiblingProduct());
  view.SetSourceFolder(L"S:\\дистрибутив\\");
  EXPECT_EQ(Form().Fcopyfrom, L"S:\\дистрибутив\\");

  view.ClearLines();
  EXPECT_TRUE(Form().LogList.Visible());
  EXPECT_EQ(view.AddLine(L"Создание настроечных файлов...."), 0);
  EXPECT_EQ(view.AddLine(L"Копирование файла S12.FDB...."), 1);
  view.ChangeLine(0, L"Создание настроечных файлов....Завершено");
  EXPECT_EQ(view.LineCount(), 2);
  EXPECT_EQ(view.Line(0), L"Создание настроечных файлов....Завершено");
  EXPECT_EQ(view.Line(1), L"Копирование файла S12.FDB....");
  view.RepaintList();

  answers_ = {tk::mrYes, tk::mrNo, tk::mrOk};
  EXPECT_TRUE(view.Confirm(L"Подключите интерфейсный блок и нажмите \"Yes\"?"));
  EXPECT_FALSE(view.Confirm(L"Установка завершена. Выйти из программы установки?"));
  view.ShowError(L"Ошибка при создании каталога!");
  ASSERT_EQ(asked_.size(), 3u);
  EXPECT_EQ(asked_[0].type, MsgDlgType::mtConfirmation);
  EXPECT_EQ(asked_[0].buttons, tk::mbYes | tk::mbNo);
  EXPECT_EQ(asked_[2].text, L"Ошибка при создании каталога!");
  EXPECT_EQ(asked_[2].type, MsgDlgType::mtError);
  EXPECT_EQ(asked_[2].buttons, tk::mbOK);

  view.SetBusyCursor(true);
  EXPECT_EQ(tk::Screen::Instance().Cursor(), tk::crHourGlass);
  view.SetBusyCursor(false);
  EXPECT_EQ(tk::Screen::Instance().Cursor(), tk::crDefault);

  view.EnableExit();
  EXPECT_TRUE(Form().BtnExit.Enabled());
  view.ShowPage(WizardPage::tsChangeFontSize);
  ExpectPage(WizardPage::tsChangeFontSize);
}

TEST_F(Wizard, AQueuedCloseRunsWhileMessagesRunAndIsRefusedWhileCopying) {
  IInstallerView& view = Form();
  view.SetCanClose(false);
  ::PostMessageW(Form().handle(), WM_CLOSE, 0, 0);
  view.ProcessMessages();
  EXPECT_TRUE(WindowAlive());
  view.SetCanClose(true);
  ::PostMessageW(Form().handle(), WM_CLOSE, 0, 0);
  view.ProcessMessages();
  EXPECT_FALSE(WindowAlive());
}

TEST_F(Wizard, CloseFromTheSequenceEndsTheWindowWhenAllowed) {
  IInstallerView& view = Form();
  view.SetCanClose(false);
  view.Close();
  EXPECT_TRUE(WindowAlive());
  view.SetCanClose(true);
  view.Close();
  EXPECT_FALSE(WindowAlive());
}

TEST_F(Wizard, TabGoesThroughThePageInASensibleOrderAndEnterPressesTheFocusedButton) {
  TFMain& f = Form();
  struct Case {
    WizardPage page;
    std::vector<tk::Window*> order;
  };
  const std::vector<Case> cases = {
      {WizardPage::tsStart, {&f.BtnStartNext, &f.BtnCancel}},
      {WizardPage::tsInputPath, {&f.ePath, &f.BtnSelectPath, &f.BtnInputPathNext, &f.BtnCancel2}},
      {WizardPage::tsInputComponents,
       {&f.CbDriverInstal, &f.BtnInputComponentsBack, &f.BtnInsatall, &f.BtnCancel4}},
      {WizardPage::tsCancel, {&f.BtnExitCancel}},
      {WizardPage::tsChangeFontSize, {&f.BtnChangeFont, &f.BtnExitOnChangefont}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.page));
    f.ShowPage(c.page);
    c.order.front()->Focus();
    for (size_t i = 1; i <= c.order.size(); ++i) {
      Key(VK_TAB);
      EXPECT_EQ(Focus(), c.order[i % c.order.size()]->handle()) << "after Tab " << i;
    }
  }
  // Enter on the focused "Далее" of the start page goes on, as a click does.
  Form().ShowPage(WizardPage::tsStart);
  Form().BtnStartNext.Focus();
  Key(VK_RETURN);
  ExpectPage(WizardPage::tsInputPath);
  EXPECT_EQ(Focus(), Form().ePath.handle());
  // Enter in the field presses nothing.
  Key(VK_RETURN);
  ExpectPage(WizardPage::tsInputPath);
  EXPECT_TRUE(asked_.empty());
}
