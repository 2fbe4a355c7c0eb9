// The level-set and skin choices and the top list's name prompt, headless.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

#include "assets/TfrmSkin.h"
#include "core/GameFixture.h"
#include "endgame/NamePrompt.h"
#include "levels/LevelSetFile.h"
#include "levels/LevelSetLoader.h"
#include "levels/TfrmLevely.h"
#include "main/CzechTestApp.h"

namespace pabuko {
namespace {

using namespace pabuko::testing;

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new CzechTestAppEnvironment);

void Touch(const std::string& path, const std::string& bytes = {}) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

QStringList Entries(const QListWidget* list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    names.sort();
    return names;
}

// Types text as a keyboard would, also letters outside Latin-1.
void Type(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QApplication::sendEvent(w, &release);
    }
}

// Runs `act` on the next modal window as soon as it is up.
void OnNextModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

void Answer(QMessageBox::StandardButton button, QString* seen = nullptr) {
    OnNextModal([button, seen](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        if (seen) *seen = box->windowTitle() + QLatin1Char('|') + box->text();
        box->button(button)->click();
    });
}

class LevelSetDialogTest : public GameTest {
  protected:
    QTemporaryDir dir;
    QTemporaryDir userData;  // the player's XDG data home
    std::optional<std::string> oldDataHome;
    std::string root = dir.path().toStdString() + "/";
    LevelSetLoader loader{root};
    Game rules{state, host, clock, seeds, loader, topList};
    std::unique_ptr<TfrmLevely> dialog;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(userData.isValid());
        if (const char* old = getenv("XDG_DATA_HOME")) oldDataHome = old;
        setenv("XDG_DATA_HOME", userData.path().toStdString().c_str(), 1);
        std::vector<std::string> lines;
        for (const char* l : {"KOS", "Ot\xE1zka", "a", "b", "c", "d", "1100", "500"})
            lines.push_back(l);
        const std::string qvl = WriteLevelFile(lines);
        for (const char* name : {"new.qvl", "hard.qvl"}) Touch(Levels() + name, qvl);
        Touch(Levels() + "new.qvlb", std::string(18, '\0'));
        Touch(Levels() + "broken..qvl", qvl);  // "broken." ends in a full stop
        MakeLevels(3);
        dialog = std::make_unique<TfrmLevely>(state, rules, root, nullptr);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    void TearDown() override {
        if (oldDataHome)
            setenv("XDG_DATA_HOME", oldDataHome->c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
    }
    std::string Levels() const { return root + "data/levels/"; }
    std::string UserLevels() const { return userData.path().toStdString() + "/pabuko/levels/"; }
    void Select(const QString& name) {
        const auto found = dialog->ListBox->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        found.front()->setSelected(true);
    }
    bool Reported() const {
        return std::any_of(host.calls.begin(), host.calls.end(), [](const std::string& c) {
            return c.rfind("message Informace|", 0) == 0;
        });
    }
};

TEST_F(LevelSetDialogTest, ListsTheSetsWithNothingSelectedAndTheListFocused) {
    EXPECT_EQ(Entries(dialog->ListBox), (QStringList{"hard", "new"}));
    EXPECT_TRUE(dialog->ListBox->selectedItems().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), dialog->ListBox);
    EXPECT_EQ(dialog->ListBox->visualItemRect(dialog->ListBox->item(0)).height(), 13);
}

TEST_F(LevelSetDialogTest, OkEnterAndDoubleClickWithNothingSelectedChangeNothing) {
    dialog->btnOK->click();
    QTest::keyClick(dialog->ListBox, Qt::Key_Return);
    const QRect below = dialog->ListBox->visualItemRect(dialog->ListBox->item(1));
    QTest::mouseDClick(dialog->ListBox->viewport(), Qt::LeftButton, {},
                       below.bottomLeft() + QPoint(5, 30));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(state.Levels.LevelSetName, "new");
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(LevelSetDialogTest, WithoutAGameEnterLoadsTheChosenSetAtOnce) {
    Select("hard");
    QTest::keyClick(dialog->ListBox, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(state.Levels.LevelSetName, "hard");
    EXPECT_TRUE(Reported());
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "EndGame"), 0);
}

TEST_F(LevelSetDialogTest, DuringAGameNoKeepsItAndYesEndsIt) {
    rules.StartLevel(0);
    Select("hard");
    QString asked;
    Answer(QMessageBox::No, &asked);
    dialog->btnOK->click();
    EXPECT_EQ(asked, QStringLiteral("Opravdu?|Pokud vyberete jiné levely, současná hra bude "
                                    "zrušena. Chcete pokračovat?"));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(state.Levels.LevelSetName, "new");
    EXPECT_EQ(state.Level, 1);
    EXPECT_FALSE(Reported());

    dialog->show();
    Select("hard");
    Answer(QMessageBox::Yes);
    dialog->btnOK->click();
    EXPECT_EQ(state.Level, 0);
    EXPECT_EQ(state.Levels.LevelSetName, "hard");
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "EndGame"), 1);
    EXPECT_TRUE(Reported());
}

