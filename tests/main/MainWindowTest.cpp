// The main window as a player meets it, headless: menu, keys, frames, dialogs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "assets/MusicSource.h"
#include "assets/TfrmAbout.h"
#include "assets/WaveList.h"
#include "core/Playfield.h"
#include "core/TestArt.h"
#include "display/VrHotImage.h"
#include "endgame/KonecLevelu.h"
#include "levels/LevelSetFile.h"
#include "main/CzechTestApp.h"
#include "main/MainWindow.h"

namespace pabuko {
namespace {

using namespace pabuko::testing;

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new CzechTestAppEnvironment);

bool WaitUntil(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QTest::qWait(10);
    }
    return true;
}

// Answers the modal windows that come up, one by one, with the handler's choice, and
// keeps what each message box said.
class ModalDriver {
  public:
    explicit ModalDriver(std::function<void(QWidget*)> handler) : handler_(std::move(handler)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(20);
    }
    QStringList messages;  // "caption|text"
    int handled = 0;

  private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) {
            last_ = nullptr;
            return;
        }
        if (modal == last_) return;
        last_ = modal;
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            messages << box->windowTitle() + QLatin1Char('|') + box->text();
        ++handled;
        handler_(modal);
    }
    std::function<void(QWidget*)> handler_;
    QTimer timer_;
    QPointer<QWidget> last_;
};

void Press(QMessageBox* box, QMessageBox::StandardButton b) {
    QTimer::singleShot(0, box, [box, b] { box->button(b)->click(); });
}

// Yes to every question, OK to every message, the first answer of a quiz, the close
// button otherwise, the default text of input boxes.
void AcceptEverything(QWidget* w) {
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
        Press(box, box->button(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok);
    } else if (auto* end = qobject_cast<TfrmKonecLevelu*>(w)) {
        QTimer::singleShot(0, end, [end] {
            for (TVrHotImage* answer : end->vhiOdpoved)
                if (answer->isVisible()) return answer->OnClick();
            end->vhiCLose->OnClick();
        });
    } else if (auto* dialog = qobject_cast<QDialog*>(w)) {
        QTimer::singleShot(0, dialog, [dialog] { dialog->accept(); });
    }
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A MIDI file of the note source's passage `notes` on a piano.
std::vector<uint8_t> Midi(const std::string& notes, int tempo = 120) {
    const auto text = "tempo " + std::to_string(tempo) +
                      "\npart p channel 1 instrument 1\nsection A\np: " + notes + "\nend\nplay A\n";
    return CompileMusicSource(text, "test");
}

struct Folder {
    bool screen = true, skin = true, sounds = true, music = true;
    bool answers = true;
};

class MainWindowTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    std::unique_ptr<TfrmMain> w;
    // Music stays greyed unless a test asks for the system's soundfont (empty).
    std::string soundFont = "/no-soundfont.sf2";

    std::string Root() const { return dir.path().toStdString() + "/"; }

    void Make(const Folder& f) {
        ASSERT_TRUE(dir.isValid());
        const std::string root = Root();
        // Three levels; level 2 has a five-letter word.
        std::vector<std::string> lines;
        for (const char* word : {"ABCDEFGHIJKL", "HALOS", "ZZ"}) {
            for (const std::string& l :
                 {std::string(word), std::string("Ot\xE1zka"),
                  std::string(f.answers ? "jedna" : ""), std::string(f.answers ? "dv\xEC" : ""),
                  std::string(""), std::string(""), std::string("1100"), std::string("500"),
                  std::string("")})
                lines.push_back(l);
        }
        lines.pop_back();
        const std::string qvl = WriteLevelFile(lines);
        WriteFile(root + "data/levels/new.qvl", std::vector<uint8_t>(qvl.begin(), qvl.end()));
        if (f.skin) {
            PictureCollection skin;
            MakeSkin(skin);
            WriteFile(root + "data/skins/new.qvs", skin.SaveToStream());
        }
        if (f.screen) {
            PictureCollection screen;
            MakeScreen(screen);
            WriteFile(root + "data/screen.src", screen.SaveToStream());
        }
        if (f.sounds) {
            WaveCollection waves;
            // A second each, so that an effect still plays when a test looks right after
            // starting it: the audio thread mixes a woken device's first block at once.
            for (int i = 0; i < 11; ++i)
                waves.Add().SetWave(
                    Wave{MakePcmFormat(1, 8000, 8), std::vector<uint8_t>(8000, 128)});
            WriteFile(root + "data/sounds/sfx.qvs", waves.SaveToStream());
        }
        // A quiet track that outlasts any test.
        if (f.music) WriteFile(root + "data/music/track.mid", Midi("r/1 r r r", 20));
    }

    void Start(bool about = false) {
        MainWindowOptions o;
        o.ProgramFolder = Root();
        o.ShowAboutAtStart = about;
        o.SoundFont = soundFont;
        w = std::make_unique<TfrmMain>(o);
        w->EndOfLevelWindow().Pause = [](int) {};  // the quiz answer's pause costs no time here
        w->show();
        ASSERT_TRUE(WaitUntil([this] { return w->Started(); }, 5000));
        Activate();
    }

    // After a modal window the main window becomes active again only a little later.
    void Activate() {
        w->activateWindow();
        w->windowHandle()->requestActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }

    void TearDown() override {
        if (w) w->Timer().SetEnabled(false);
        w.reset();
    }

    QAction* A(const char* name) { return w->Action(QString::fromLatin1(name)); }
    GameState& S() { return w->State(); }

    // A new game whose tile hangs at a known place: no fall for a minute.
    void NewGameWithTile(uint8_t code, int column, int row) {
        QTest::keyClick(w.get(), Qt::Key_F2);
        ASSERT_EQ(S().Level, 1);
        S().BaseDelay = S().FallDelay = 60000;
        S().Falling = {code, int8_t(column), uint8_t(row)};
        S().LastStepTime = std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now().time_since_epoch())
                               .count();
    }
};

