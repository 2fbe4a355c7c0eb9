#include "main/MainWindow.h"

#include <unistd.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLayout>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <new>

#include "assets/TfrmAbout.h"
#include "assets/TfrmSkin.h"
#include "core/EndOfLevel.h"
#include "core/Playfield.h"
#include "core/Random.h"
#include "core/ScreenLayout.h"
#include "display/KeyboardFilter.h"
#include "display/PixelImage.h"
#include "display/SurfaceCanvas.h"
#include "endgame/KonecLevelu.h"
#include "endgame/NamePrompt.h"
#include "endgame/TopListWindow.h"
#include "levels/TfrmLevely.h"
#include "main/DXDrawWidget.h"
#include "main/StartupTrace.h"
#include "platform/Files.h"
#include "platform/ProgramFolder.h"
#include "platform/QtText.h"
#include "platform/UserFolders.h"

namespace pabuko {

namespace {

const QString kCaption = QStringLiteral("Hurbo's Pabuko");

// A box shown before the main window has no parent to be centred on; without help it
// would sit in the screen's corner.
class CenterOnShow : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = static_cast<QWidget*>(watched);
        // A message box settles its size in its own show handler, after this one: centred
        // again when it does.
        const bool settled = event->type() == QEvent::Resize && dialog->isVisible();
        if ((event->type() == QEvent::Show || settled) && !dialog->parentWidget()) {
            if (const QScreen* screen = dialog->screen()) {
                QRect frame = dialog->frameGeometry();
                frame.moveCenter(screen->availableGeometry().center());
                dialog->move(frame.topLeft());
            }
        }
        return false;
    }
};

int ExecCentered(QDialog& dialog) {
    CenterOnShow centre(&dialog);
    dialog.installEventFilter(&centre);
    const int result = dialog.exec();
    dialog.removeEventFilter(&centre);
    return result;
}

// Where data/ is, ending in '/'.
std::string ChooseProgramFolder(const MainWindowOptions& options) {
    std::string folder = options.ProgramFolder.empty() ? FindProgramFolder(ExecutableFolder())
                                                       : options.ProgramFolder;
    if (folder.back() != '/') folder += '/';
    return folder;
}

// An installed game's folder is not the player's to write: the top list then lives in
// the user's data folder, where a list of earlier versions (kept in a folder named after
// the game's title) moves once. Empty: beside the program.
std::string TopListUserFolder(const std::string& programFolder) {
    if (::access(programFolder.c_str(), W_OK) == 0) return {};
    const std::string user = UserDataFolder();
    if (user.empty() || !QDir().mkpath(QString::fromStdString(user))) return {};
    MoveFileOnce(OldUserDataFolder(), user, "toplist.dat");
    return user;
}

bool OnX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

