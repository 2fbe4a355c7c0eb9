// The main window's start: the menu, the data files it loads or misses, the About window
// and the help, the top list's folder.
#include <QListWidget>

#include "assets/ChoiceDialog.h"
#include "main/MainWindowFixture.h"

namespace pabuko {
namespace {

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
    EXPECT_FALSE(w->SoundAvailable());
    EXPECT_TRUE(w->MusicFileList().empty());
    EXPECT_TRUE(driver.messages.isEmpty());
}

TEST_F(MainWindowTest, SoundsAndMusicPresentLeaveTheItemsOn) {
    Make({});
    soundFont.clear();
    Start();
    EXPECT_TRUE(w->SoundAvailable());
    EXPECT_TRUE(A("mZvuky")->isEnabled());
    ASSERT_EQ(w->MusicFileList().size(), 1u);
    EXPECT_EQ(w->MusicFileList()[0], "track.mid");
}

TEST_F(MainWindowTest, MissingGraphicsAndSkinAreReportedAndTheGameGoesOn) {
    Make({.screen = false, .skin = false});
    ModalDriver driver(AcceptEverything);
    Start();
    ASSERT_EQ(driver.messages.size(), 2);
    EXPECT_EQ(driver.messages[0],
              QStringLiteral("Chyba|Nepodařilo se otevřít soubor se základní grafikou "
                             "„data/screen.src“!\nHra poběží bez základní grafiky. "
                             "Zkontrolujte instalaci!"));
    EXPECT_EQ(driver.messages[1],
              QStringLiteral("Chyba|Nepodařilo se otevřít soubor se skinem „data/skins/new.qvs“."
                             "\nHrací plocha zůstane bez obrázků. Zkontrolujte instalaci!"));
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
    // What failed with which file, what the game does now, and the reader's own text.
    const QStringList expected{
        "Chyba|Soubor se základní grafikou „data/screen.src“ je poškozený!\n"
        "Hra poběží bez základní grafiky. Zkontrolujte instalaci!",
        "Chyba|Soubor se zvuky „data/sounds/sfx.qvs“ je poškozený.\nHra poběží bez zvuků.",
        "Chyba|Soubor se skinem „data/skins/new.qvs“ je poškozený.\n"
        "Hrací plocha zůstane bez obrázků. Zkontrolujte instalaci!"};
    for (int i = 0; i < 3; ++i) {
        const QStringList lines = driver.messages[i].split('\n');
        ASSERT_EQ(lines.size(), 3) << driver.messages[i].toStdString();
        EXPECT_EQ(lines[0] + '\n' + lines[1], expected[i]);
        EXPECT_FALSE(lines[2].isEmpty());
    }
    EXPECT_EQ(w->GameImages().Items.Count(), 0);  // nothing half-loaded
    EXPECT_FALSE(A("mZvuky")->isEnabled());
    // Shown before the main window: centred on the screen, not in its corner.
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((boxes[0].center() - centre).manhattanLength(), 4);
    QTest::keyClick(w.get(), Qt::Key_F2);
    EXPECT_EQ(S().Level, 1);
}

TEST_F(MainWindowTest, FolderOrLinkLoopInPlaceOfAFileIsNamedAsWell) {
    Make({});
    namespace fs = std::filesystem;
    fs::remove(Root() + "data/screen.src");
    fs::create_directories(Root() + "data/screen.src");
    fs::remove(Root() + "data/sounds/sfx.qvs");
    fs::create_symlink("sfx.qvs", Root() + "data/sounds/sfx.qvs");
    ModalDriver driver(AcceptEverything);
    Start();
    ASSERT_EQ(driver.messages.size(), 2);
    EXPECT_EQ(driver.messages[0],
              QStringLiteral("Chyba|Nepodařilo se otevřít soubor se základní grafikou "
                             "„data/screen.src“: na jeho místě je složka!\n"
                             "Hra poběží bez základní grafiky. Zkontrolujte instalaci!"));
    EXPECT_EQ(driver.messages[1],
              QStringLiteral("Chyba|Nepodařilo se otevřít soubor se zvuky „data/sounds/sfx.qvs“: "
                             "je to smyčka symbolických odkazů.\nHra poběží bez zvuků."));
    EXPECT_FALSE(A("mZvuky")->isEnabled());
}

TEST_F(MainWindowTest, DamagedSkinKeepsThePicturesThereWere) {
    Make({});
    WriteFile(Root() + "data/skins/noc.qvs", {'T', 'P', 'F', '0', 7, 'b', 'r', 'o', 'k', 'e', 'n'});
    ModalDriver driver([](QWidget* m) {
        if (auto* dialog = qobject_cast<ChoiceDialog*>(m)) {
            QTimer::singleShot(0, dialog, [dialog] {
                dialog->ListBox->setCurrentItem(
                    dialog->ListBox->findItems("noc", Qt::MatchExactly).front());
                dialog->OK();
            });
        } else {
            AcceptEverything(m);
        }
    });
    Start();
    const int pictures = w->GameImages().Items.Count();
    ASSERT_GT(pictures, 0);
    QTest::keyClick(w.get(), Qt::Key_S);
    ASSERT_TRUE(WaitUntil([&] { return driver.messages.size() == 1; }));
    const QStringList lines = driver.messages[0].split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0],
              QStringLiteral("Chyba|Soubor se skinem „data/skins/noc.qvs“ je poškozený."));
    EXPECT_EQ(lines[1], QStringLiteral("Zůstávají obrázky skinu „new“."));
    EXPECT_EQ(w->GameImages().Items.Count(), pictures);
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
    EXPECT_EQ(w->TopLists().UserFolder().rfind(data.path().toStdString() + "/", 0), 0u)
        << w->TopLists().UserFolder();
    EXPECT_TRUE(fs::exists(w->TopLists().UserFolder() + "toplist.dat"));
    EXPECT_FALSE(fs::exists(Root() + "toplist.dat"));
}

}  // namespace
}  // namespace pabuko

#include "MainWindowStartTest.moc"