TEST_F(MainWindowTest, MenuHasItsCaptionsShortcutsAndInitialStates) {
    Make({});
    soundFont.clear();
    Start();
    struct Item {
        const char* name;
        const char* caption;
        const char* key;
        bool enabled, checkable, checked;
    };
    for (const Item& i :
         {Item{"mNova", "&Nová", "F2", true, false, false},
          Item{"mPauza", "&Pauza", "P", false, true, false},
          Item{"mTOPList", "Zobrazit &TOP-List", "T", true, false, false},
          Item{"mKonec", "&Konec", "Alt+F4", true, false, false},
          Item{"mHudba", "Hrát &hudbu", "F6", true, true, true},
          Item{"mZvuky", "Hrát &zvuky", "F7", true, true, true},
          Item{"mSkin", "Vybrat &skin...", "S", true, false, false},
          Item{"mLevely", "Vybrat &levely...", "L", true, false, false},
          Item{"mFPS", "Zobrazit &FPS", "F", true, true, false},
          Item{"mNapoveda", "Nápo&věda", "F1", true, false, false},
          Item{"mOhre", "&O hře...", "", true, false, false},
          Item{"Novylevel1", "Novy level", "Ctrl+Alt+L", true, false, false},
          Item{"Dokoncitslovo1", "Skocit do levelu", "Ctrl+Alt+K", true, false, false}}) {
        QAction* a = A(i.name);
        ASSERT_TRUE(a) << i.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(i.caption)) << i.name;
        EXPECT_EQ(a->shortcut().toString(), QString::fromLatin1(i.key)) << i.name;
        EXPECT_EQ(a->isEnabled(), i.enabled) << i.name;
        EXPECT_EQ(a->isCheckable(), i.checkable) << i.name;
        EXPECT_EQ(a->isChecked(), i.checked) << i.name;
        EXPECT_TRUE(w->actions().contains(a)) << i.name;
    }
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Hurbo's Pabuko"));
    EXPECT_EQ(w->centralWidget()->size(), QSize(400, 330));
    EXPECT_EQ(w->findChild<QWidget*>(QStringLiteral("DXDraw"))->geometry(), QRect(0, 0, 400, 300));
    EXPECT_EQ(w->findChild<QWidget*>(QStringLiteral("mtrxText"))->geometry(),
              QRect(9, 304, 382, 20));
    // The cheat menu is nowhere in the menu bar.
    for (QAction* top : w->menuBar()->actions())
        EXPECT_NE(top->text(), QStringLiteral("Cheat Menu"));
    EXPECT_FALSE(w->Timer().Enabled());
    EXPECT_EQ(S().Level, 0);
}

TEST_F(MainWindowTest, MissingSoundsAndMusicGreyTheirItemsWithoutAMessage) {
    Make({.sounds = false, .music = false});
    ModalDriver driver(AcceptEverything);
    Start();
    EXPECT_FALSE(A("mZvuky")->isEnabled());
    EXPECT_FALSE(A("mZvuky")->isChecked());
    EXPECT_FALSE(A("mHudba")->isEnabled());
    EXPECT_FALSE(A("mHudba")->isChecked());
    EXPECT_FALSE(S().SoundAvailable);
    EXPECT_TRUE(w->MusicFileList().empty());
    EXPECT_TRUE(driver.messages.isEmpty());
}