TfrmMain::TfrmMain(const MainWindowOptions& options, QWidget* parent)
    : QMainWindow(parent),
      programFolder_(ChooseProgramFolder(options)),
      levelSets_(programFolder_),
      topLists_(programFolder_, TopListUserFolder(programFolder_)),
      game_(state_, *this, clock_, seeds_, levelSets_, topLists_),
      options_(options) {
    setWindowTitle(kCaption);
    qApp->installEventFilter(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    auto* client = new QWidget(this);
    client->setFixedSize(layout::ClientWidth(1), layout::ClientHeight(1));
    QPalette black = client->palette();
    black.setColor(QPalette::Window, Qt::black);
    client->setPalette(black);
    client->setAutoFillBackground(true);
    setCentralWidget(client);

    drawWidget_ = new DXDrawWidget(DXDraw, client);
    drawWidget_->setObjectName(QStringLiteral("DXDraw"));
    drawWidget_->move(0, 0);
    DXDraw.SetPresenter(drawWidget_);
    DXDraw.SetCanvasFactory(&MakeSurfaceCanvas);
    DXImageListMisc.SetDXDraw(&DXDraw);
    DXImageListGame.SetDXDraw(&DXDraw);

    mtrxText = new TVrMatrix(client);
    mtrxText->setObjectName(QStringLiteral("mtrxText"));
    {
        TVrMatrixCore& m = mtrxText->Matrix();
        m.SetLeds(24);
        m.SetTimeInterval(250);
        m.SetPalette({0x008080, 0x00FFFF});  // olive unlit, yellow lit
        TVrBevel noBevel;
        noBevel.Visible = false;
        m.SetBevel(noBevel);
        m.SetColor(0x000000);
        m.Loaded();
    }
    mtrxText->move(layout::kLedLineAt.x, layout::kLedLineAt.y);
    mtrxText->OnScrollDone = [this] { mtrxTextScrollDone(); };

    DXTimer = new TDXTimer(this);
    DXTimer->SetInterval(40);
    DXTimer->OnTimer = [this](int32_t lag) { DXTimerTimer(lag); };
    keyboard_ = new KeyboardFilter(DXInput, this);
    DXInput.PollJoystick = [this] { return gamepads_ ? gamepads_->Poll() : InputStateSet{}; };

    // Effects fall silent while another program has the focus, as they always did.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState s) { DXSound.SetMuted(s != Qt::ApplicationActive); });

    StartupMark("widgets");
    BuildMenu();
    StartupMark("menu");
    FormCreate();
    // The title picture is taken once, from the basic graphics just loaded.
    frmAbout_ = new TfrmAbout(
        MiscPicture(0), [this] { ShowHelp(); }, this);
    StartupMark("About window built");
    frmSkin_ = new TfrmSkin(
        programFolder_ + "data/skins",
        [this](const std::string& name) {
            SkinName = name;
            LoadSkin();
        },
        this);
    StartupMark("skin dialog built");
    frmLevely_ = new TfrmLevely(state_, game_, programFolder_, this);
    frmTopList_ = new TfrmTopList(
        topLists_.Entries(), [this] { return MiscPicture(1); }, this);
    frmKonecLevelu_ = new TfrmKonecLevelu(game_, this);
    StartupMark("level-set, top list and end-of-level windows built");
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

TfrmMain::~TfrmMain() {
    DXTimer->SetEnabled(false);
    DXWaveList.SetDXSound(nullptr);
    DXSound.Finalize();
}

QAction* TfrmMain::Action(const QString& name) const {
    return findChild<QAction*>(name);
}

void TfrmMain::BuildMenu() {
    auto make = [this](QMenu* menu, const char* name, const QString& caption,
                       const QKeySequence& key, void (TfrmMain::*handler)()) {
        // Checkable items without a handler only flip their check mark.
        auto* a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) a->setShortcut(key);
        if (handler) connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        menu->addAction(a);
        addAction(a);  // shortcuts work also for the hidden menu
        return a;
    };

    mHra = menuBar()->addMenu(QStringLiteral("&Hra"));
    mHra->setObjectName(QStringLiteral("mHra"));
    mNova = make(mHra, "mNova", QStringLiteral("&Nová"), QKeySequence(Qt::Key_F2),
                 &TfrmMain::mNovaClick);
    mPauza = make(mHra, "mPauza", QStringLiteral("&Pauza"), QKeySequence(Qt::Key_P), nullptr);
    mPauza->setCheckable(true);
    // The toggle decides the check mark itself: undo the one Qt has just flipped.
    connect(mPauza, &QAction::triggered, this, [this](bool checked) {
        mPauza->setChecked(!checked);
        mPauzaClick();
    });
    mPauza->setEnabled(false);
    mHra->addSeparator();
    mTOPList = make(mHra, "mTOPList", QStringLiteral("Zobrazit &TOP-List"), QKeySequence(Qt::Key_T),
                    &TfrmMain::mTOPListClick);
    mHra->addSeparator();
    mKonec =
        make(mHra, "mKonec", QStringLiteral("&Konec"), QKeySequence(Qt::ALT | Qt::Key_F4), nullptr);
    connect(mKonec, &QAction::triggered, this, &QWidget::close);

    auto* monosti = menuBar()->addMenu(QStringLiteral("&Možnosti"));
    monosti->setObjectName(QStringLiteral("Monosti1"));
    mHudba =
        make(monosti, "mHudba", QStringLiteral("Hrát &hudbu"), QKeySequence(Qt::Key_F6), nullptr);
    mHudba->setCheckable(true);
    connect(mHudba, &QAction::triggered, this, [this](bool checked) {
        mHudba->setChecked(!checked);
        mHudbaClick();
    });
    mHudba->setChecked(true);
    mZvuky =
        make(monosti, "mZvuky", QStringLiteral("Hrát &zvuky"), QKeySequence(Qt::Key_F7), nullptr);
    mZvuky->setCheckable(true);
    mZvuky->setChecked(true);
    monosti->addSeparator();
    mSkin = make(monosti, "mSkin", QStringLiteral("Vybrat &skin..."), QKeySequence(Qt::Key_S),
                 &TfrmMain::mSkinClick);
    mLevely = make(monosti, "mLevely", QStringLiteral("Vybrat &levely..."), QKeySequence(Qt::Key_L),
                   &TfrmMain::mLevelyClick);
    monosti->addSeparator();
    mFPS = make(monosti, "mFPS", QStringLiteral("Zobrazit &FPS"), QKeySequence(Qt::Key_F), nullptr);
    mFPS->setCheckable(true);
    monosti->addSeparator();
    auto* velikost = monosti->addMenu(QStringLiteral("&Velikost okna"));
    velikost->setObjectName(QStringLiteral("mVelikost"));
    auto* sizes = new QActionGroup(this);
    for (int scale = 1; scale <= 3; ++scale) {
        QAction* a = make(velikost, "", QStringLiteral("&%1×").arg(scale), QKeySequence(), nullptr);
        a->setObjectName(QStringLiteral("mVelikost%1").arg(scale));
        a->setCheckable(true);
        a->setChecked(scale == 1);
        sizes->addAction(a);
        connect(a, &QAction::triggered, this, [this, scale] {
            SetWindowScale(scale);
            SaveSetting(QStringLiteral("window/scale"), WindowScale());
        });
        mVelikost[scale - 1] = a;
    }
    connect(velikost, &QMenu::aboutToShow, this, &TfrmMain::UpdateScaleChoices);
    mCelaObrazovka = make(monosti, "mCelaObrazovka", QStringLiteral("Celá &obrazovka"),
                          QKeySequence(Qt::Key_F11), nullptr);
    mCelaObrazovka->setCheckable(true);
    connect(mCelaObrazovka, &QAction::triggered, this, [this](bool on) { SetFullscreen(on); });
    leaveFullscreen_ = new QAction(this);
    leaveFullscreen_->setObjectName(QStringLiteral("leaveFullscreen"));
    leaveFullscreen_->setShortcut(QKeySequence(Qt::Key_Escape));
    leaveFullscreen_->setEnabled(false);
    connect(leaveFullscreen_, &QAction::triggered, this, [this] { SetFullscreen(false); });
    addAction(leaveFullscreen_);

    auto* helpik = menuBar()->addMenu(QStringLiteral("&Nápověda"));
    helpik->setObjectName(QStringLiteral("mHelpik"));
    mNapoveda = make(helpik, "mNapoveda", QStringLiteral("Nápo&věda"), QKeySequence(Qt::Key_F1),
                     &TfrmMain::mNapovedaClick);
    helpik->addSeparator();
    mOhre =
        make(helpik, "mOhre", QStringLiteral("&O hře..."), QKeySequence(), &TfrmMain::mOhreClick);

    // Never shown; its items answer to their shortcuts only.
    auto* cheat = new QMenu(QStringLiteral("Cheat Menu"), this);
    cheat->setObjectName(QStringLiteral("CheatMenu1"));
    Novylevel1 = make(cheat, "Novylevel1", QStringLiteral("Novy level"),
                      QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L), &TfrmMain::Novylevel1Click);
    Dokoncitslovo1 =
        make(cheat, "Dokoncitslovo1", QStringLiteral("Skocit do levelu"),
             QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_K), &TfrmMain::Dokoncitslovo1Click);
}

