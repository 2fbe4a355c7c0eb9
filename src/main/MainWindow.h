#pragma once
// TfrmMain: the game's main window. It owns the drawing surface, the frame timer, the
// input, the image and wave lists and the menu, and is the host of the game's rules.
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "assets/Chatter.h"
#include "assets/ImageList.h"
#include "assets/WaveList.h"
#include "core/Game.h"
#include "core/GameHost.h"
#include "core/GameState.h"
#include "core/Playfield.h"
#include "display/FrameTimer.h"
#include "display/KeyboardStates.h"
#include "display/Surface.h"
#include "display/VrMatrix.h"
#include "endgame/TopListFileStore.h"
#include "levels/LevelSetLoader.h"
#include "main/SystemSources.h"
#include "platform/Files.h"
#include "platform/Gamepads.h"
#include "platform/MediaPlayer.h"
#include "platform/SoundDevice.h"

class QAction;
class QLockFile;
class QMenu;

namespace pabuko {

class DXDrawWidget;
class TfrmKonecLevelu;
class TfrmTopList;
class KeyboardFilter;
class TfrmAbout;
class TfrmLevely;
class TfrmSkin;

struct MainWindowOptions {
    // Where data/ and toplist.dat are; empty: the folder of the executable.
    std::string ProgramFolder;
    // The About window when the window is first shown; tests leave it out.
    bool ShowAboutAtStart = true;
    // When set, what would be an error message box goes here instead: the installation
    // check runs where nobody can click a box away.
    std::function<void(const std::string& text)> ReportProblem;
    // The settings file that remembers the window size between runs; empty: nothing is
    // remembered and the window starts at 1×.
    std::string SettingsFile;
    // The music's soundfont; empty: the system's General MIDI one.
    std::string SoundFont;
};

// What went wrong with a data file: the first line of the box names the file and what
// failed (the caller ends the sentence), the reader's own text goes on a line below.
struct DataFileProblem {
    FileKind kind = FileKind::Regular;
    std::string failure;  // empty: the file loaded
    std::string reader;
    bool Failed() const { return !failure.empty(); }
    // The failure ended by `end`, what the game does now, and the reader's text.
    std::string Text(const char* end, const std::string& consequence) const {
        std::string text = failure + end + '\r' + consequence;
        if (!reader.empty()) text += '\r' + reader;
        return text;
    }
};

// The music's choice of a track: Random(count) of the runtime's generator seeded with
// `seed`, of which only the low 8 bits count.
uint32_t MusicTrackIndex(uint32_t seed, uint32_t count);

// The largest whole factor by which the game's 400 × 330 window fits a screen of the given
// size; at least 1.
int FullscreenScale(int screenWidth, int screenHeight);

class TfrmMain : public QMainWindow, public GameHost {
    Q_OBJECT
  public:
    explicit TfrmMain(const MainWindowOptions& options = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    GameState& State() { return state_; }
    Game& GameRules() { return game_; }
    TDXTimer& Timer() { return *DXTimer; }
    TDXInput& Input() { return DXInput; }
    DrawingSurface& DXDrawSurface() { return DXDraw; }
    ImageList& GameImages() { return DXImageListGame; }
    WaveList& Waves() { return DXWaveList; }
    bool SoundDeviceOpen() const { return DXSound.Initialized(); }
    // The effects loaded: "Hrát zvuky" can play them.
    bool SoundAvailable() const { return soundAvailable_; }
    const TopListFileStore& TopLists() const { return topLists_; }
    const std::vector<std::string>& MusicFileList() const { return MusicFiles; }
    QAction* Action(const QString& name) const;
    // True once the show handler has run (About closed, skin loaded).
    bool Started() const { return started_; }
    TfrmTopList& TopListWindow() { return *frmTopList_; }
    TfrmKonecLevelu& EndOfLevelWindow() { return *frmKonecLevelu_; }

    TMediaPlayer& Music() { return *MediaPlayer; }

    // One frame step, as the frame timer calls it.
    void DXTimerTimer(int32_t lagCount);

    // --- GameHost ---
    void PlayWave(int index) override;
    void OpenEndOfLevel(uint8_t mode) override;
    void ShowMessage(const std::string& caption, MessageIcon icon,
                     const std::string& text) override;
    std::string AskName() override;
    void ShowTopList() override;
    void SetTimerEnabled(bool enabled) override;
    bool TimerEnabled() const override;
    bool CanDraw() override;
    void BlankPlayfield() override;
    void SetPauseEnabled(bool enabled) override;

    // Menu handlers.
    void mNovaClick();
    void mPauzaClick();
    void mTOPListClick();
    void mHudbaClick();
    void mSkinClick();
    void mLevelyClick();
    void mNapovedaClick();
    void mOhreClick();
    void Novylevel1Click();
    void Dokoncitslovo1Click();  // "Skocit do levelu": jumps to the level typed in

    void PlayRandomTrack();
    void MediaPlayerNotify();
    // The music files still in the round: those that could not be played are dropped.
    const std::vector<std::string>& MusicRound() const { return musicRound_; }

    void LoadSkin();
    void mtrxTextScrollDone();
    TVrMatrix& LedLine() { return *mtrxText; }
    const ChatterState& Chatter() const { return chatter_; }
    void ShowHelp();

    // The window enlarged by a whole factor (1, 2 or 3), as far as the screen allows.
    void SetWindowScale(int scale);
    int WindowScale() const;
    // The largest factor whose window fits on the screen; at least 1.
    int LargestWindowScale() const;
    // The whole window enlarged by FullscreenScale on the whole screen, centred on black; off:
    // back to the window size the player chose. F11 and "Celá obrazovka"; Esc leaves it.
    void SetFullscreen(bool on);
    bool Fullscreen() const { return fullscreen_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;  // FormCloseQuery
    // Takes the keyboard back when one of the game's modal windows closes.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenu();
    void FormCreate();
    void FormShow();
    void StartDevices();
    QImage MiscPicture(int item) const;
    // Loads the data file `relativePath` with `load`, saying nothing; "soubor " + `what`
    // ("se skinem") names it in the problem.
    DataFileProblem TryDataFile(const std::string& relativePath, const std::string& what,
                                const std::function<void(const std::string& path)>& load);
    // The same, and a failure is reported with `consequence` (what the game does now); a
    // missing file only when `reportMissing`. True when the file loaded.
    bool LoadDataFile(const std::string& relativePath, const std::string& what,
                      const std::function<void(const std::string& path)>& load,
                      const std::string& consequence, const char* end = ".",
                      bool reportMissing = true);
    // Takes a track that cannot be played out of the round and reports it, once.
    void DropTrack(const std::string& name, const std::string& problem);
    void ReportDroppedTracks();
    QString FrameCaption() const;
    void UpdateScaleChoices();
    void ApplyWindowScale();
    void PlaceFullscreenContent();
    void SaveSetting(const QString& key, int value) const;

    GameState state_;
    SteadyClock clock_;
    CounterSeedSource seeds_;
    std::string programFolder_;  // ends in '/'
    LevelSetLoader levelSets_;
    TopListFileStore topLists_;
    Game game_;
    FrameDrawer frame_;
    std::string SkinName;
    std::string picturesSkin_;  // the skin whose pictures the game list holds; empty: none
    ChatterState chatter_;
    std::vector<std::string> MusicFiles;
    std::vector<std::string> musicRound_;
    std::string currentTrack_;
    std::vector<std::string> musicProblems_;  // not yet reported
    bool reportingMusic_ = false;

    DrawingSurface DXDraw;
    ImageList DXImageListMisc;
    ImageList DXImageListGame;
    SoundDevice DXSound;
    WaveList DXWaveList;
    std::unique_ptr<TMediaPlayer> MediaPlayer;
    TDXTimer* DXTimer = nullptr;
    TDXInput DXInput;
    KeyboardFilter* keyboard_ = nullptr;
    std::unique_ptr<Gamepads> gamepads_;

    DXDrawWidget* drawWidget_ = nullptr;
    TVrMatrix* mtrxText = nullptr;
    TfrmTopList* frmTopList_ = nullptr;
    TfrmKonecLevelu* frmKonecLevelu_ = nullptr;
    TfrmAbout* frmAbout_ = nullptr;
    TfrmSkin* frmSkin_ = nullptr;
    TfrmLevely* frmLevely_ = nullptr;

    QMenu* mHra = nullptr;
    QAction* mNova = nullptr;
    QAction* mPauza = nullptr;
    QAction* mTOPList = nullptr;
    QAction* mKonec = nullptr;
    QAction* mHudba = nullptr;
    QAction* mZvuky = nullptr;
    QAction* mSkin = nullptr;
    QAction* mLevely = nullptr;
    QAction* mFPS = nullptr;
    std::array<QAction*, 3> mVelikost{};
    QAction* mCelaObrazovka = nullptr;
    QAction* leaveFullscreen_ = nullptr;  // Esc, only while on the whole screen
    QAction* mNapoveda = nullptr;
    QAction* mOhre = nullptr;
    QAction* Novylevel1 = nullptr;
    QAction* Dokoncitslovo1 = nullptr;

    MainWindowOptions options_;
    std::unique_ptr<QLockFile> mutex_;
    bool shown_ = false;
    bool aboutPainted_ = false;  // for the start-up trace
    bool devicesStarted_ = false;
    bool started_ = false;
    bool soundAvailable_ = false;
    bool fullscreen_ = false;
    int windowScale_ = 1;      // the window size the player chose
    int fullscreenScale_ = 1;  // while on the whole screen
    QPoint windowedPlace_;     // where the window was before
};

}  // namespace pabuko