TEST_F(MainWindowTest, SoundsAndMusicPresentLeaveTheItemsOn) {
    Make({});
    soundFont.clear();
    Start();
    EXPECT_TRUE(S().SoundAvailable);
    EXPECT_TRUE(A("mZvuky")->isEnabled());
    ASSERT_EQ(w->MusicFileList().size(), 1u);
    EXPECT_EQ(w->MusicFileList()[0], "track.mid");
}

TEST_F(MainWindowTest, MissingGraphicsAndSkinAreReportedAndTheGameGoesOn) {
    Make({.screen = false, .skin = false});
    ModalDriver driver(AcceptEverything);
    Start();
    ASSERT_EQ(driver.messages.size(), 2);
    EXPECT_EQ(driver.messages[0], QStringLiteral("Chyba|Nepodařilo se otevřít soubor se základní "
                                                 "grafikou!\nZkontrolujte instalaci!"));
    EXPECT_EQ(driver.messages[1], QStringLiteral("Chyba|Nepodařilo se otevřít soubor se skinem."));
    QTest::keyClick(w.get(), Qt::Key_F2);
    EXPECT_EQ(S().Level, 1);
}

TEST_F(MainWindowTest, DamagedFilesAreNamedInCentredMessagesAndTheGameGoesOn) {
    Make({});
    for (const char* file : {"data/screen.src", "data/sounds/sfx.qvs", "data/skins/new.qvs"})
        WriteFile(Root() + file, {'T', 'P', 'F', '0', 7, 'b', 'r', 'o', 'k', 'e', 'n'});
    QList<QRect> boxes;
    ModalDriver driver([&boxes](QWidget* m) {
        boxes << m->frameGeometry();
        AcceptEverything(m);
    });
    Start();
    ASSERT_EQ(driver.messages.size(), 3);
    const QStringList files{"data/screen.src", "data/sounds/sfx.qvs", "data/skins/new.qvs"};
    for (int i = 0; i < 3; ++i) {
        const QStringList lines = driver.messages[i].section(QLatin1Char('|'), 1).split('\n');
        ASSERT_EQ(lines.size(), 2) << driver.messages[i].toStdString();
        EXPECT_EQ(lines[0], files[i]);
        EXPECT_FALSE(lines[1].isEmpty());
    }
    // Shown before the main window: centred on the screen, not in its corner.
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((boxes[0].center() - centre).manhattanLength(), 4);
    QTest::keyClick(w.get(), Qt::Key_F2);
    EXPECT_EQ(S().Level, 1);
}

TEST_F(MainWindowTest, AboutComesFirstAndEnterClosesIt) {
    Make({});
    bool aboutSeen = false;
    ModalDriver driver([&](QWidget* m) {
        if (auto* about = qobject_cast<TfrmAbout*>(m)) {
            aboutSeen = about->size() == QSize(300, 417) &&
                        about->windowFlags().testFlag(Qt::FramelessWindowHint);
            // The keys reach the memo, the window's only focus.
            QTimer::singleShot(0, about,
                               [about] { QTest::keyClick(about->Memo1, Qt::Key_Return); });
        }
    });
    Start(true);
    EXPECT_TRUE(aboutSeen);
    EXPECT_EQ(S().Level, 0);
    // The sound starts behind the About window; afterwards it is there as without it.
    EXPECT_TRUE(w->SoundDeviceOpen());
    EXPECT_TRUE(A("mZvuky")->isEnabled());
}

TEST_F(MainWindowTest, NewGameFromTheMenuAndFromF2DrawsFrames) {
    Make({});
    Start();
    A("mNova")->trigger();
    EXPECT_EQ(S().Level, 1);
    EXPECT_EQ(S().Lives, 3);
    EXPECT_TRUE(w->Timer().Enabled());
    EXPECT_TRUE(A("mPauza")->isEnabled());
    S().Score = 77;
    QTest::keyClick(w.get(), Qt::Key_F2);
    EXPECT_EQ(S().Score, 1);  // a fresh game: 0 plus one spawn
    // The frames show the falling tile at its cell.
    ASSERT_TRUE(WaitUntil([this] {
        const FallingTile f = S().Falling;
        const Surface& b = w->DXDrawSurface().BackBuffer();
        return b.Pixel(playfield::WellX(f.Column) + 7, playfield::WellY(f.Row) + 7) ==
               TilePixel(f.Code);
    }));
    EXPECT_EQ(w->DXDrawSurface().BackBuffer().Pixel(300, 5), BackgroundPixel());
}

