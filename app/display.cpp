#include "app/display.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

namespace {

const char* startingProgram = "burrowkin";
QtMessageHandler usualHandler = nullptr;

void PassOn(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (usualHandler) usualHandler(type, context, message);
    else std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// Qt's own warnings before this one name the display or the plugin; its
// advice to reinstall the program does not help.
void ExitOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) return PassOn(type, context, message);
    SayNoDisplay(startingProgram, "the window system could not be started");
    std::_Exit(1);
}

}  // namespace

void SayNoDisplay(const char* programName, const char* reason)
{
    std::fprintf(stderr,
                 "burrowkin: %s. The game needs a desktop window.\n"
                 "Start it from a graphical session, or try it on a virtual display:\n"
                 "    xvfb-run -a %s\n",
                 reason, programName);
}

QtMessageHandler ExitWithAdviceIfNoWindowSystem(const char* programName)
{
    startingProgram = programName;
    usualHandler = qInstallMessageHandler(ExitOnFatal);
    return usualHandler;
}

bool SomeoneCanAnswerABox()
{
    const QString platform = QGuiApplication::platformName();
    return platform != "offscreen" && platform != "minimal" && platform != "minimalegl";
}

void ReportFatal(const std::string& title, const std::string& text)
{
    std::fprintf(stderr, "burrowkin: %s\n", text.c_str());
    if (SomeoneCanAnswerABox())
        QMessageBox::critical(nullptr, QString::fromStdString(title), QString::fromStdString(text));
}
