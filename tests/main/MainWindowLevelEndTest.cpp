// The main window at a level's end and the game's: the end-of-level window and its quiz,
// the jump to a level, closing the window.
#include "main/MainWindowFixture.h"

namespace pabuko {
namespace {

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
    EXPECT_EQ(w->TopLists().Entries()[0].Points, 1234);
    std::ifstream saved(Root() + "toplist.dat", std::ios::binary);
    EXPECT_TRUE(saved.good());
}

}  // namespace
}  // namespace pabuko