TEST_F(MainWindowTest, ArrowsAndHSteerAndDownDropsFast) {
    Make({});
    Start();
    NewGameWithTile(1, 5, 2);
    QTest::keyPress(w.get(), Qt::Key_Left);
    ASSERT_TRUE(WaitUntil([this] { return S().Falling.Column == 3; }));
    QTest::keyRelease(w.get(), Qt::Key_Left);
    QTest::qWait(200);
    EXPECT_EQ(S().Falling.Column, 3);  // only held keys steer

    QTest::keyPress(w.get(), Qt::Key_Right);
    ASSERT_TRUE(WaitUntil([this] { return S().Falling.Column == 5; }));
    QTest::keyRelease(w.get(), Qt::Key_Right);

    QTest::keyPress(w.get(), Qt::Key_H);
    ASSERT_TRUE(WaitUntil([this] { return S().Falling.Column == 4; }));
    QTest::keyRelease(w.get(), Qt::Key_H);

    QTest::keyPress(w.get(), Qt::Key_Down);
    ASSERT_TRUE(WaitUntil([this] { return S().FallDelay == 20; }));
    QTest::keyRelease(w.get(), Qt::Key_Down);
    ASSERT_TRUE(WaitUntil([this] { return S().FallDelay == S().BaseDelay; }));
}

TEST_F(MainWindowTest, RightAtRowFourPushesIntoTheRightStack) {
    Make({});
    Start();
    NewGameWithTile(35, 11, 4);
    const uint16_t tilesBefore = S().TilesLeft;
    QTest::keyPress(w.get(), Qt::Key_Right);
    ASSERT_TRUE(WaitUntil([this] { return S().RightStack[0] != 0; }));
    QTest::keyRelease(w.get(), Qt::Key_Right);
    EXPECT_EQ(S().RightStack[0], 35);
    EXPECT_EQ(S().Falling.Row, 0);  // the next tile entered
    EXPECT_EQ(S().TilesLeft, tilesBefore - 1);
    ASSERT_TRUE(WaitUntil([this] {
        return w->DXDrawSurface().BackBuffer().Pixel(233 + 7, 226 + 7) == TilePixel(35);
    }));
}

TEST_F(MainWindowTest, KeysAreNotReadWhileAnotherWindowIsActive) {
    Make({});
    Start();
    NewGameWithTile(1, 8, 2);
    QTest::keyPress(w.get(), Qt::Key_Right);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    const int8_t column = S().Falling.Column;
    // Frames of their own, so that input frames come whatever the clock does.
    for (int i = 0; i < 6; ++i) w->DXTimerTimer(1);
    EXPECT_EQ(S().Falling.Column, column);
}

TEST_F(MainWindowTest, PauseAndResumeWithTheirCaptions) {
    Make({});
    Start();
    QTest::keyClick(w.get(), Qt::Key_F2);
    ASSERT_EQ(S().Level, 1);
    ASSERT_TRUE(A("mPauza")->isEnabled());
    QTest::keyClick(w.get(), Qt::Key_P);
    EXPECT_TRUE(A("mPauza")->isChecked());
    EXPECT_FALSE(w->Timer().Enabled());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Hurbo's Pabuko - PAUZA"));
    QTest::qWait(100);  // no frame rewrites the caption
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Hurbo's Pabuko - PAUZA"));
    QTest::keyClick(w.get(), Qt::Key_P);
    EXPECT_FALSE(A("mPauza")->isChecked());
    EXPECT_TRUE(w->Timer().Enabled());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Hurbo's Pabuko"));
}

TEST_F(MainWindowTest, PauseToggleWithoutAGameLeavesTheTimerOff) {
    Make({});
    Start();
    w->mPauzaClick();
    w->mPauzaClick();
    EXPECT_FALSE(w->Timer().Enabled());
}

TEST_F(MainWindowTest, FpsCaptionShowsTheFrameRate) {
    Make({});
    Start();
    QTest::keyClick(w.get(), Qt::Key_F2);
    QTest::keyClick(w.get(), Qt::Key_F);
    EXPECT_TRUE(A("mFPS")->isChecked());
    const QRegularExpression caption(QStringLiteral("^Hurbo's Pabuko (\\d+) fps$"));
    ASSERT_TRUE(WaitUntil([&] { return w->Timer().FrameRate() > 0; }, 2500));
    QTest::qWait(100);
    const auto m = caption.match(w->windowTitle());
    ASSERT_TRUE(m.hasMatch()) << w->windowTitle().toStdString();
    EXPECT_GE(m.captured(1).toInt(), 15);
    EXPECT_LE(m.captured(1).toInt(), 25);
    QTest::keyClick(w.get(), Qt::Key_F);
    ASSERT_TRUE(WaitUntil([&] { return w->windowTitle() == QStringLiteral("Hurbo's Pabuko"); }));
}

