// Hurbo's Pabuko.
#include <SDL.h>

#include <QApplication>

#include "main/MainWindow.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Hurbo's Pabuko"));
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
