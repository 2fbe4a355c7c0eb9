// Hurbo's Pabuko.

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "main/CommandLine.h"
#include "main/CzechQt.h"
#include "main/MainWindow.h"
#include "main/StartupTrace.h"
#include "platform/SdlLibrary.h"
#include "platform/SoundDevice.h"
#include "platform/UserFolders.h"

namespace {

// Qt ends the process with abort() when it finds no display; a player starting the game
// from a text console deserves a sentence and an ordinary failure instead.
void NoDisplayHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) return;
    // Qt's own line names the platform; its advice to reinstall the game is beside the point.
    QString detail = message.section(QLatin1Char('\n'), 0, 0);
    if (const qsizetype advice = detail.indexOf(QLatin1String(" Reinstalling")); advice >= 0)
        detail.truncate(advice);
    std::fprintf(stderr,
                 "Pabuko: nelze otevřít okno, není k dispozici displej. / "
                 "Cannot open a window: no display is available. (%s)\n",
                 qPrintable(detail));
    std::_Exit(1);
}

}  // namespace

int main(int argc, char* argv[]) {
    pabuko::StartupMark("main");
    // Answered before Qt looks for a display.
    if (const auto answer = pabuko::AnswerWithoutWindow({argv + std::min(argc, 1), argv + argc})) {
        std::fputs(answer->text.c_str(), stdout);
        return answer->status;
    }
    pabuko::PrepareSoundEnvironment();  // before Qt starts its threads
    QtMessageHandler previous = qInstallMessageHandler(NoDisplayHandler);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    QApplication::setApplicationName(QStringLiteral("Hurbo's Pabuko"));
    pabuko::StartupMark("QApplication");
    pabuko::InstallCzechQtTexts(app);

    QCommandLineParser parser;
    const QCommandLineOption check(
        QStringLiteral("check-installation"),
        QStringLiteral("Start without the About window, print every data file that cannot be "
                       "loaded and quit; the exit status is 1 when there was one."));
    parser.addOption(check);
    parser.process(app);

    int result = 0;
    {
        pabuko::MainWindowOptions options;
        if (const std::string config = pabuko::UserConfigFolder(); !config.empty())
            options.SettingsFile = config + "pabuko.conf";
        bool problems = false;
        if (parser.isSet(check)) {
            options.ShowAboutAtStart = false;
            options.ReportProblem = [&problems](std::string text) {
                // A box's lines break at CR; on the terminal each goes on a line of its own.
                for (size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r', at))
                    text.replace(at, 1, "\n    ");
                std::cerr << "pabuko: " << text << '\n';
                problems = true;
            };
        }
        pabuko::TfrmMain window(options);
        pabuko::StartupMark("main window built");
        window.show();
        QTimer started;
        if (parser.isSet(check)) {
            QObject::connect(&started, &QTimer::timeout, &window, [&window] {
                // Quits without the close question: a check has no game to end.
                if (window.Started()) QCoreApplication::exit(0);
            });
            started.start(20);
        }
        result = QApplication::exec();
        if (problems) result = 1;
    }
    pabuko::QuitSdl();
    return result;
}
