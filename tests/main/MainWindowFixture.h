#pragma once
// The main window tests' shared fixture: a program folder made to order, the window
// started on it, and a driver that answers its modal windows.
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
#include "core/ScreenLayout.h"
#include "core/TestArt.h"
#include "display/VrHotImage.h"
#include "endgame/KonecLevelu.h"
#include "levels/LevelSetFile.h"
#include "main/CzechTestApp.h"
#include "main/MainWindow.h"

namespace pabuko {

using namespace pabuko::testing;

inline const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new CzechTestAppEnvironment);

inline bool WaitUntil(const std::function<bool()>& done, int ms = 3000) {
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

inline void Press(QMessageBox* box, QMessageBox::StandardButton b) {
    QTimer::singleShot(0, box, [box, b] { box->button(b)->click(); });
}

// Yes to every question, OK to every message, the first answer of a quiz, the close
// button otherwise, the default text of input boxes.
inline void AcceptEverything(QWidget* w) {
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

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A MIDI file of the note source's passage `notes` on a piano.
inline std::vector<uint8_t> Midi(const std::string& notes, int tempo = 120) {
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

}  // namespace pabuko
