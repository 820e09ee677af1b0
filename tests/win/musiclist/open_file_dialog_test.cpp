// The real open-file dialog, answered from a second thread the way a user
// would: read what it shows, type a path, press Open or Cancel.
#include "musiclist/open_file_dialog_win.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <functional>
#include <thread>

#include "../textops/temp_folder_win.h"
#include "list_box_window_win.h"

namespace soundboard {
namespace {

// Dialog control identifiers of the common file dialog templates.
constexpr int kFileNameCombo = 0x47C;  // cmb13
constexpr int kFileNameEdit = 0x480;   // edt1
constexpr int kFileTypeCombo = 0x470;  // cmb1
constexpr int kReadOnlyBox = 0x410;    // chx1

struct Search {
  HWND owner;
  HWND found;
};

HWND FindDialogOwnedBy(HWND owner) {
  Search search{owner, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) == "#32770" && GetWindow(window, GW_OWNER) == s->owner && IsWindowVisible(window)) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FileNameControl(HWND dialog) {
  HWND combo = GetDlgItem(dialog, kFileNameCombo);
  return combo ? combo : GetDlgItem(dialog, kFileNameEdit);
}

std::string WindowText(HWND window) {
  char text[MAX_PATH * 2] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// What the dialog showed when it opened.
struct Shown {
  bool opened = false;
  std::string fileName;
  std::string folder;
  std::string fileType;
  bool readOnlyBoxVisible = true;
  bool resizable = false;
};

// Runs chooser.ChooseFile() while a second thread waits for the dialog,
// records what it shows, then acts on it.
std::optional<Text> ChooseWith(OpenFileDialog& chooser, HWND owner, Shown* shown,
                               const std::function<void(HWND dialog)>& act) {
  std::thread user([&] {
    HWND dialog = nullptr;
    for (int i = 0; i < 200 && !(dialog && FileNameControl(dialog) && GetDlgItem(dialog, IDOK)); ++i) {
      Sleep(50);
      dialog = FindDialogOwnedBy(owner);
    }
    if (!dialog) return;  // the test then hangs in the dialog and times out
    Sleep(200);           // let the dialog finish its own set-up
    shown->opened = true;
    shown->fileName = WindowText(FileNameControl(dialog));
    char folder[MAX_PATH] = {};
    SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
    shown->folder = folder;
    shown->fileType = WindowText(GetDlgItem(dialog, kFileTypeCombo));
    HWND readOnly = GetDlgItem(dialog, kReadOnlyBox);
    shown->readOnlyBoxVisible = readOnly && IsWindowVisible(readOnly);
    shown->resizable = (GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME) != 0;
    act(dialog);
  });
  std::optional<Text> chosen = chooser.ChooseFile();
  user.join();
  return chosen;
}

void TypeAndOpen(HWND dialog, const std::string& path) {
  SetWindowTextA(FileNameControl(dialog), path.c_str());
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

void Cancel(HWND dialog) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

TEST(OpenFileDialog, ChoosesOneFileAndOffersItAgainNextTime) {
  TempFolder folder;
  const std::string song = folder / "song.mp3";
  const std::string other = folder / "運.wav";
  ASSERT_TRUE(PutFileBytes(song, "ID3"));
  ASSERT_TRUE(PutFileBytes(other, "RIFF"));
  ListBoxWindow owner;
  OpenFileDialog dialog(owner.parent());

  // The first opening: nothing chosen yet.
  Shown first;
  std::optional<Text> chosen = ChooseWith(dialog, owner.parent(), &first, [&](HWND d) { TypeAndOpen(d, song); });
  ASSERT_TRUE(first.opened);
  EXPECT_EQ(first.fileName, "");
  EXPECT_EQ(first.fileType, "MP3/WAV");
  EXPECT_FALSE(first.readOnlyBoxVisible);
  EXPECT_TRUE(first.resizable);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, song);
  EXPECT_EQ(dialog.LastPath(), song);

  // The second opening starts from the last path, shown as its folder and
  // file name; a cancel changes nothing.
  Shown second;
  chosen = ChooseWith(dialog, owner.parent(), &second, Cancel);
  ASSERT_TRUE(second.opened);
  EXPECT_EQ(second.folder, folder.path());
  EXPECT_EQ(second.fileName, "song.mp3");
  EXPECT_FALSE(chosen.has_value());
  EXPECT_EQ(dialog.LastPath(), song);

  // A GBK name is handed back as it is.
  Shown third;
  chosen = ChooseWith(dialog, owner.parent(), &third, [&](HWND d) { TypeAndOpen(d, other); });
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, other);
  EXPECT_EQ(dialog.LastPath(), other);
}

}  // namespace
}  // namespace soundboard
