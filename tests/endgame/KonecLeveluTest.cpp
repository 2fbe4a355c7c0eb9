// The end-of-level window, headless, in each of its modes: what it shows, how it closes
// and what the answers pay.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>

#include "core/GameFixture.h"
#include "display/VrDigitGroup.h"
#include "display/VrHotImage.h"
#include "display/VrLabel.h"
#include "endgame/KonecLevelu.h"
#include "endgame/WindowApp.h"

namespace pabuko::testing {
namespace {

const QColor kGreen(0, 128, 0), kLime(0, 255, 0), kBlack(Qt::black);

class KonecLeveluTest : public GameTest {
  protected:
    void SetUp() override {
        MakeLevels(10);
        PlayLevel(3);
        Rules().Answer3 = "";  // its button stays hidden, the others keep their places
        state.Score = 1000;
        window.Pause = [this](int ms) {
            pauses.push_back(ms);
            if (duringPause) duringPause();
        };
    }

    // Opens the window in `mode` and runs `whileOpen` once it shows; returns whether the
    // window closed by itself (a window still open afterwards is closed by force).
    bool Open(uint8_t mode, const std::function<void()>& whileOpen) {
        bool closedByItself = true;
        QTimer::singleShot(0, &window, [&] {
            if (!window.isVisible()) return;
            whileOpen();
            QApplication::processEvents();
            if (window.isVisible()) {
                closedByItself = false;
                window.done(0);
            }
        });
        window.otevri(mode);
        return closedByItself;
    }

    void Key(int key) { QTest::keyClick(&window, Qt::Key(key)); }
    void Click(TVrHotImage* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5)); }
    std::vector<bool> AnswersShown() const {
        std::vector<bool> shown;
        for (auto* b : window.vhiOdpoved) shown.push_back(b->isVisible());
        return shown;
    }

    QApplication& app_ = WindowApp();  // before the window
    TfrmKonecLevelu window{game};
    std::vector<int> pauses;
    std::function<void()> duringPause;
};

TEST_F(KonecLeveluTest, BorderlessAndEveryComponentInPlace) {
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window.size(), QSize(311, 308));
    EXPECT_EQ(window.vrlTitulek->geometry(), QRect(8, 16, 289, 25));
    EXPECT_EQ(window.lblText2->geometry(), QRect(8, 48, 289, 73));
    EXPECT_EQ(window.vhiCLose->geometry(), QRect(280, 0, 21, 21));
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(window.vhiOdpoved[size_t(k)]->geometry(), QRect(0, 128 + 32 * k, 313, 21));
    EXPECT_EQ(window.vdgBody->geometry(), QRect(75, 264, 161, 35));
}