void TfrmMain::FormCreate() {
    // Another copy of the game may run; the lock only marks that one does.
    mutex_ = std::make_unique<QLockFile>(QDir::temp().filePath(QStringLiteral("HurbosPabuko1")));
    (void)mutex_->tryLock(0);

    SkinName = "new";
    state_.Levels.LevelSetName = "new";
    topLists_.Read(*this);
    StartupMark("top list");

    // Whole or not at all: the message must not promise a game without pictures that then
    // shows half of them.
    LoadDataFile(
        "data/screen.src", "se základní grafikou",
        [this](const std::string& path) { DXImageListMisc.Items.LoadWholeFromFile(path); },
        "Hra poběží bez základní grafiky. Zkontrolujte instalaci!", "!");

    StartupMark("basic graphics");
    // The sound device, the effects, the music list and the gamepads follow once the first
    // window shows (StartDevices): opening the devices is the slowest step of the start,
    // and nothing sounds or steers before the game begins.
    mZvuky->setEnabled(false);
    mHudba->setEnabled(false);
}

void TfrmMain::StartDevices() {
    if (devicesStarted_) return;
    devicesStarted_ = true;
    mZvuky->setEnabled(true);
    mHudba->setEnabled(true);
    const std::string& folder = programFolder_;
    DXSound.Initialize();  // no device: every play is silent
    StartupMark("sound device");
    DXWaveList.SetDXSound(&DXSound);
    // A missing file only greys the item; anything else in its place is a damaged file.
    soundAvailable_ = LoadDataFile(
        "data/sounds/sfx.qvs", "se zvuky",
        [this](const std::string& path) { DXWaveList.Items.LoadFromFile(path); },
        "Hra poběží bez zvuků.", ".", false);
    StartupMark("effects");
    // Without a device no effect can sound either: greyed, as the music is.
    if (!soundAvailable_ || !DXSound.Initialized()) {
        mZvuky->setChecked(false);
        mZvuky->setEnabled(false);
    }

    MusicFiles = FilesWithExtension(folder + "data/music", ".mid");
    musicRound_ = MusicFiles;
    MediaPlayer = std::make_unique<TMediaPlayer>(
        DXSound,
        [this](std::function<void()> task) {
            QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
        },
        options_.SoundFont);
    MediaPlayer->OnNotify = [this] { MediaPlayerNotify(); };
    // Without a device or a soundfont music cannot play either: greyed, as with no files.
    if (MusicFiles.empty() || !MediaPlayer->Available()) {
        mHudba->setChecked(false);
        mHudba->setEnabled(false);
    }
    StartupMark("music list");
    gamepads_ = std::make_unique<Gamepads>();
    StartupMark("gamepads");
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    if (!options_.SettingsFile.empty()) {
        const QSettings settings(QString::fromStdString(options_.SettingsFile),
                                 QSettings::IniFormat);
        const int saved = settings.value(QStringLiteral("window/scale"), 1).toInt();
        if (saved > 1) SetWindowScale(saved);
        if (settings.value(QStringLiteral("window/fullscreen"), false).toBool())
            QTimer::singleShot(0, this, [this] { SetFullscreen(true); });
    }
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
    StartupMark("main window shown");
    DXDraw.Initialize();
    StartupMark("drawing surface");
    // The show handler opens a modal window: let the window appear first.
    QTimer::singleShot(0, this, &TfrmMain::FormShow);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (fullscreen_ && watched == centralWidget() && event->type() == QEvent::Resize)
        PlaceFullscreenContent();
    if (watched == frmAbout_ && event->type() == QEvent::Paint && !aboutPainted_) {
        aboutPainted_ = true;
        StartupMark("About window painted");
        QTimer::singleShot(0, this, &TfrmMain::StartDevices);
    }
    // Without a window manager (or with one that leaves focus alone) nobody hands the
    // keyboard back to the game when a dialog closes, and the keys would go nowhere.
    if (event->type() == QEvent::Hide && watched != this && watched->isWidgetType()) {
        const auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && widget->isModal()) {
            QTimer::singleShot(0, this, [this] {
                if (isVisible() && QApplication::activeModalWidget() == nullptr &&
                    QApplication::activeWindow() == nullptr)
                    activateWindow();
            });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::FormShow() {
    if (options_.ShowAboutAtStart) frmAbout_->exec();
    StartDevices();  // already done unless the About window never painted
    // The game window takes the keyboard after the About window, also on a bare X server.
    activateWindow();
    state_.Level = 0;
    LoadSkin();
    if (mHudba->isChecked()) PlayRandomTrack();
    started_ = true;
}

void TfrmMain::LoadSkin() {
    frame_.Invalidate();  // the next frame draws with the new pictures
    chatter_.Load(programFolder_, SkinName);
    mtrxText->SetText(chatter_.Current());
    mtrxText->SetAutoScroll(true);

    auto load = [this](const std::string& skin) {
        return TryDataFile(
            "data/skins/" + skin + ".qvs", "se skinem",
            [this](const std::string& path) { DXImageListGame.Items.LoadWholeFromFile(path); });
    };
    const DataFileProblem problem = load(SkinName);
    if (!problem.Failed()) {
        picturesSkin_ = SkinName;
        return;
    }
    // A damaged skin leaves the pictures there were; with none yet, the standard skin's.
    std::string consequence;
    if (!picturesSkin_.empty()) {
        consequence = "Zůstávají obrázky skinu „" + picturesSkin_ + "“.";
    } else if (SkinName != "new" && !load("new").Failed()) {
        picturesSkin_ = "new";
        consequence = "Místo něj se použijí obrázky skinu „new“.";
    } else {
        consequence = "Hrací plocha zůstane bez obrázků. Zkontrolujte instalaci!";
    }
    ShowMessage("Chyba", MessageIcon::Error, problem.Text(".", consequence));
}

DataFileProblem TfrmMain::TryDataFile(const std::string& relativePath, const std::string& what,
                                      const std::function<void(const std::string& path)>& load) {
    DataFileProblem problem;
    const std::string path = programFolder_ + relativePath;
    const std::string named = " " + what + " „" + relativePath + "“";
    problem.kind = ProbeFile(path);
    if (problem.kind == FileKind::Missing) {
        problem.failure = "Nepodařilo se otevřít soubor" + named;
    } else if (problem.kind != FileKind::Regular) {
        problem.failure =
            "Nepodařilo se otevřít soubor" + named + ": " + FileKindProblem(problem.kind);
    } else {
        try {
            load(path);
        } catch (const std::bad_alloc&) {
            problem.failure = "Soubor" + named + " je poškozený";
            problem.reader = "Chce víc paměti, než je k dispozici.";
        } catch (const std::exception& e) {
            problem.failure = "Soubor" + named + " je poškozený";
            problem.reader = e.what();
        }
    }
    return problem;
}

bool TfrmMain::LoadDataFile(const std::string& relativePath, const std::string& what,
                            const std::function<void(const std::string& path)>& load,
                            const std::string& consequence, const char* end, bool reportMissing) {
    const DataFileProblem problem = TryDataFile(relativePath, what, load);
    if (!problem.Failed()) return true;
    if (reportMissing || problem.kind != FileKind::Missing)
        ShowMessage("Chyba", MessageIcon::Error, problem.Text(end, consequence));
    return false;
}

QImage TfrmMain::MiscPicture(int item) const {
    if (item >= DXImageListMisc.Items.Count()) return {};
    const Picture& p = DXImageListMisc.Items.Items(item).GetPicture();
    if (p.Empty() || p.width <= 0 || p.height <= 0) return {};
    return PixelImage(p.pixels.data(), p.width, p.height).copy();  // the list may reload
}

// --- window size ----------------------------------------------------------------------

int TfrmMain::WindowScale() const {
    return windowScale_;
}

int TfrmMain::LargestWindowScale() const {
    const QScreen* screen = this->screen();
    if (!screen) return 1;
    const QSize area = screen->availableGeometry().size();
    // What the window needs beyond its client area: the menu bar and the frame.
    const QSize client = centralWidget()->size();
    const QSize extra = frameGeometry().size() - client;
    for (int scale = 3; scale > 1; --scale) {
        const QSize needed(layout::ClientWidth(scale) + extra.width(),
                           layout::ClientHeight(scale) + extra.height());
        if (needed.width() <= area.width() && needed.height() <= area.height()) return scale;
    }
    return 1;
}

void TfrmMain::UpdateScaleChoices() {
    const int largest = std::max(LargestWindowScale(), WindowScale());
    for (int scale = 1; scale <= 3; ++scale) mVelikost[scale - 1]->setEnabled(scale <= largest);
}

void TfrmMain::SetWindowScale(int scale) {
    windowScale_ = std::clamp(scale, 1, LargestWindowScale());
    mVelikost[windowScale_ - 1]->setChecked(true);
    // On the whole screen the choice waits for the return to the window.
    if (!fullscreen_) ApplyWindowScale();
}

void TfrmMain::ApplyWindowScale() {
    const int scale = windowScale_;
    drawWidget_->SetScale(scale);
    drawWidget_->move(0, 0);
    // The LED line keeps its size and its place under the middle of the playfield.
    mtrxText->SetScale(1);
    centralWidget()->setFixedSize(layout::ClientWidth(scale), layout::ClientHeight(scale));
    const layout::Point led = layout::LedLineAt(scale);
    mtrxText->move(led.x, led.y);
    adjustSize();
    // Grown where it stood, the window may reach past the screen's edge: back onto it.
    if (const QScreen* screen = this->screen(); screen && isVisible()) {
        const QRect area = screen->availableGeometry();
        QRect frame = frameGeometry();
        frame.moveRight(std::min(frame.right(), area.right()));
        frame.moveBottom(std::min(frame.bottom(), area.bottom()));
        frame.moveLeft(std::max(frame.left(), area.left()));
        frame.moveTop(std::max(frame.top(), area.top()));
        if (frame.topLeft() != frameGeometry().topLeft()) move(frame.topLeft());
    }
}

int FullscreenScale(int screenWidth, int screenHeight) {
    return std::max(
        1, std::min(screenWidth / layout::ClientWidth(1), screenHeight / layout::ClientHeight(1)));
}

void TfrmMain::SetFullscreen(bool on) {
    if (on == fullscreen_) return;
    fullscreen_ = on;
    mCelaObrazovka->setChecked(on);
    leaveFullscreen_->setEnabled(on);
    if (on) {
        const QScreen* screen = this->screen();
        const QSize area = screen ? screen->geometry().size() : QSize(400, 330);
        fullscreenScale_ = FullscreenScale(area.width(), area.height());
        // The whole window, LED line and all, grows; the menu answers to its keys only.
        menuBar()->hide();
        layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        for (QWidget* w : {static_cast<QWidget*>(this), centralWidget()}) {
            w->setMinimumSize(0, 0);
            w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
        drawWidget_->SetScale(fullscreenScale_);
        mtrxText->SetScale(fullscreenScale_);
        windowedPlace_ = pos();
        showFullScreen();
        // An X server without a window manager leaves the state alone: there the window
        // covers the screen itself (a window manager makes it the same size anyway).
        if (OnX11() && screen) setGeometry(screen->geometry());
        PlaceFullscreenContent();
    } else {
        showNormal();
        menuBar()->show();
        layout()->setSizeConstraint(QLayout::SetFixedSize);
        ApplyWindowScale();
        if (OnX11()) move(windowedPlace_);
    }
    SaveSetting(QStringLiteral("window/fullscreen"), on ? 1 : 0);
}

void TfrmMain::PlaceFullscreenContent() {
    // The client area's own layout, enlarged, in the middle of the black screen.
    const int k = fullscreenScale_;
    const QSize area = centralWidget()->size();
    const QPoint origin((area.width() - layout::ClientWidth(1) * k) / 2,
                        (area.height() - layout::ClientHeight(1) * k) / 2);
    drawWidget_->move(origin);
    mtrxText->move(origin + QPoint(layout::kLedLineAt.x * k, layout::kLedLineAt.y * k));
}

void TfrmMain::SaveSetting(const QString& key, int value) const {
    if (options_.SettingsFile.empty()) return;
    QSettings settings(QString::fromStdString(options_.SettingsFile), QSettings::IniFormat);
    settings.setValue(key, value);
}

// --- the frame step -------------------------------------------------------------------

QString TfrmMain::FrameCaption() const {
    if (mFPS->isChecked())
        return kCaption + QLatin1Char(' ') + QString::number(DXTimer->FrameRate()) +
               QStringLiteral(" fps");
    return kCaption;
}

void TfrmMain::DXTimerTimer(int32_t) {
    if (!CanDraw()) return;
    setWindowTitle(FrameCaption());
    frame_.Begin(state_);
    game_.FrameStep([this] {
        DXInput.Update();
        const InputStateSet& s = DXInput.States();
        return SteerKeys{s.Has(isRight), s.Has(isLeft), s.Has(isDown)};
    });
    frame_.Finish(state_, DXImageListGame, DXDraw);
}

// --- GameHost -------------------------------------------------------------------------

void TfrmMain::PlayWave(int index) {
    if (!soundAvailable_ || !mZvuky->isChecked()) return;
    if (index < 0 || index >= DXWaveList.Items.Count()) return;  // a short sound file
    try {
        DXWaveList.Items[index].Play(false);
    } catch (const std::exception&) {
        // A sound the device cannot make stays silent; the game must not stop for it.
    }
}

void TfrmMain::OpenEndOfLevel(uint8_t mode) {
    frmKonecLevelu_->otevri(mode);
}

void TfrmMain::ShowMessage(const std::string& caption, MessageIcon icon, const std::string& text) {
    if (options_.ReportProblem) return options_.ReportProblem(caption + ": " + text);
    QString body = QString::fromStdString(text);
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), body, QMessageBox::Ok,
                    isVisible() ? this : nullptr);
    ExecCentered(box);
}

std::string TfrmMain::AskName() {
    return AskTopListName(this);
}

void TfrmMain::ShowTopList() {
    frmTopList_->exec();
}

void TfrmMain::SetTimerEnabled(bool enabled) {
    DXTimer->SetEnabled(enabled);
}
bool TfrmMain::TimerEnabled() const {
    return DXTimer->Enabled();
}
bool TfrmMain::CanDraw() {
    return DXDraw.CanDraw();
}

void TfrmMain::BlankPlayfield() {
    frame_.Invalidate();
    DXDraw.BackBuffer().Fill(0);
    DXDraw.Flip();
}

void TfrmMain::SetPauseEnabled(bool enabled) {
    mPauza->setEnabled(enabled);
}

// --- menu -----------------------------------------------------------------------------

void TfrmMain::mNovaClick() {
    game_.NewGame();
}

void TfrmMain::mPauzaClick() {
    if (mPauza->isChecked()) {
        mPauza->setChecked(false);
        if (state_.Level > 0) DXTimer->SetEnabled(true);
        setWindowTitle(kCaption);
        mtrxText->SetAutoScroll(true);
    } else {
        mPauza->setChecked(true);
        DXTimer->SetEnabled(false);
        setWindowTitle(kCaption + QStringLiteral(" - PAUZA"));
        mtrxText->SetAutoScroll(false);
    }
}

void TfrmMain::mtrxTextScrollDone() {
    mtrxText->SetText(chatter_.Advance());
    mtrxText->SetAutoScroll(true);
}

void TfrmMain::mTOPListClick() {
    ShowTopList();
}

void TfrmMain::mHudbaClick() {
    if (!MediaPlayer) return;  // the sound has not started yet
    if (mHudba->isChecked()) {
        mHudba->setChecked(false);
        MediaPlayer->Stop();
    } else {
        mHudba->setChecked(true);
        PlayRandomTrack();
    }
}

uint32_t MusicTrackIndex(uint32_t seed, uint32_t count) {
    return DrawRandom(seed, count) & 0xFFu;
}

void TfrmMain::PlayRandomTrack() {
    if (!MediaPlayer) return;
    // A file that cannot be played leaves the round at its first attempt, and the next one
    // is tried at once: never more than one attempt per file.
    while (!musicRound_.empty()) {
        const uint32_t index =
            MusicTrackIndex(seeds_.NextSeed(), static_cast<uint32_t>(musicRound_.size()));
        const std::string name = musicRound_[index];
        const std::string relative = "data/music/" + name;
        MediaPlayer->FileName = programFolder_ + relative;
        try {
            MediaPlayer->Open();
            MediaPlayer->Play();
            currentTrack_ = name;
            break;
        } catch (const MediaFileError&) {
            const FileKind kind = ProbeFile(MediaPlayer->FileName);
            DropTrack(name, kind == FileKind::Regular
                                ? "není platný soubor MIDI."
                                : "nelze otevřít: " + FileKindProblem(kind) + '.');
        } catch (const MediaError& e) {
            // No device or no soundfont: no file is to blame.
            ShowMessage("Chyba", MessageIcon::Error, e.what());
            break;
        }
    }
    ReportDroppedTracks();
}

void TfrmMain::DropTrack(const std::string& name, const std::string& problem) {
    const auto it = std::find(musicRound_.begin(), musicRound_.end(), name);
    if (it == musicRound_.end()) return;
    musicRound_.erase(it);
    musicProblems_.push_back("Soubor s hudbou „data/music/" + name + "“ " + problem);
    if (musicRound_.empty()) {
        mHudba->setChecked(false);
        mHudba->setEnabled(false);
    }
}

void TfrmMain::ReportDroppedTracks() {
    // One box at a time: tracks that fail while it is open are told in the next one.
    if (reportingMusic_ || musicProblems_.empty()) return;
    reportingMusic_ = true;
    while (!musicProblems_.empty()) {
        std::string text;
        for (const std::string& line : musicProblems_) text += line + '\r';
        const bool one = musicProblems_.size() == 1;
        musicProblems_.clear();
        if (musicRound_.empty())
            text += "Jiná hudba nezbyla, hudba se proto vypíná.";
        else
            text += one ? "Hra ho vynechá a hraje dál jinou hudbu."
                        : "Hra je vynechá a hraje dál jinou hudbu.";
        ShowMessage("Upozornění", MessageIcon::Warning, text);
    }
    reportingMusic_ = false;
}

void TfrmMain::MediaPlayerNotify() {
    if (MediaPlayer->Mode() == MediaMode::Stopped && mHudba->isChecked()) {
        // A track that ended before it began would otherwise be followed by the next at
        // once, round and round.
        if (MediaPlayer->FailedToStart()) DropTrack(currentTrack_, "není platný soubor MIDI.");
        PlayRandomTrack();
    }
    MediaPlayer->Notify = true;
}

void TfrmMain::mSkinClick() {
    frmSkin_->exec();
}

void TfrmMain::mLevelyClick() {
    frmLevely_->exec();
}

void TfrmMain::mNapovedaClick() {
    ShowHelp();
}

void TfrmMain::ShowHelp() {
    const std::string path = programFolder_ + "docs/pabuko.html";
    if (FileExists(path)) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
        return;
    }
    ShowMessage("Upozornění", MessageIcon::Warning,
                "Při instalaci hry jste odznačili možnost nainstalování nápovědy.\r\r"
                "Pokud chcete nápovědu zobrazit, musíte ji nejprve nainstalovat\r\r"
                "Spusťte znovu instalátor a tentokrát zaškrtněte součást Nápověda.");
}