TEST_F(MainWindowTest, CtrlAltLWinsTheLevelOnlyDuringAGame) {
    Make({});
    int windows = 0;
    ModalDriver driver([&](QWidget* m) {
        ++windows;
        AcceptEverything(m);
    });
    Start();
    QTest::keyClick(w.get(), Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    QTest::qWait(100);
    EXPECT_EQ(windows, 0);
    EXPECT_EQ(S().Level, 0);

    QTest::keyClick(w.get(), Qt::Key_F2);
    const int32_t score = S().Score;
    QTest::keyClick(w.get(), Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(windows, 1);
    EXPECT_EQ(S().Level, 2);
    EXPECT_EQ(S().TargetWord, "HALOS");
    EXPECT_TRUE(w->Timer().Enabled());
    // Level bonus 50 × 1, the right answer's 100, and the new level's spawn.
    EXPECT_EQ(S().Score, score + 50 + 100 + 1);
}

TEST_F(MainWindowTest, EndOfLevelWindowWaitsForAnAnswer) {
    Make({});
    Start();
    QTest::keyClick(w.get(), Qt::Key_F2);
    bool refusedEscape = false;
    QTimer::singleShot(100, [&] {
        auto* end = qobject_cast<TfrmKonecLevelu*>(QApplication::activeModalWidget());
        ASSERT_TRUE(end);
        EXPECT_TRUE(end->vhiOdpoved[0]->isVisible());
        EXPECT_TRUE(end->vhiOdpoved[1]->isVisible());
        EXPECT_FALSE(end->vhiOdpoved[2]->isVisible());  // empty answers stay hidden
        // Answers are clicked: Space on whatever has the focus answers nothing.
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : end, Qt::Key_Space);
        QTest::keyClick(end, Qt::Key_Escape);
        QTest::keyClick(end, Qt::Key_Return);
        refusedEscape = end->isVisible();
        QTest::mouseClick(end->vhiOdpoved[1], Qt::LeftButton, {}, QPoint(5, 5));  // wrong
    });
    const int32_t score = S().Score;
    w->Novylevel1Click();
    EXPECT_TRUE(refusedEscape);
    EXPECT_EQ(S().Level, 2);
    EXPECT_EQ(S().Score, score + 50 + 1);
}

TEST_F(MainWindowTest, QuizWithoutAnyAnswerCanStillBeClosed) {
    Make({.answers = false});
    bool closeShown = false;
    ModalDriver driver([&](QWidget* m) {
        if (auto* end = qobject_cast<TfrmKonecLevelu*>(m)) {
            closeShown = end->vhiCLose->isVisible();
            QTimer::singleShot(0, end, [end] { QTest::keyClick(end, Qt::Key_Escape); });
        }
    });
    Start();
    QTest::keyClick(w.get(), Qt::Key_F2);
    const int32_t score = S().Score;
    w->Novylevel1Click();
    EXPECT_TRUE(closeShown);
    EXPECT_EQ(S().Level, 2);
    EXPECT_EQ(S().Score, score + 50 + 1);  // the level bonus, no quiz points
}

TEST_F(MainWindowTest, JumpToLevelRefusesBadAnswers) {
    Make({});
    QStringList answers{QStringLiteral("2"), QStringLiteral("x1"), QStringLiteral("9")};
    ModalDriver driver([&](QWidget* m) {
        if (auto* input = qobject_cast<QInputDialog*>(m)) {
            const QString a = answers.takeFirst();
            QTimer::singleShot(0, input, [input, a] {
                input->setTextValue(a);
                input->accept();
            });
        } else {
            AcceptEverything(m);
        }
    });
    Start();
    QTest::keyClick(w.get(), Qt::Key_F2);
    QTest::keyClick(w.get(), Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(S().Level, 2);
    Activate();
    QTest::keyClick(w.get(), Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(S().Level, 2);
    Activate();
    ASSERT_EQ(driver.messages.size(), 1);
    EXPECT_EQ(driver.messages[0],
              QStringLiteral("Hurbo's Pabuko|'x1' is not a valid integer value"));
    QTest::keyClick(w.get(), Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(S().Level, 2);  // only three levels
}

TEST_F(MainWindowTest, CloseConfirmationNoKeepsPlayingYesSavesTheTopList) {
    Make({});
    bool yes = false;
    QString question;
    ModalDriver driver([&](QWidget* m) {
        auto* box = qobject_cast<QMessageBox*>(m);
        if (box && box->windowTitle() == QStringLiteral("Konec?")) {
            question = box->text();
            EXPECT_FALSE(w->Timer().Enabled());  // paused while asking
            Press(box, yes ? QMessageBox::Yes : QMessageBox::No);
        } else {
            AcceptEverything(m);
        }
    });
    Start();
    QTest::keyClick(w.get(), Qt::Key_F2);
    EXPECT_FALSE(w->close());
    EXPECT_EQ(question, QStringLiteral("Opravdu chcete tuto hru ukončit?"));
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->Timer().Enabled());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Hurbo's Pabuko"));

    yes = true;
    S().Score = 1234;
    EXPECT_TRUE(w->close());
    EXPECT_EQ(S().Level, 0);  // game over first
    EXPECT_EQ(S().TopList[0].Points, 1234);
    std::ifstream saved(Root() + "toplist.dat", std::ios::binary);
    EXPECT_TRUE(saved.good());
}

TEST_F(MainWindowTest, ReadOnlyProgramFolderKeepsTheTopListInTheUsersDataFolder) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    Make({});
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    namespace fs = std::filesystem;
    fs::permissions(Root(), fs::perms::owner_write, fs::perm_options::remove);
    // Writable again afterwards, so that the folder can be removed.
    struct Restore {
        std::string folder;
        ~Restore() {
            fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
            qunsetenv("XDG_DATA_HOME");
        }
    } restore{Root()};
    ModalDriver driver([&](QWidget* m) {
        auto* box = qobject_cast<QMessageBox*>(m);
        if (box && box->windowTitle() == QStringLiteral("Konec?"))
            Press(box, QMessageBox::Yes);
        else
            AcceptEverything(m);
    });
    Start();
    QTest::keyClick(w.get(), Qt::Key_F2);
    S().Score = 1234;
    EXPECT_TRUE(w->close());
    EXPECT_EQ(S().TopListFolder.rfind(data.path().toStdString() + "/", 0), 0u) << S().TopListFolder;
    EXPECT_TRUE(fs::exists(S().TopListFolder + "toplist.dat"));
    EXPECT_FALSE(fs::exists(Root() + "toplist.dat"));
}

TEST_F(MainWindowTest, EffectsPlayThroughTheWaveListOnlyWithTheSoundItemChecked) {
    Make({});
    Start();
    if (!w->SoundDeviceOpen()) GTEST_SKIP() << "no audio device, not even the dummy one";
    WaveCollection& waves = w->Waves().Items;
    QTest::keyClick(w.get(), Qt::Key_F7);
    EXPECT_FALSE(A("mZvuky")->isChecked());
    w->PlayWave(4);
    EXPECT_TRUE(waves[4].PlayCopies().empty());
    QTest::keyClick(w.get(), Qt::Key_F7);
    EXPECT_TRUE(A("mZvuky")->isChecked());
    w->PlayWave(4);
    ASSERT_EQ(waves[4].PlayCopies().size(), 1u);
    EXPECT_TRUE(waves[4].PlayCopies()[0]->Status().Playing);
    w->PlayWave(11);  // beyond the list: nothing, no error
    w->PlayWave(-1);
}

TEST_F(MainWindowTest, PlainLDuringPlayOpensTheLevelSetChoice) {
    Make({});
    QString caption;
    ModalDriver driver([&](QWidget* m) {
        caption = m->windowTitle();
        if (auto* d = qobject_cast<QDialog*>(m)) QTimer::singleShot(0, d, &QDialog::reject);
    });
    Start();
    QTest::keyClick(w.get(), Qt::Key_F2);
    QTest::keyClick(w.get(), Qt::Key_L);
    EXPECT_EQ(caption, QStringLiteral("Vyberte levely"));
    EXPECT_EQ(S().Level, 1);  // cancelled: the game goes on
}

}  // namespace
}  // namespace pabuko