TEST_F(KonecLeveluTest, QuizWaitsForAnAnswerAndPaysARightOne) {
    state.LeftStack = {TileGoldCoins, TileExtraLife};
    state.RightStack = {TileExtraLife};
    state.Lives = 4;
    const bool closed = Open(0, [&] {
        EXPECT_EQ(window.vrlTitulek->Caption(), QStringLiteral("Gratuluji! A teď otázka..."));
        EXPECT_EQ(window.lblText2->text(), QStringLiteral("Otázka"));
        EXPECT_EQ(AnswersShown(), (std::vector<bool>{true, true, false, true}));
        EXPECT_EQ(window.vhiOdpoved[1]->Caption(), QStringLiteral("b"));
        EXPECT_TRUE(window.vdgBody->isVisible());
        EXPECT_EQ(window.vdgBody->Value(), 150.0);
        EXPECT_FALSE(window.vhiCLose->isVisible());
        // Stack bonus 200 and level bonus 150 before the quiz; lives stop at 5.
        EXPECT_EQ(state.Score, 1350);
        EXPECT_EQ(state.Lives, 5);
        for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) Key(key);
        window.close();
        EXPECT_TRUE(window.isVisible());
        EXPECT_FALSE(window.CloseAllowed());

        duringPause = [&] {
            // The points stand out before the pause; a second click counts for nothing.
            EXPECT_EQ(window.vdgBody->PaletteLow(), kBlack);
            EXPECT_EQ(window.vdgBody->PaletteHigh(), kLime);
            Click(window.vhiOdpoved[0]);
            Key(Qt::Key_2);
        };
        Click(window.vhiOdpoved[1]);
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(state.Score, 1500);
    EXPECT_EQ(pauses, std::vector<int>{1000});
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 9"}));
}

TEST_F(KonecLeveluTest, AWrongAnswerFadesThePointsAndPaysNothing) {
    EXPECT_TRUE(Open(5, [&] {
        EXPECT_EQ(window.vrlTitulek->Caption(),
                  QStringLiteral("Gratuluji! A teď poslední otázka..."));
        duringPause = [&] {
            EXPECT_EQ(window.vdgBody->PaletteHigh(), kGreen);
            EXPECT_EQ(window.vdgBody->PaletteLow(), kGreen);
        };
        Key(Qt::Key_1);
    }));
    EXPECT_EQ(state.Score, 1150);  // the level bonus only
    EXPECT_EQ(pauses.size(), 1u);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 10"}));

    // The next showing starts from the quiz palette again.
    duringPause = nullptr;
    EXPECT_TRUE(Open(0, [&] {
        EXPECT_EQ(window.vdgBody->PaletteHigh(), kLime);
        EXPECT_TRUE(window.vdgBody->isVisible());
        Key(Qt::Key_3);  // hidden answer: no click
        EXPECT_TRUE(window.isVisible());
        Key(Qt::Key_2);
    }));
    EXPECT_EQ(state.Score, 1150 + 150 + 150);
}

TEST_F(KonecLeveluTest, NoticesCloseAtOnceWithEscEnterOrX) {
    struct Case {
        uint8_t mode;
        const char* title;
        const char* text;
        std::function<void()> close;
        const char* wave;
    };
    const Case cases[] = {
        {1, "Game Over", "Skončili jsme jasná zpráva...", [this] { Key(Qt::Key_Escape); },
         "wave 8"},
        {2, "Ztratili jste život", "Móóóc kostek...", [this] { Key(Qt::Key_Return); }, "wave 7"},
        {3, "Ztratili jste život", "Málo kostek...", [this] { Click(window.vhiCLose); }, "wave 7"},
    };
    for (const Case& c : cases) {
        host.calls.clear();
        state.Score = 1000;
        state.Level = 3;
        EXPECT_TRUE(Open(c.mode, [&] {
            EXPECT_EQ(window.vrlTitulek->Caption(), QString::fromUtf8(c.title));
            EXPECT_EQ(window.lblText2->text(), QString::fromUtf8(c.text));
            EXPECT_TRUE(window.vhiCLose->isVisible());
            EXPECT_FALSE(window.vdgBody->isVisible());
            EXPECT_EQ(AnswersShown(), std::vector<bool>(4, false));
            EXPECT_TRUE(window.CloseAllowed());
            Key(Qt::Key_1);  // no answers here
            c.close();
        })) << int(c.mode);
        EXPECT_EQ(host.calls.front(), c.wave);
        // Game over ends the game once the window has closed.
        EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "EndGame"), c.mode == 1);
        if (c.mode != 1) {
            EXPECT_EQ(state.Score, 1000);
        }
    }
    EXPECT_TRUE(pauses.empty());
}

TEST_F(KonecLeveluTest, AQuizWithoutAnswersCanBeClosed) {
    Rules().Answer1 = Rules().Answer2 = Rules().Answer4 = "";
    EXPECT_TRUE(Open(0, [&] {
        EXPECT_TRUE(window.vhiCLose->isVisible());
        Key(Qt::Key_Escape);
    }));
    EXPECT_EQ(state.Score, 1150);
}

}  // namespace
}  // namespace pabuko::testing