TEST_F(LevelSetDialogTest, ListsThePlayersOwnSetsAfterTheShippedOnesAndLoadsThem) {
    std::vector<std::string> lines;
    for (const char* l : {"DOMA", "Ot\xE1zka", "a", "b", "c", "d", "2100", "60", "", "SKOLA",
                          "Ot\xE1zka", "a", "b", "c", "d", "3100", "70"})
        lines.push_back(l);
    Touch(UserLevels() + "moje.qvl", WriteLevelFile(lines));
    // Named like shipped sets: never listed, the shipped ones stay what these names load.
    Touch(UserLevels() + "hard.qvl", WriteLevelFile(lines));
    Touch(UserLevels() + "new.qvl", WriteLevelFile(lines));
    lines[6] = "x100";  // no right answer: the file cannot be played
    Touch(UserLevels() + "rozbita.qvl", WriteLevelFile(lines));
    dialog->hide();
    dialog->show();
    ASSERT_EQ(dialog->ListBox->count(), 4);
    QStringList shipped{dialog->ListBox->item(0)->text(), dialog->ListBox->item(1)->text()};
    QStringList own{dialog->ListBox->item(2)->text(), dialog->ListBox->item(3)->text()};
    shipped.sort();
    own.sort();
    EXPECT_EQ(shipped, (QStringList{"hard", "new"}));
    EXPECT_EQ(own, (QStringList{"moje", "rozbita"}));

    Select("moje");
    QTest::keyClick(dialog->ListBox, Qt::Key_Return);
    EXPECT_EQ(state.Levels.LevelSetName, "moje");
    EXPECT_EQ(state.Levels.LevelCount, 2);
    EXPECT_EQ(state.Levels[2].Word, "SKOLA");
    EXPECT_TRUE(Reported());

    // A shipped name loads the shipped set, whatever the player's folder holds.
    dialog->show();
    Select("hard");
    QTest::keyClick(dialog->ListBox, Qt::Key_Return);
    EXPECT_EQ(state.Levels.LevelCount, 1);
    EXPECT_EQ(state.Levels[1].Word, "KOS");

    // A damaged set of the player's gets the message a damaged shipped one gets, naming the
    // file in the player's folder.
    host.calls.clear();
    dialog->show();
    Select("rozbita");
    QTest::keyClick(dialog->ListBox, Qt::Key_Return);
    ASSERT_FALSE(host.calls.empty());
    const std::string& message = host.calls.front();
    EXPECT_EQ(message.rfind("message Chyba|warning|Soubor s levely „/", 0), 0u) << message;
    EXPECT_NE(message.find("/pabuko/levels/rozbita.qvl“ má nesprávný formát"), std::string::npos)
        << message;
    EXPECT_EQ(state.Levels.LevelCount, 1);
}

TEST(SkinDialog, ListsTheSkinsAndHandsOverTheDoubleClickedOne) {
    QTemporaryDir dir;
    const std::string skins = dir.path().toStdString() + "/skins/";
    for (const char* f : {"new.qvs", "noc.qvs", "noc.qvt"}) Touch(skins + f);
    std::vector<std::string> loaded;
    TfrmSkin dialog(
        skins, [&](const std::string& name) { loaded.push_back(name); }, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(Entries(dialog.ListBox), (QStringList{"new", "noc"}));

    dialog.btnOK->click();  // nothing selected yet
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(dialog.ListBox, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());

    dialog.show();  // refilled, nothing selected again
    EXPECT_TRUE(dialog.ListBox->selectedItems().isEmpty());
    QListWidgetItem* noc = dialog.ListBox->findItems("noc", Qt::MatchExactly).front();
    const QPoint at = dialog.ListBox->visualItemRect(noc).center();
    QTest::mouseClick(dialog.ListBox->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(dialog.ListBox->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(loaded, std::vector<std::string>{"noc"});
    EXPECT_FALSE(dialog.isVisible());
}

TEST(NamePrompt, TakesTwentyStorableCharactersWithCzechButtons) {
    QString typed;
    QStringList buttons;
    OnNextModal([&](QWidget* w) {
        auto* prompt = qobject_cast<QInputDialog*>(w);
        ASSERT_NE(prompt, nullptr);
        auto* edit = prompt->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        for (QAbstractButton* b : prompt->findChild<QDialogButtonBox*>()->buttons())
            buttons << b->text();
        edit->selectAll();
        Type(edit, QStringLiteral("Žluťoučký kůň 日本 ☺ úpěl ďábelské ódy"));
        typed = edit->text();
        // Pasted text loses what cannot be stored, not everything.
        edit->clear();
        edit->insert(QStringLiteral("Jiří\t☺€"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    const std::string name = AskTopListName(nullptr);
    EXPECT_EQ(typed, QStringLiteral("Žluťoučký kůň   úpěl"));
    EXPECT_EQ(name, "Ji\xF8\xED\x80");  // Windows-1250 bytes of "Jiří€"
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{"OK", "Zrušit"}));

    OnNextModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_EQ(AskTopListName(nullptr), "anonym");
}

TEST(CzechMessageBoxes, YesAndNoReadAnoAndNe) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Konec?"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), "Ano");
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), "Ne");
}

}  // namespace
}  // namespace pabuko