namespace pabuko {
namespace {

TEST_F(MainWindowTest, TheKeyboardComesBackAfterTheTopListWindow) {
    Make({});
    ModalDriver driver([](QWidget* m) {
        if (auto* d = qobject_cast<QDialog*>(m)) QTimer::singleShot(0, d, &QDialog::reject);
    });
    Start();
    QTest::keyClick(w.get(), Qt::Key_T);
    ASSERT_EQ(driver.handled, 1);
    // Nobody else hands the focus back; the game must take it itself.
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get(), 2000));
    EXPECT_EQ(QApplication::activeWindow(), w.get());
}

// Records the files the game hands to the desktop instead of opening a browser.
class OpenedFiles : public QObject {
    Q_OBJECT
  public:
    OpenedFiles() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~OpenedFiles() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;
  public slots:
    void Open(const QUrl& url) { urls << url; }
};

TEST_F(MainWindowTest, AboutPausesTheGameAndItsHelpWarnsOnlyWithoutTheHelpFile) {
    Make({});
    int aboutShown = 0;
    bool timerDuringAbout = true;
    QString memo;
    bool memoFocusedAlone = false;
    ModalDriver driver([&](QWidget* m) {
        if (auto* about = qobject_cast<TfrmAbout*>(m)) {
            if (++aboutShown == 1) {
                timerDuringAbout = w->Timer().Enabled();
                memo = about->Memo1->toPlainText();
                memoFocusedAlone = about->focusWidget() == about->Memo1 &&
                                   about->btnHrat->focusPolicy() == Qt::NoFocus &&
                                   about->btnJakHrat->focusPolicy() == Qt::NoFocus;
                // The help is missing: the warning comes over the About window.
                QTimer::singleShot(
                    0, about, [about] { QTest::mouseClick(about->btnJakHrat, Qt::LeftButton); });
            } else {
                QTimer::singleShot(0, about, [about] { QTest::keyClick(about, Qt::Key_Escape); });
            }
        } else {
            AcceptEverything(m);
        }
    });
    Start();
    QTest::keyClick(w.get(), Qt::Key_F2);
    A("mOhre")->trigger();
    EXPECT_EQ(aboutShown, 2);  // still open after the warning
    EXPECT_FALSE(timerDuringAbout);
    EXPECT_TRUE(w->Timer().Enabled());
    EXPECT_TRUE(memoFocusedAlone);
    const QStringList lines = memo.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("V tomto programu bylo použito těchto komponent:"));
    EXPECT_TRUE(lines[1].contains("Qt") && lines[2].contains("SDL") &&
                lines[3].contains("FluidSynth"));
    ASSERT_EQ(driver.messages.size(), 1);
    EXPECT_TRUE(driver.messages[0].startsWith(QStringLiteral(
        "Upozornění|Při instalaci hry jste odznačili možnost nainstalování nápovědy.")));

    // With the help in place F1 opens it and says nothing.
    WriteFile(Root() + "docs/pabuko.html", {'<', 'p', '>'});
    OpenedFiles opened;
    Activate();
    QTest::keyClick(w.get(), Qt::Key_F1);
    ASSERT_EQ(opened.urls.size(), 1);
    EXPECT_EQ(opened.urls[0].toLocalFile().toStdString(), Root() + "docs/pabuko.html");
    EXPECT_EQ(driver.messages.size(), 1);
}

