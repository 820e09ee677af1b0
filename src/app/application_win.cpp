#include "app/application_win.h"

#include "app/fatal_error_win.h"
#include "app/message_loop_win.h"
#include "app/program_directory.h"
#include "sound/system_audio_stream.h"

namespace soundboard {
namespace {

void FixProgramDirectory() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  SetProgramDirectory(ProgramDirectoryFromModulePath(std::string_view(path, length)));
  SetCurrentDirectoryA(ProgramDirectory().c_str());
}

}  // namespace

Application::Application(HINSTANCE instance)
    : instance_(instance), streams_(MakeSystemAudioStreamFactory()), player_(*streams_) {}

Application::~Application() = default;

int Application::Run() {
  FixProgramDirectory();  // the Player exists from here on, with nothing playing

  if (!window_.Create(instance_)) FailFatally(kStartupWindowFailure);
  musicList_.emplace(window_.Control(kMusicListName));
  openFileDialog_.emplace(window_.Handle());
  musicPanel_.emplace(*musicList_, *openFileDialog_, musicFile_,
                      [this](const std::string& path) { player_.Play({path}, 1); });
  BindHandlers();

  window_.RaiseCreated();
  if (IsWindow(window_.Handle())) ShowWindow(window_.Handle(), SW_SHOWNORMAL);
  RunMessageLoop(window_.Handle());

  // The sound that is playing stops with the program.
  player_.Stop();
  return 0;
}

void Application::BindHandlers() {
  window_.OnCreated([this] { OnMainWindowCreated(); });
  window_.Bind("按钮14", ControlEvent::Clicked, [this] { musicPanel_->OnAddClicked(); });
  window_.Bind(kMusicListName, ControlEvent::DoubleClicked, [this] { musicPanel_->OnListDoubleClicked(); });
  window_.Bind("按钮16", ControlEvent::Clicked, [this] { musicPanel_->OnDeleteClicked(); });
}

void Application::OnMainWindowCreated() { musicFile_.LoadMusicList(*musicList_); }

}  // namespace soundboard
