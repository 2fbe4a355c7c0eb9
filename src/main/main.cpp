// Hurbo's Pabuko.
#include <SDL.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "main/CzechQt.h"
#include "main/MainWindow.h"

namespace {

// Qt ends the process with abort() when it finds no display; a player starting the game
// from a text console deserves a sentence and an ordinary failure instead.
void NoDisplayHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) return;
    std::fprintf(stderr,
                 "Pabuko: nelze otevřít okno, není k dispozici displej. / "
                 "Cannot open a window: no display is available. (%s)\n",
                 qPrintable(message.section(QLatin1Char('\n'), 0, 0)));
    std::_Exit(1);
}

}  // namespace

int main(int argc, char* argv[]) {
    QtMessageHandler previous = qInstallMessageHandler(NoDisplayHandler);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    QApplication::setApplicationName(QStringLiteral("Hurbo's Pabuko"));
    pabuko::InstallCzechQtTexts(app);
    // SDL after Qt, and without its signal handlers so that Ctrl+C still ends the game.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const bool audio = SDL_Init(SDL_INIT_AUDIO) == 0;

    int result = 0;
    {
        pabuko::TfrmMain window;
        window.show();
        result = QApplication::exec();
    }
    if (audio) SDL_Quit();
    return result;
}