TEST_F(MainWindowTest, LedLineScrollsTheChatterInTurnAndStopsWithThePause) {
    Make({});
    const std::string qvt = WriteChatterFile({"%Cprvni", "druha", "treti"});
    WriteFile(Root() + "data/skins/new.qvt", {qvt.begin(), qvt.end()});
    Start();
    TVrMatrix& led = w->LedLine();
    EXPECT_EQ(led.geometry(), QRect(9, 304, 382, 20));
    EXPECT_EQ(led.Matrix().Leds(), 24);
    EXPECT_EQ(led.Text(), "%Cprvni");
    ASSERT_TRUE(led.ScrollTimer().isActive());
    EXPECT_EQ(led.ScrollTimer().interval(), 250);

    // PRVNI leaves after 5 steps, every later line after its length + 24.
    auto ticks = [&](int n) {
        for (int i = 0; i < n; ++i) led.TimerTick();
    };
    ticks(4);
    EXPECT_EQ(led.Text(), "%Cprvni");
    ticks(1);
    EXPECT_EQ(led.Text(), "druha");
    EXPECT_TRUE(led.ScrollTimer().isActive());  // re-armed after the step
    ticks(29);
    EXPECT_EQ(led.Text(), "treti");
    ticks(29);
    EXPECT_EQ(led.Text(), "%Cprvni");
    ticks(3);

    QTest::keyClick(w.get(), Qt::Key_F2);
    QTest::keyClick(w.get(), Qt::Key_P);
    ASSERT_TRUE(A("mPauza")->isChecked());
    EXPECT_FALSE(led.AutoScroll());
    EXPECT_FALSE(led.ScrollTimer().isActive());
    led.TimerTick();
    led.grab();  // a repaint while stopped shows the line from its first character
    EXPECT_EQ(led.Matrix().Position(), 1);
    QTest::keyClick(w.get(), Qt::Key_P);
    EXPECT_TRUE(led.AutoScroll());
    EXPECT_TRUE(led.ScrollTimer().isActive());
    led.TimerTick();
    EXPECT_EQ(led.Matrix().Position(), 2);

    // Loading the skin again starts its chatter from the first line.
    ticks(5);
    ASSERT_EQ(led.Text(), "druha");
    w->LoadSkin();
    EXPECT_EQ(led.Text(), "%Cprvni");
    EXPECT_EQ(w->Chatter().ChatterIndex, 0);
}