void TfrmMain::mOhreClick() {
    mPauzaClick();
    frmAbout_->exec();
    mPauzaClick();
}

void TfrmMain::Novylevel1Click() {
    // Only a running game has a level to win.
    if (state_.Level == 0) return;
    game_.EndLevel(15);  // any code 1-127 wins the level
}

void TfrmMain::Dokoncitslovo1Click() {
    bool ok = false;
    QString answer = QInputDialog::getText(this, QStringLiteral("Level"), QStringLiteral("Level:"),
                                           QLineEdit::Normal, QString(), &ok);
    if (!ok) answer.clear();  // Cancel gives an empty answer
    bool number = false;
    const int n = answer.toInt(&number, 10);
    if (!number) {
        ShowMessage(kCaption.toStdString(), MessageIcon::Error,
                    QStringLiteral("'%1' is not a valid integer value").arg(answer).toStdString());
        return;
    }
    // Levels outside the loaded set do not exist.
    if (n < 0 || n > state_.Levels.LevelCount) return;
    game_.StartLevel(static_cast<uint8_t>(n));
}

// --- closing --------------------------------------------------------------------------

void TfrmMain::closeEvent(QCloseEvent* event) {
    mPauzaClick();
    QMessageBox box(QMessageBox::Question, QStringLiteral("Konec?"),
                    QStringLiteral("Opravdu chcete tuto hru ukončit?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    if (box.exec() != QMessageBox::Yes) {
        event->ignore();
        mPauzaClick();
        return;
    }
    if (state_.Level > 0) OpenEndOfLevel(ModeGameOver);
    topLists_.Save(*this);  // a failed write has been reported; closing goes on
    event->accept();
}

}  // namespace pabuko