TEST_F(MainWindowTest, MusicGoesTrackAfterTrackStopsWithF6AndStartsAfreshWithF6) {
    Make({});
    // One short file: it comes again and again.
    WriteFile(Root() + "data/music/track.mid", Midi("c5/16", 240));
    soundFont.clear();
    Start();
    if (!A("mHudba")->isEnabled()) GTEST_SKIP() << "no audio device or no soundfont";
    TMediaPlayer& music = w->Music();
    EXPECT_EQ(music.Mode(), MediaMode::Playing);
    int ended = 0, restarted = 0;
    music.OnNotify = [&, handler = music.OnNotify] {
        const bool stopped = music.Mode() == MediaMode::Stopped;
        handler();
        ended += stopped;
        restarted += stopped && music.Mode() == MediaMode::Playing;
    };
    ASSERT_TRUE(WaitUntil([&] { return restarted >= 2; }, 15000));
    EXPECT_EQ(ended, restarted);

    QTest::keyClick(w.get(), Qt::Key_F6);
    EXPECT_FALSE(A("mHudba")->isChecked());
    EXPECT_EQ(music.Mode(), MediaMode::Stopped);
    // The cut-off track's notification comes and starts nothing, nor does anything later.
    const int before = ended;
    ASSERT_TRUE(WaitUntil([&] { return ended > before; }));
    QTest::qWait(1000);
    EXPECT_EQ(music.Mode(), MediaMode::Stopped);

    QTest::keyClick(w.get(), Qt::Key_F6);
    EXPECT_TRUE(A("mHudba")->isChecked());
    EXPECT_EQ(music.Mode(), MediaMode::Playing);
}

TEST_F(MainWindowTest, MusicThatCannotPlayIsReportedOrGreyedAndSwitchingOffIsQuiet) {
    Make({});
    WriteFile(Root() + "data/music/track.mid", {'M', 'T', 'h', 'd'});
    ModalDriver driver(AcceptEverything);
    soundFont.clear();
    Start();
    if (!A("mHudba")->isEnabled()) GTEST_SKIP() << "no audio device or no soundfont";
    // The damaged file is reported at the start; the item stays as it was.
    ASSERT_EQ(driver.messages.size(), 1);
    EXPECT_TRUE(driver.messages[0].contains(QStringLiteral("track.mid")))
        << driver.messages[0].toStdString();
    EXPECT_TRUE(A("mHudba")->isChecked());
    // Nothing was ever opened: switching off says nothing.
    QTest::keyClick(w.get(), Qt::Key_F6);
    QTest::qWait(100);
    EXPECT_FALSE(A("mHudba")->isChecked());
    EXPECT_EQ(driver.messages.size(), 1);
    w.reset();

    // Without a soundfont music cannot play: greyed and unchecked, without a message.
    WriteFile(Root() + "data/music/track.mid", Midi("c4/4"));
    soundFont = Root() + "no-such-font.sf2";  // one that is not there
    Start();
    EXPECT_FALSE(A("mHudba")->isEnabled());
    EXPECT_FALSE(A("mHudba")->isChecked());
    EXPECT_EQ(driver.messages.size(), 1);
}

TEST(MusicTrackIndexTest, IsTheGeneratorsDrawCutToItsLowEightBits) {
    // Random(n) steps the seed first: 0xFFFFFFFF becomes 4160191484, i.e. 0.9686 of the range.
    EXPECT_EQ(MusicTrackIndex(0xFFFFFFFFu, 3), 2u);
    EXPECT_EQ(MusicTrackIndex(0xFFFFFFFFu, 300), 290u - 256u);
    EXPECT_EQ(MusicTrackIndex(0, 300), 0u);
    bool seen[3] = {};
    for (uint32_t seed = 0; seed < 100000; seed += 7) {
        EXPECT_LT(MusicTrackIndex(seed * 40503u, 300), 256u);
        const uint32_t i = MusicTrackIndex(seed * 40503u, 3);
        ASSERT_LT(i, 3u);
        seen[i] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
}

}  // namespace
}  // namespace pabuko

#include "MainWindowTest.moc"
